#include "records/OutboundRoute.h"
#include "core/Store.h"

#include <QFileInfo>

namespace {
const QString G = QStringLiteral("General");
}

void TOutboundRoute::LoadFromIni(const TIniFile& ini)
{
    Id = ini.ReadInteger(G, QStringLiteral("Id"), Id);
    Name = ini.ReadString(G, QStringLiteral("Name"), Name);
    DigitForOutsideLine = ini.ReadString(G, QStringLiteral("DigitForOutsideLine"), DigitForOutsideLine);
    DigitExpression = ini.ReadString(G, QStringLiteral("DigitExpression"), DigitExpression);
    EffectiveCallerIDNumber =
        ini.ReadString(G, QStringLiteral("EffectiveCallerIDNumber"), EffectiveCallerIDNumber);
    GatewayType = ini.ReadInteger(G, QStringLiteral("GatewayType"), GatewayType);
    Trunk = ini.ReadString(G, QStringLiteral("Trunk"), Trunk);
    if (!ini.FileName().isEmpty()) FileName = QFileInfo(ini.FileName()).fileName();
}

void TOutboundRoute::SaveToIni(TIniFile& ini) const
{
    ini.WriteInteger(G, QStringLiteral("Id"), Id);
    ini.WriteString(G, QStringLiteral("Name"), Name);
    ini.WriteString(G, QStringLiteral("DigitForOutsideLine"), DigitForOutsideLine);
    ini.WriteString(G, QStringLiteral("DigitExpression"), DigitExpression);
    ini.WriteString(G, QStringLiteral("EffectiveCallerIDNumber"), EffectiveCallerIDNumber);
    ini.WriteInteger(G, QStringLiteral("GatewayType"), GatewayType);
    ini.WriteString(G, QStringLiteral("Trunk"), Trunk);
}

void TOutboundRoute::LoadFromFile(const QString& fileName)
{
    LoadFromIni(TIniFile(fileName));
}

void TOutboundRoute::SaveToFile(const QString& fileName) const
{
    TIniFile ini(fileName);
    SaveToIni(ini);
    ini.UpdateFile();
}

void TOutboundRoute::GenerateXML(const QString& fileName)
{
    using Store::XmlEscape;
    XMLText = Store::HeaderBlock();
    XMLText << QStringLiteral("<include>")
            << QStringLiteral("  <extension name=\"%1\">").arg(XmlEscape(Name))
            << QStringLiteral("    <condition field=\"destination_number\" expression=\"^%1(%2)$\">")
                   .arg(XmlEscape(DigitForOutsideLine), XmlEscape(DigitExpression));
    if (GatewayType == 2)
        XMLText << QStringLiteral("      <action application=\"set\" data=\"effective_caller_id_number=[%1]\"/>")
                       .arg(XmlEscape(EffectiveCallerIDNumber));
    XMLText << QStringLiteral("      <action application=\"bridge\" data=\"sofia/gateway/%1/$1\"/>")
                   .arg(XmlEscape(Trunk))
            << QStringLiteral("    </condition>") << QStringLiteral("  </extension>")
            << QStringLiteral("</include>");
    Store::WriteGeneratedFile(fileName, XMLText);
}
