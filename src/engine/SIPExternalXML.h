#pragma once
// Placeholder until the engine file is built.
#include <QString>

class TSIPExternalXML {
public:
    TSIPExternalXML() = default;
    void LoadFromFile(const QString&) {}
    void SaveToFile(const QString&) const {}
    void GenerateXML(const QString&) {}
};
