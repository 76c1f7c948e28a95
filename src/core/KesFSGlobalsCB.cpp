#include "core/KesFSGlobalsCB.h"
#include "core/IniFile.h"

namespace {
const QString G = QStringLiteral("General");
}

TKesFSGlobalsCB::TKesFSGlobalsCB() : RingbackCountry(QStringLiteral("uk")) {}

void TKesFSGlobalsCB::LoadFromFile(const QString& path)
{
    const TIniFile ini(path);
    RingbackCountry = ini.ReadString(G, QStringLiteral("RingbackCountry"), RingbackCountry);
    FreeSWITCHConfDir = ini.ReadString(G, QStringLiteral("FreeSWITCHConfDir"), FreeSWITCHConfDir);
}

void TKesFSGlobalsCB::SaveToFile(const QString& path) const
{
    TIniFile ini(path);
    ini.WriteString(G, QStringLiteral("FreeSWITCHConfDir"), FreeSWITCHConfDir);
    ini.WriteString(G, QStringLiteral("RingbackCountry"), RingbackCountry);
    ini.UpdateFile();
}
