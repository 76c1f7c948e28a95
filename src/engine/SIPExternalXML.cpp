#include "engine/SIPExternalXML.h"
#include "engine/SIPProfileSettings.h"

#include "core/IniFile.h"
#include "core/Store.h"

namespace {
using S = TSIPExternalXML;
using Setting = KxProfile::Setting<S>;

// Record file keys in the order a new external.sex lists them.
const std::vector<Setting>& recordKeys()
{
    static const std::vector<Setting> keys = {
        {"SIPTrace", &S::SIPTrace},
        {"SIPCapture", &S::SIPCapture},
        {"rfc2833pt", &S::rfc2833pt},
        {"SIPPort", &S::SIPPort},
        {"DialPlan", &S::DialPlan},
        {"Context", &S::Context},
        {"DTMFDuration", &S::DTMFDuration},
        {"InboundCodecPrefs", &S::InboundCodecPrefs},
        {"OutboundCodecPrefs", &S::OutboundCodecPrefs},
        {"HoldMusic", &S::HoldMusic},
        {"RTPTimerName", &S::RTPTimerName},
        {"LocalNetworkAcl", &S::LocalNetworkAcl},
        {"ManagePresence", &S::ManagePresence},
        {"InboundCodecNegotiation", &S::InboundCodecNegotiation},
        {"NonceTTL", &S::NonceTTL},
        {"AuthCalls", &S::AuthCalls},
        {"RTPIP", &S::RTPIP},
        {"SIPIP", &S::SIPIP},
        {"ExtRTPIP", &S::ExtRTPIP},
        {"ExtSIPIP", &S::ExtSIPIP},
        {"InboundLateNegotiation", &S::InboundLateNegotiation},
        {"InboundZRTPPassthru", &S::InboundZRTPPassthru},
        {"RTPTimeoutSec", &S::RTPTimeoutSec},
        {"RTPHoldTimeoutSec", &S::RTPHoldTimeoutSec},
        {"TLS", &S::TLS},
        {"TLSOnly", &S::TLSOnly},
        {"TLSBindParams", &S::TLSBindParams},
        {"TLSSIPPort", &S::TLSSIPPort},
        {"TLSCertDir", &S::TLSCertDir},
        {"TLSPassphrase", &S::TLSPassphrase},
        {"TLSVerifyDate", &S::TLSVerifyDate},
        {"TLSVerifyPolicy", &S::TLSVerifyPolicy},
        {"TLSVerifyDepth", &S::TLSVerifyDepth},
        {"TLSVerifyInSubjects", &S::TLSVerifyInSubjects},
        {"TLSVersion", &S::TLSVersion},
    };
    return keys;
}
} // namespace

TSIPExternalXML::TSIPExternalXML()
    : AuthCalls(false),
      Context(QStringLiteral("public")),
      DialPlan(QStringLiteral("XML")),
      DTMFDuration(2000),
      ExtRTPIP(QStringLiteral("auto-nat")),
      ExtSIPIP(QStringLiteral("auto-nat")),
      InboundCodecPrefs(QStringLiteral("$${global_codec_prefs}")),
      HoldMusic(QStringLiteral("$${hold_music}")),
      InboundCodecNegotiation(QStringLiteral("generous")),
      InboundLateNegotiation(true),
      InboundZRTPPassthru(true),
      LocalNetworkAcl(QStringLiteral("localnet.auto")),
      ManagePresence(false),
      NonceTTL(60),
      OutboundCodecPrefs(QStringLiteral("$${outbound_codec_prefs}")),
      rfc2833pt(101),
      RTPHoldTimeoutSec(1800),
      RTPIP(QStringLiteral("$${local_ip_v4}")),
      RTPTimerName(QStringLiteral("soft")),
      RTPTimeoutSec(300),
      SIPCapture(QStringLiteral("no")),
      SIPPort(QStringLiteral("$${external_sip_port}")),
      SIPTrace(QStringLiteral("no")),
      SIPIP(QStringLiteral("$${local_ip_v4}")),
      TLS(QStringLiteral("$${external_ssl_enable}")),
      TLSOnly(false),
      TLSBindParams(QStringLiteral("transport=tls")),
      TLSSIPPort(QStringLiteral("$${external_tls_port}")),
      TLSCertDir(QStringLiteral("$${external_ssl_dir}")),
      TLSVerifyDate(true),
      TLSVerifyPolicy(QStringLiteral("none")),
      TLSVerifyDepth(2),
      TLSVersion(QStringLiteral("$${sip_tls_version}"))
{
}

