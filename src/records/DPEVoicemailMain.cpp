#include "records/DPEVoicemailMain.h"
#include "records/basicdialplanentry.h"

namespace {
const QString G = QStringLiteral("General");
}

TDPEVoicemailMain::TDPEVoicemailMain() : DialplanEntryType(detVoicemailMain), Name(QStringLiteral("VMMain")) {}

void TDPEVoicemailMain::LoadFromIni(const TIniFile& ini)
{
    DialplanEntryType = ini.ReadInteger(G, QStringLiteral("DialplanEntryType"), DialplanEntryType);
    Name = ini.ReadString(G, QStringLiteral("Name"), Name);
    NumberDialled = ini.ReadString(G, QStringLiteral("NumberDialled"), NumberDialled);
}

void TDPEVoicemailMain::LoadFromFile(const QString& fileName) { LoadFromIni(TIniFile(fileName)); }
