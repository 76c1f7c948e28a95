#pragma once
// Placeholder until the engine file is built.
#include <QString>
#include "engine/kxVarsXML.h"

class TDirectoryDomainXML {
public:
    TDirectoryDomainXML(TKesFSVarsXML* vars, QString domain) : VarsXML(vars), Domain(std::move(domain)) {}
    TKesFSVarsXML* VarsXML = nullptr;
    QString Domain;
    void LoadFromFile(const QString&) {}
    void SaveToFile(const QString&) const {}
    void GenerateXML(const QString&) {}
};
