#pragma once
// The common head of a dialplan entry of any kind: enough to list it in the
// navigation tree. Entries are stored as 00_<number>.dpe beside their
// generated dialplan file 00_<number>.xml in dialplan/<domain>/.
#include "core/IniFile.h"

#include <QString>

// DialplanEntryType values.
enum TDialplanEntryType {
    detExtensionWithVM = 1,
    detExtensionNoVM = 2,
    detCallGroup = 4,
    detVoicemailMain = 5,
};

class TBasicDialplanEntry {
public:
    TBasicDialplanEntry();

    void LoadFromIni(const TIniFile& ini);
    void LoadFromFile(const QString& fileName);

    // Why a .dpe file cannot be listed, or an empty text when it can. Unlike
    // other records an entry may lack an Id (the call-group and voicemail-main
    // kinds have none): the load gives such entries one.
    static QString RecordFileProblem(const TIniFile& ini);

    // "00_" and the number made file-safe: "*" becomes "Star", "#" "Hash".
    static QString FileBase(const QString& number);

    qint32 Id;
    qint32 NodeKey;
    QString NumberDialled;
    qint32 DialplanEntryType;
    QString Name;
};
