#pragma once
// A dialplan entry that rings an extension.
#include "core/IniFile.h"

#include <QString>
#include <QStringList>

class TDPEExtensionNoVM {
public:
    TDPEExtensionNoVM();

    void LoadFromIni(const TIniFile& ini);
    void SaveToIni(TIniFile& ini) const;
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;
    // Fills XMLText with the dialplan file and writes it to fileName.
    void GenerateXML(const QString& fileName);

    qint32 Id;
    QStringList XMLText;
    qint32 Call_Timeout;
    qint32 DialplanEntryType;
    qint32 ExtToRing;
    QString Name;
    qint32 NumberDialled;
    QString Ringback;

    // The number under which the entry's files lie, as the database interface
    // read or last wrote them; empty for an entry not yet written. Saving the
    // entry under another number removes the files of this one.
    QString StoredNumber;
};
