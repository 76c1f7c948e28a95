#pragma once
// A dialplan entry that rings a call group. Read and shown only.
#include "core/IniFile.h"

#include <QString>
#include <QStringList>

class TDPECallGroup {
public:
    TDPECallGroup();

    void LoadFromIni(const TIniFile& ini);
    void LoadFromFile(const QString& fileName);

    QString CallGroupToRing;
    qint32 LegTimeout;
    QString Name;
    qint32 NumberDialled;
    qint32 DialplanEntryType;
    QStringList XMLText;
    qint32 RingType;
};