QString TSIPExternalXML::BoolToText(bool value) { return KxProfile::BoolToText(value); }

void TSIPExternalXML::LoadFromFile(const QString& fileName)
{
    KxProfile::Load(*this, recordKeys(), TIniFile(fileName));
}

void TSIPExternalXML::SaveToFile(const QString& fileName) const
{
    TIniFile ini(fileName);
    KxProfile::Save(*this, recordKeys(), ini);
    ini.UpdateFile();
}

void TSIPExternalXML::GenerateXML(const QString& fileName)
{
    using KxProfile::Param;
    QStringList x;
    x << QStringLiteral("<profile name=\"external\">")
      << QStringLiteral("  <gateways>")
      << QStringLiteral("    <X-PRE-PROCESS cmd=\"include\" data=\"external/*.xml\"/>")
      << QStringLiteral("  </gateways>")
      << QString()
      << QStringLiteral("  <aliases>")
      << QStringLiteral("    <!--")
      << QStringLiteral("      <alias name=\"outbound\"/>")
      << QStringLiteral("      <alias name=\"nat\"/>")
      << QStringLiteral("    -->")
      << QStringLiteral("  </aliases>")
      << QString()
      << QStringLiteral("  <domains>")
      << QStringLiteral("    <domain name=\"all\" alias=\"false\" parse=\"true\"/>")
      << QStringLiteral("  </domains>")
      << QString()
      << QStringLiteral("  <settings>")
      << Param("debug", QStringLiteral("0"))
      << Param("sip-trace", SIPTrace)
      << Param("sip-capture", SIPCapture)
      << Param("rfc2833-pt", rfc2833pt)
      << Param("sip-port", SIPPort)
      << Param("dialplan", DialPlan)
      << Param("context", Context)
      << Param("dtmf-duration", DTMFDuration)
      << Param("inbound-codec-prefs", InboundCodecPrefs)
      << Param("outbound-codec-prefs", OutboundCodecPrefs)
      << Param("hold-music", HoldMusic)
      << Param("rtp-timer-name", RTPTimerName)
      << Param("local-network-acl", LocalNetworkAcl)
      << Param("manage-presence", ManagePresence)
      << Param("inbound-codec-negotiation", InboundCodecNegotiation)
      << Param("nonce-ttl", NonceTTL)
      << Param("auth-calls", AuthCalls)
      << Param("inbound-late-negotiation", InboundLateNegotiation)
      << Param("inbound-zrtp-passthru", InboundZRTPPassthru)
      << Param("rtp-ip", RTPIP)
      << Param("sip-ip", SIPIP)
      << Param("ext-rtp-ip", ExtRTPIP)
      << Param("ext-sip-ip", ExtSIPIP)
      << Param("rtp-timeout-sec", RTPTimeoutSec)
      << Param("rtp-hold-timeout-sec", RTPHoldTimeoutSec)
      << Param("tls", TLS)
      << Param("tls-only", TLSOnly)
      << Param("tls-bind-params", TLSBindParams)
      << Param("tls-sip-port", TLSSIPPort)
      << Param("tls-cert-dir", TLSCertDir)
      << Param("tls-passphrase", TLSPassphrase)
      << Param("tls-verify-date", TLSVerifyDate)
      << Param("tls-verify-policy", TLSVerifyPolicy)
      << Param("tls-verify-depth", TLSVerifyDepth)
      << Param("tls-verify-in-subjects", TLSVerifyInSubjects)
      << Param("tls-version", TLSVersion)
      << QStringLiteral("  </settings>")
      << QStringLiteral("</profile>");
    XMLText = x;
    Store::WriteGeneratedFile(fileName, XMLText);
}
