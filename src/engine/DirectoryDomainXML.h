#pragma once
// The directory domain file: names the domain the users belong to, its
// dialling parameters and variables, and takes in every user and call group
// file of the domain's directory folder as the members of one group named
// after the domain. Record file directory/<domain>.ddm, generated file
// directory/<domain>.xml.
#include <QString>
#include <QStringList>

class TKesFSVarsXML;

class TDirectoryDomainXML {
public:
    // The global variables object is kept, not owned and not used.
    TDirectoryDomainXML(TKesFSVarsXML* varsXML, const QString& domain);

    TKesFSVarsXML* VarsXML = nullptr;
    QString Domain;
    QStringList XMLText; // the last generated file

    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;
    void GenerateXML(const QString& fileName);
};
