#pragma once
// Placeholder until the engine file is built.
#include <QString>
#include "engine/kxVarsXML.h"

class TDialplanDomainXML {
public:
    explicit TDialplanDomainXML(TKesFSVarsXML* vars) : VarsXML(vars) {}
    TKesFSVarsXML* VarsXML = nullptr;
    QString Domain;
    void LoadFromFile(const QString&) {}
    void SaveToFile(const QString&) const {}
    void GenerateXML(const QString&) {}
};
