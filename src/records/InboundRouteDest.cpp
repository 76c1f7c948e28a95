#include "records/InboundRouteDest.h"

#include <QFileInfo>

namespace {
const QString G = QStringLiteral("General");
}

QStringList TKXInboundRouteDest::TypeLabels()
{
    return {QStringLiteral("Extension"), QStringLiteral("Group"), QStringLiteral("Mailbox"),
            QStringLiteral("Mobile")};
}

QString TKXInboundRouteDest::TypeLabel(int destinationType)
{
    const QStringList labels = TypeLabels();
    return destinationType >= 1 && destinationType <= labels.size() ? labels[destinationType - 1] : QString();
}

void TKXInboundRouteDest::LoadFromIni(const TIniFile& ini)
{
    Id = ini.ReadInteger(G, QStringLiteral("Id"), Id);
    InboundRouteId = ini.ReadInteger(G, QStringLiteral("InboundRouteId"), InboundRouteId);
    CallTimeout = ini.ReadInteger(G, QStringLiteral("CallTimeout"), CallTimeout);
    DestinationType = ini.ReadInteger(G, QStringLiteral("DestinationType"), DestinationType);
    Destination = ini.ReadString(G, QStringLiteral("Destination"), Destination);
    Name = ini.ReadString(G, QStringLiteral("Name"), Name);
    Position = ini.ReadInteger(G, QStringLiteral("Position"), Position);
    Trunk = ini.ReadString(G, QStringLiteral("Trunk"), Trunk);
    if (!ini.FileName().isEmpty()) SavedName = QFileInfo(ini.FileName()).completeBaseName();
}

void TKXInboundRouteDest::SaveToIni(TIniFile& ini) const
{
    ini.WriteInteger(G, QStringLiteral("Id"), Id);
    ini.WriteInteger(G, QStringLiteral("InboundRouteId"), InboundRouteId);
    ini.WriteInteger(G, QStringLiteral("CallTimeout"), CallTimeout);
    ini.WriteInteger(G, QStringLiteral("DestinationType"), DestinationType);
    ini.WriteString(G, QStringLiteral("Destination"), Destination);
    ini.WriteString(G, QStringLiteral("Name"), Name);
    ini.WriteInteger(G, QStringLiteral("Position"), Position);
    ini.WriteString(G, QStringLiteral("Trunk"), Trunk);
}

void TKXInboundRouteDest::LoadFromFile(const QString& fileName)
{
    LoadFromIni(TIniFile(fileName));
}

void TKXInboundRouteDest::SaveToFile(const QString& fileName) const
{
    TIniFile ini(fileName);
    SaveToIni(ini);
    ini.UpdateFile();
}
