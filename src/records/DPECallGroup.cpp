#include "records/DPECallGroup.h"
#include "records/basicdialplanentry.h"

namespace {
const QString G = QStringLiteral("General");
}

TDPECallGroup::TDPECallGroup() : LegTimeout(15), NumberDialled(0), DialplanEntryType(detCallGroup), RingType(0) {}

void TDPECallGroup::LoadFromIni(const TIniFile& ini)
{
    CallGroupToRing = ini.ReadString(G, QStringLiteral("CallGroupToRing"), CallGroupToRing);
    DialplanEntryType = ini.ReadInteger(G, QStringLiteral("DialplanEntryType"), DialplanEntryType);
    LegTimeout = ini.ReadInteger(G, QStringLiteral("LegTimeout"), LegTimeout);
    Name = ini.ReadString(G, QStringLiteral("Name"), Name);
    NumberDialled = ini.ReadInteger(G, QStringLiteral("NumberDialled"), NumberDialled);
    RingType = ini.ReadInteger(G, QStringLiteral("RingType"), RingType);
}

void TDPECallGroup::LoadFromFile(const QString& fileName) { LoadFromIni(TIniFile(fileName)); }
