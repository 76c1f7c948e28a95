#pragma once
// The default dialplan context: the dialplan for calls the system's own users
// place. A small settings record (feature codes, the local extension pattern
// and the local call timeout; record file dialplan/<domain>.dpd) and the one
// generated context file dialplan/<domain>.xml.
#include <QString>
#include <QStringList>

class TKesFSVarsXML;

class TDialplanDomainXML {
public:
    // The global variables object is kept, not owned; its DefaultCountry
    // names the ring tone of the local extension rule.
    explicit TDialplanDomainXML(TKesFSVarsXML* varsXML);

    TKesFSVarsXML* VarsXML = nullptr;
    // The domain whose dialplan folder the context includes besides default.
    QString Domain;

    QString CallGroupOrder;
    QString CallGroupSimo;
    QString CallPrivacy;
    QString CallReturn;
    int CallTimeout;
    QString ContextName;
    QString AddGroup;
    QString DelGroup;
    QString Echo;
    QString GroupIntercept;
    QString LocalExtension; // a pattern written after a backslash: "d{2,7}" gives \d{2,7}
    QString Redial;
    QString SendToVoicemail;
    QString VMain1;
    QString VMain2;

    QStringList XMLText; // the last generated file

    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;
    void GenerateXML(const QString& fileName);

    // A feature code as a literal inside a regular expression: every
    // character that is not a letter or a digit gets a backslash before it.
    static QString QuoteFeatureCode(const QString& code);
};
