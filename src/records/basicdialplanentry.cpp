#include "records/basicdialplanentry.h"

namespace {
const QString G = QStringLiteral("General");
}

TBasicDialplanEntry::TBasicDialplanEntry() : Id(-1), NodeKey(-1), DialplanEntryType(0) {}

void TBasicDialplanEntry::LoadFromIni(const TIniFile& ini)
{
    Id = ini.ReadInteger(G, QStringLiteral("Id"), Id);
    NumberDialled = ini.ReadString(G, QStringLiteral("NumberDialled"), NumberDialled);
    DialplanEntryType = ini.ReadInteger(G, QStringLiteral("DialplanEntryType"), DialplanEntryType);
    Name = ini.ReadString(G, QStringLiteral("Name"), Name);
}

void TBasicDialplanEntry::LoadFromFile(const QString& fileName) { LoadFromIni(TIniFile(fileName)); }

QString TBasicDialplanEntry::RecordFileProblem(const TIniFile& ini)
{
    if (!ini.SectionExists(G)) return QStringLiteral("it has no [General] section");
    int value = 0;
    if (ini.ValueExists(G, QStringLiteral("Id")) && !ini.TryReadInteger(G, QStringLiteral("Id"), value))
        return QStringLiteral("its Id \"%1\" is not a number").arg(ini.ReadString(G, QStringLiteral("Id"), {}));
    if (ini.ReadString(G, QStringLiteral("NumberDialled"), {}).isEmpty())
        return QStringLiteral("it has no NumberDialled");
    if (!ini.TryReadInteger(G, QStringLiteral("DialplanEntryType"), value))
        return QStringLiteral("it has no numeric DialplanEntryType");
    if (value != detExtensionWithVM && value != detExtensionNoVM && value != detCallGroup
        && value != detVoicemailMain)
        return QStringLiteral("its DialplanEntryType %1 is not one of 1, 2, 4 or 5").arg(value);
    return {};
}

QString TBasicDialplanEntry::FileBase(const QString& number)
{
    QString safe = number;
    safe.replace(u'*', QLatin1String("Star"));
    safe.replace(u'#', QLatin1String("Hash"));
    return QStringLiteral("00_") + safe;
}
