#pragma once
// One phone of the installation (one SIP account), known to the telephones by
// its extension number. Stored as <extension>.usr and written for the engine
// as the directory file <extension>.xml, both in directory/<domain>/.
#include "core/IniFile.h"

#include <QString>
#include <QStringList>

class TUser {
public:
    TUser() = default;
    ~TUser() = default;

    // The values of a new user with the given extension.
    void SetDefaults(qint32 ext);

    // Record file: reading keeps the current value of every key that is
    // missing (or, for integers, not a number).
    void LoadFromIni(const TIniFile& ini);
    void SaveToIni(TIniFile& ini) const;
    void LoadFromFile(const QString& path);
    void SaveToFile(const QString& path) const;

    // Fills XMLText with the directory file and writes it to path.
    void GenerateXML(const QString& path);
    QStringList XMLLines() const;

    // The base name of both files: the extension in decimal.
    QString FileBase() const { return QString::number(Extension); }
    // Throws EKXError when the extension cannot name this user's files.
    void CheckFileBase() const;

    qint32 Id = -1;
    qint32 NodeKey = 0;
    qint32 Extension = 0;
    bool Modified = false;
    QString Name;
    QString Password;
    QString VMPassword;
    bool VMEnabled = true;
    QString TollAllowed;
    QString AccountCode;
    QString UserContext;
    QString EffectiveCallerIdName;
    QString EffectiveCallerIdNumber;
    QString OutboundCallerIdName;
    QString OutboundCallerIdNumber;
    QString CallGroup;
    QStringList XMLText;
};
