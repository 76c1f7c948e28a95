#pragma once
// What the two extension kinds of dialplan entry share: their record-file
// keys and their generated dialplan file, which differ only in the line that
// falls through to voicemail.
#include "core/IniFile.h"

#include <QString>
#include <QStringList>

namespace DPEExtensionFile {

// The ring-back country of the engine-side globals (globals.glo in the
// default working directory), read afresh for each generated file.
QString RingbackCountry();

// The lines of the generated file; values inserted into attributes are escaped.
QStringList Lines(const QString& name, int numberDialled, int callTimeout, const QString& country,
                  bool withVoicemail);

template <class T>
void LoadFromIni(T& e, const TIniFile& ini)
{
    const QString g = QStringLiteral("General");
    e.Id = ini.ReadInteger(g, QStringLiteral("Id"), e.Id);
    e.Call_Timeout = ini.ReadInteger(g, QStringLiteral("Call_Timeout"), e.Call_Timeout);
    e.DialplanEntryType = ini.ReadInteger(g, QStringLiteral("DialplanEntryType"), e.DialplanEntryType);
    e.ExtToRing = ini.ReadInteger(g, QStringLiteral("ExtToRing"), e.ExtToRing);
    e.Name = ini.ReadString(g, QStringLiteral("Name"), e.Name);
    e.NumberDialled = ini.ReadInteger(g, QStringLiteral("NumberDialled"), e.NumberDialled);
    e.Ringback = ini.ReadString(g, QStringLiteral("Ringback"), e.Ringback);
}

template <class T>
void SaveToIni(const T& e, TIniFile& ini)
{
    const QString g = QStringLiteral("General");
    ini.WriteInteger(g, QStringLiteral("Id"), e.Id);
    ini.WriteInteger(g, QStringLiteral("Call_Timeout"), e.Call_Timeout);
    ini.WriteInteger(g, QStringLiteral("DialplanEntryType"), e.DialplanEntryType);
    ini.WriteInteger(g, QStringLiteral("ExtToRing"), e.ExtToRing);
    ini.WriteString(g, QStringLiteral("Name"), e.Name);
    ini.WriteInteger(g, QStringLiteral("NumberDialled"), e.NumberDialled);
    ini.WriteString(g, QStringLiteral("Ringback"), e.Ringback);
}

} // namespace DPEExtensionFile
