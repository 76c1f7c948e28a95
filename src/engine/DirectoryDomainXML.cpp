#include "engine/DirectoryDomainXML.h"

#include "core/IniFile.h"
#include "core/Store.h"

namespace {
const QString General = QStringLiteral("General");
const QString DomainKey = QStringLiteral("Domain");
}

TDirectoryDomainXML::TDirectoryDomainXML(TKesFSVarsXML* varsXML, const QString& domain)
    : VarsXML(varsXML), Domain(domain)
{
}

void TDirectoryDomainXML::LoadFromFile(const QString& fileName)
{
    const TIniFile ini(fileName);
    Domain = ini.ReadString(General, DomainKey, Domain);
}

void TDirectoryDomainXML::SaveToFile(const QString& fileName) const
{
    TIniFile ini(fileName);
    ini.WriteString(General, DomainKey, Domain);
    ini.UpdateFile();
}

void TDirectoryDomainXML::GenerateXML(const QString& fileName)
{
    const QString d = Store::XmlEscape(Domain);
    QStringList x = Store::HeaderBlock();
    x << QStringLiteral("<include>")
      << QStringLiteral("  <!--the domain or ip (the right hand side of the @ in the addr-->")
      << QStringLiteral("  <domain name=\"%1\">").arg(d)
      << QStringLiteral("    <params>")
      << QStringLiteral("      <param name=\"dial-string\" value=\"{^^:sip_invite_domain=${dialed_domain}:presence_id=${dialed_user}@${dialed_domain}}${sofia_contact(*/${dialed_user}@${dialed_domain})}\"/>")
      << QStringLiteral("      <!-- These are required for Verto to function properly -->")
      << QStringLiteral("      <!-- <param name=\"jsonrpc-allowed-methods\" value=\"verto\"/> -->")
      << QStringLiteral("      <!-- <param name=\"jsonrpc-allowed-event-channels\" value=\"demo,conference,presence\"/> -->")
      << QStringLiteral("    </params>")
      << QString()
      << QStringLiteral("    <variables>")
      << QStringLiteral("      <variable name=\"record_stereo\" value=\"true\"/>")
      << QStringLiteral("      <variable name=\"default_gateway\" value=\"$${default_provider}\"/>")
      << QStringLiteral("      <variable name=\"default_areacode\" value=\"$${default_areacode}\"/>")
      << QStringLiteral("      <variable name=\"transfer_fallback_extension\" value=\"operator\"/>")
      << QStringLiteral("      <variable name=\"user_context\" value=\"%1\"/>").arg(d)
      << QStringLiteral("    </variables>")
      << QString()
      << QStringLiteral("    <groups>")
      << QStringLiteral("      <group name=\"%1\">").arg(d)
      << QStringLiteral("        <users>")
      << QStringLiteral("          <X-PRE-PROCESS cmd=\"include\" data=\"%1/*.xml\"/>").arg(d)
      << QStringLiteral("        </users>")
      << QStringLiteral("      </group>")
      << QStringLiteral("    </groups>")
      << QStringLiteral("  </domain>")
      << QStringLiteral("</include>");
    XMLText = x;
    Store::WriteGeneratedFile(fileName, XMLText);
}
