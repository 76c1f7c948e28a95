#include "core/KXGlobalsCB.h"
#include "core/IniFile.h"
#include "core/Store.h"

#include <algorithm>

namespace {
const QString G = QStringLiteral("General");
const QString I = QStringLiteral("Ids");
}

TKXGlobalsCB::TKXGlobalsCB()
    : RingbackCountry(QStringLiteral("uk")), LastCallGroupId(0), LastGatewayId(0), LastUserId(0),
      LastInboundRouteId(0), LastInboundRouteDestId(0)
{
}

QString TKXGlobalsCB::FilePath() { return Store::AppConfigDir() + QStringLiteral("globals.glo"); }

void TKXGlobalsCB::LoadFromFile()
{
    Store::EnsureDir(Store::AppConfigDir());
    const TIniFile ini(FilePath());
    RingbackCountry = ini.ReadString(G, QStringLiteral("RingbackCountry"), RingbackCountry);
    FreeSWITCHConfDir = ini.ReadString(G, QStringLiteral("FreeSWITCHConfDir"), FreeSWITCHConfDir);
    LastCallGroupId = ini.ReadInteger(I, QStringLiteral("LastCallGroupId"), LastCallGroupId);
    LastGatewayId = ini.ReadInteger(I, QStringLiteral("LastGatewayId"), LastGatewayId);
    LastInboundRouteId = ini.ReadInteger(I, QStringLiteral("LastInboundRouteId"), LastInboundRouteId);
    LastInboundRouteDestId =
        ini.ReadInteger(I, QStringLiteral("LastInboundRouteDestId"), LastInboundRouteDestId);
    LastUserId = ini.ReadInteger(I, QStringLiteral("LastUserId"), LastUserId);
}

void TKXGlobalsCB::SaveToFile() const
{
    Store::EnsureDir(Store::AppConfigDir());
    TIniFile ini(FilePath());
    ini.WriteString(G, QStringLiteral("FreeSWITCHConfDir"), FreeSWITCHConfDir);
    ini.WriteString(G, QStringLiteral("RingbackCountry"), RingbackCountry);
    ini.WriteInteger(I, QStringLiteral("LastCallGroupId"), LastCallGroupId);
    ini.WriteInteger(I, QStringLiteral("LastGatewayId"), LastGatewayId);
    ini.WriteInteger(I, QStringLiteral("LastInboundRouteId"), LastInboundRouteId);
    ini.WriteInteger(I, QStringLiteral("LastInboundRouteDestId"), LastInboundRouteDestId);
    ini.WriteInteger(I, QStringLiteral("LastUserId"), LastUserId);
    ini.UpdateFile();
}

int TKXGlobalsCB::TakeNextId(TIdCounter counter, int largestLoadedId)
{
    TKXGlobalsCB cb;
    cb.LoadFromFile();
    int* field = nullptr;
    switch (counter) {
    case TIdCounter::CallGroup: field = &cb.LastCallGroupId; break;
    case TIdCounter::Gateway: field = &cb.LastGatewayId; break;
    case TIdCounter::User: field = &cb.LastUserId; break;
    case TIdCounter::InboundRoute: field = &cb.LastInboundRouteId; break;
    case TIdCounter::InboundRouteDest: field = &cb.LastInboundRouteDestId; break;
    }
    *field = std::max(*field, largestLoadedId) + 1;
    cb.SaveToFile();
    return *field;
}
