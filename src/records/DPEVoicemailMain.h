#pragma once
// A dialplan entry that reaches the voicemail main menu. Read and shown only.
#include "core/IniFile.h"

#include <QString>
#include <QStringList>

class TDPEVoicemailMain {
public:
    TDPEVoicemailMain();

    void LoadFromIni(const TIniFile& ini);
    void LoadFromFile(const QString& fileName);

    QStringList XMLText;
    qint32 DialplanEntryType;
    QString Name;
    QString NumberDialled;
};
