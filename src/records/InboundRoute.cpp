#include "records/InboundRoute.h"
#include "core/Store.h"

#include <QFileInfo>

namespace {
const QString G = QStringLiteral("General");
}

void TInboundRoute::Reset()
{
    Context = QStringLiteral("Default");
    Name = QStringLiteral("My Inbound Route");
    FileName.clear();
    Transfer.clear();
    Domain = QStringLiteral("$${domain}");
}

void TInboundRoute::Assign(const TInboundRoute& source)
{
    Id = source.Id;
    NodeKey = source.NodeKey;
    Modified = source.Modified;
    CallTimeout = source.CallTimeout;
    Context = source.Context;
    Name = source.Name;
    FileName = source.FileName;
    DestinationNumber = source.DestinationNumber;
    Domain = source.Domain;
    Transfer = source.Transfer;
    DestinationType = source.DestinationType;
    Destinations.Clear();
    for (const auto& step : source.Destinations) Destinations.AddCopy(*step);
}

void TInboundRoute::LoadFromIni(const TIniFile& ini)
{
    Id = ini.ReadInteger(G, QStringLiteral("Id"), Id);
    CallTimeout = ini.ReadInteger(G, QStringLiteral("CallTimeout"), CallTimeout);
    Context = ini.ReadString(G, QStringLiteral("Context"), Context);
    FileName = ini.ReadString(G, QStringLiteral("FileName"), FileName);
    DestinationNumber = ini.ReadString(G, QStringLiteral("DestinationNumber"), DestinationNumber);
    DestinationType = ini.ReadInteger(G, QStringLiteral("DestinationType"), DestinationType);
    Domain = ini.ReadString(G, QStringLiteral("Domain"), Domain);
    Name = ini.ReadString(G, QStringLiteral("Name"), Name);
    Transfer = ini.ReadString(G, QStringLiteral("Transfer"), Transfer);
    // The file actually read, whatever name it records.
    if (!ini.FileName().isEmpty()) FileName = QFileInfo(ini.FileName()).fileName();
}

void TInboundRoute::SaveToIni(TIniFile& ini) const
{
    ini.WriteInteger(G, QStringLiteral("Id"), Id);
    ini.WriteInteger(G, QStringLiteral("CallTimeout"), CallTimeout);
    ini.WriteString(G, QStringLiteral("Context"), Context);
    ini.WriteString(G, QStringLiteral("FileName"), FileName);
    ini.WriteString(G, QStringLiteral("DestinationNumber"), DestinationNumber);
    ini.WriteInteger(G, QStringLiteral("DestinationType"), DestinationType);
    ini.WriteString(G, QStringLiteral("Domain"), Domain);
    ini.WriteString(G, QStringLiteral("Name"), Name);
    ini.WriteString(G, QStringLiteral("Transfer"), Transfer);
}

void TInboundRoute::LoadFromFile(const QString& fileName)
{
    LoadFromIni(TIniFile(fileName));
}

void TInboundRoute::SaveToFile(const QString& fileName) const
{
    TIniFile ini(fileName);
    SaveToIni(ini);
    ini.UpdateFile();
}

void TInboundRoute::GenerateXML(const QString& fileName)
{
    using Store::XmlEscape;
    const auto action = [](const QString& application, const QString& data) {
        return QStringLiteral("      <action application=\"%1\" data=\"%2\"/>").arg(application, data);
    };
    XMLText = Store::HeaderBlock();
    XMLText << QStringLiteral("<include>")
            << QStringLiteral("  <extension name=\"%1\">").arg(XmlEscape(Name))
            << QStringLiteral("    <condition field=\"destination_number\" expression=\"^(%1)$\">")
                   .arg(XmlEscape(DestinationNumber))
            << action(QStringLiteral("set"), QStringLiteral("domain_name=") + XmlEscape(Domain))
            << action(QStringLiteral("set"), QStringLiteral("continue_on_fail=true"))
            << action(QStringLiteral("set"), QStringLiteral("hangup_after_bridge=true"));
    for (const auto& step : Destinations) {
        const QString dest = XmlEscape(step->Destination);
        XMLText << action(QStringLiteral("set"), QStringLiteral("call_timeout=") + QString::number(step->CallTimeout));
        switch (step->DestinationType) {
        case irdExtension:
            XMLText << action(QStringLiteral("transfer"), dest + QStringLiteral(" XML ") + XmlEscape(Context));
            break;
        case irdGroup:
            XMLText << action(QStringLiteral("bridge"), QStringLiteral("group/") + dest + QStringLiteral("@${domain_name}"));
            break;
        case irdMailbox:
            XMLText << QStringLiteral("      <action application=\"answer\"/>")
                    << action(QStringLiteral("voicemail"), QStringLiteral(" default ${domain_name} ") + dest);
            break;
        case irdMobile:
            // Out through the trunk chosen for the step; without one the step
            // only sets its timeout.
            if (!step->Trunk.isEmpty())
                XMLText << action(QStringLiteral("bridge"), QStringLiteral("sofia/gateway/") + XmlEscape(step->Trunk)
                                                                + u'/' + dest);
            break;
        default:
            break;
        }
    }
    XMLText << QStringLiteral("    </condition>") << QStringLiteral("  </extension>") << QStringLiteral("</include>");
    Store::WriteGeneratedFile(fileName, XMLText);
}
