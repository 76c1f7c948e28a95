#include "engine/SIPInternalXML.h"
#include "engine/SIPProfileSettings.h"

#include "core/IniFile.h"
#include "core/Store.h"

namespace {
using S = TSIPInternalXML;
using Setting = KxProfile::Setting<S>;

// Record file keys in the order a new internal.six lists them.
const std::vector<Setting>& recordKeys()
{
    static const std::vector<Setting> keys = {
        {"Context", &S::Context},
        {"rfc2833pt", &S::rfc2833pt},
        {"SIPPort", &S::SIPPort},
        {"DialPlan", &S::DialPlan},
        {"DTMFDuration", &S::DTMFDuration},
        {"InboundCodecPrefs", &S::InboundCodecPrefs},
        {"OutboundCodecPrefs", &S::OutboundCodecPrefs},
        {"RTPTimerName", &S::RTPTimerName},
        {"RTPIP", &S::RTPIP},
        {"SIPIP", &S::SIPIP},
        {"HoldMusic", &S::HoldMusic},
        {"ApplyNatAcl", &S::ApplyNatAcl},
        {"ApplyInboundAcl", &S::ApplyInboundAcl},
        {"LocalNetworkAcl", &S::LocalNetworkAcl},
        {"LogAuthFailures", &S::LogAuthFailures},
        {"RecordPath", &S::RecordPath},
        {"RecordTemplate", &S::RecordTemplate},
        {"ManagePresence", &S::ManagePresence},
        {"PresenceHosts", &S::PresenceHosts},
        {"PresencePrivacy", &S::PresencePrivacy},
        {"InboundCodecNegotiation", &S::InboundCodecNegotiation},
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
        {"TLSCiphers", &S::TLSCiphers},
        {"InboundLateNegotiation", &S::InboundLateNegotiation},
        {"InboundZRTPPassthru", &S::InboundZRTPPassthru},
        {"NonceTTL", &S::NonceTTL},
        {"AuthCalls", &S::AuthCalls},
        {"InboundRegForceMatchingUsername", &S::InboundRegForceMatchingUsername},
        {"AuthAllPackets", &S::AuthAllPackets},
        {"ExtRTPIP", &S::ExtRTPIP},
        {"ExtSIPIP", &S::ExtSIPIP},
        {"RTPTimeoutSec", &S::RTPTimeoutSec},
        {"RTPHoldTimeoutSec", &S::RTPHoldTimeoutSec},
        {"ForceRegisterDomain", &S::ForceRegisterDomain},
        {"ForceSubscriptionDomain", &S::ForceSubscriptionDomain},
        {"ForceRegisterDbDomain", &S::ForceRegisterDbDomain},
        {"ChallengeRealm", &S::ChallengeRealm},
    };
    return keys;
}
} // namespace

TSIPInternalXML::TSIPInternalXML()
    : Context(QStringLiteral("public")),
      rfc2833pt(101),
      SIPPort(QStringLiteral("$${internal_sip_port}")),
      DialPlan(QStringLiteral("XML")),
      DTMFDuration(2000),
      InboundCodecPrefs(QStringLiteral("$${global_codec_prefs}")),
      OutboundCodecPrefs(QStringLiteral("$${global_codec_prefs}")),
      LogAuthFailures(true),
      RTPTimerName(QStringLiteral("soft")),
      RTPIP(QStringLiteral("$${local_ip_v4}")),
      SIPIP(QStringLiteral("$${local_ip_v4}")),
      HoldMusic(QStringLiteral("$${hold_music}")),
      ApplyNatAcl(QStringLiteral("nat.auto")),
      ApplyInboundAcl(QStringLiteral("domains")),
      LocalNetworkAcl(QStringLiteral("localnet.auto")),
      RecordPath(QStringLiteral("$${recordings_dir}")),
      RecordTemplate(QStringLiteral("${caller_id_number}.${target_domain}.${strftime(%Y-%m-%d-%H-%M-%S)}.wav")),
      ManagePresence(true),
      PresenceHosts(QStringLiteral("$${domain},$${local_ip_v4}")),
      PresencePrivacy(QStringLiteral("$${presence_privacy}")),
      InboundCodecNegotiation(QStringLiteral("generous")),
      TLS(QStringLiteral("$${internal_ssl_enable}")),
      TLSOnly(false),
      TLSBindParams(QStringLiteral("transport=tls")),
      TLSSIPPort(QStringLiteral("$${internal_tls_port}")),
      TLSCertDir(QStringLiteral("$${internal_ssl_dir}")),
      TLSVerifyDate(true),
      TLSVerifyPolicy(QStringLiteral("none")),
      TLSVerifyDepth(2),
      TLSVersion(QStringLiteral("$${sip_tls_version}")),
      TLSCiphers(QStringLiteral("$${sip_tls_ciphers}")),
      InboundLateNegotiation(true),
      InboundZRTPPassthru(true),
      NonceTTL(60),
      AuthCalls(QStringLiteral("$${internal_auth_calls}")),
      InboundRegForceMatchingUsername(true),
      AuthAllPackets(false),
      ExtRTPIP(QStringLiteral("auto-nat")),
      ExtSIPIP(QStringLiteral("auto-nat")),
      RTPTimeoutSec(300),
      RTPHoldTimeoutSec(1800),
      ForceRegisterDomain(QStringLiteral("$${domain}")),
      ForceSubscriptionDomain(QStringLiteral("$${domain}")),
      ForceRegisterDbDomain(QStringLiteral("$${domain}")),
      ChallengeRealm(QStringLiteral("auto_from"))
{
}

QString TSIPInternalXML::BoolToText(bool value) { return KxProfile::BoolToText(value); }

void TSIPInternalXML::LoadFromFile(const QString& fileName)
{
    KxProfile::Load(*this, recordKeys(), TIniFile(fileName));
}

void TSIPInternalXML::SaveToFile(const QString& fileName) const
{
    TIniFile ini(fileName);
    KxProfile::Save(*this, recordKeys(), ini);
    ini.UpdateFile();
}

void TSIPInternalXML::GenerateXML(const QString& fileName)
{
    using KxProfile::Param;
    QStringList x;
    x << QStringLiteral("<profile name=\"internal\">")
      << QStringLiteral("  <aliases>")
      << QStringLiteral("    <!--")
      << QStringLiteral("        <alias name=\"default\"/>")
      << QStringLiteral("    -->")
      << QStringLiteral("  </aliases>")
      << QStringLiteral("  <!-- Outbound Registrations -->")
      << QStringLiteral("  <gateways>")
      << QStringLiteral("    <X-PRE-PROCESS cmd=\"include\" data=\"internal/*.xml\"/>")
      << QStringLiteral("  </gateways>")
      << QString()
      << QStringLiteral("  <domains>")
      << QStringLiteral("    <domain name=\"all\" alias=\"true\" parse=\"false\"/>")
      << QStringLiteral("  </domains>")
      << QString()
      << QStringLiteral("  <settings>")
      << QString()
      << Param("debug", QStringLiteral("0"))
      << Param("sip-trace", QStringLiteral("no"))
      << Param("sip-capture", QStringLiteral("no"))
      << Param("watchdog-enabled", QStringLiteral("no"))
      << Param("watchdog-step-timeout", QStringLiteral("30000"))
      << Param("watchdog-event-timeout", QStringLiteral("30000"))
      << QString()
      << Param("log-auth-failures", LogAuthFailures)
      << Param("forward-unsolicited-mwi-notify", QStringLiteral("false"))
      << QString()
      << Param("context", Context)
      << Param("rfc2833-pt", rfc2833pt)
      << QStringLiteral("    <!-- port to bind to for sip traffic -->")
      << Param("sip-port", SIPPort)
      << Param("dialplan", DialPlan)
      << Param("dtmf-duration", DTMFDuration)
      << Param("inbound-codec-prefs", InboundCodecPrefs)
      << Param("outbound-codec-prefs", OutboundCodecPrefs)
      << Param("rtp-timer-name", RTPTimerName)
      << QStringLiteral("    <!-- ip address to use for rtp, DO NOT USE HOSTNAMES ONLY IP ADDRESSES -->")
      << Param("rtp-ip", RTPIP)
      << QStringLiteral("    <!-- ip address to bind to, DO NOT USE HOSTNAMES ONLY IP ADDRESSES -->")
      << Param("sip-ip", SIPIP)
      << Param("hold-music", HoldMusic)
      << Param("apply-nat-acl", ApplyNatAcl)
      << Param("apply-inbound-acl", ApplyInboundAcl)
      << Param("local-network-acl", LocalNetworkAcl)
      << Param("record-path", RecordPath)
      << Param("record-template", RecordTemplate)
      << QStringLiteral("    <!--enable to use presence -->")
      << Param("manage-presence", ManagePresence)
      << Param("presence-hosts", PresenceHosts)
      << Param("presence-privacy", PresencePrivacy)
      << QStringLiteral("    <!--set to \"greedy\" if you want your codec list to take precedence -->")
      << Param("inbound-codec-negotiation", InboundCodecNegotiation)
      << QStringLiteral("    <!-- TLS: disabled by default, set to \"true\" to enable -->")
      << Param("tls", TLS)
      << QStringLiteral("    <!-- Set to true to not bind on the normal sip-port but only on the TLS port -->")
      << Param("tls-only", TLSOnly)
      << QStringLiteral("    <!-- additional bind parameters for TLS -->")
      << Param("tls-bind-params", TLSBindParams)
      << QStringLiteral("    <!-- Port to listen on for TLS requests. (5061 will be used if unspecified) -->")
      << Param("tls-sip-port", TLSSIPPort)
      << QStringLiteral("    <!-- Location of the agent.pem and cafile.pem ssl certificates (needed for TLS server) -->")
      << Param("tls-cert-dir", TLSCertDir)
      << QStringLiteral("    <!-- Optionally set the passphrase password used by openSSL to encrypt/decrypt TLS private key files -->")
      << Param("tls-passphrase", TLSPassphrase)
      << QStringLiteral("    <!-- Verify the date on TLS certificates -->")
      << Param("tls-verify-date", TLSVerifyDate)
      << Param("tls-verify-policy", TLSVerifyPolicy)
      << Param("tls-verify-depth", TLSVerifyDepth)
      << Param("tls-verify-in-subjects", TLSVerifyInSubjects)
      << Param("tls-version", TLSVersion)
      << Param("tls-ciphers", TLSCiphers)
      << Param("inbound-late-negotiation", InboundLateNegotiation)
      << Param("inbound-zrtp-passthru", InboundZRTPPassthru)
      << Param("nonce-ttl", NonceTTL)
      << Param("auth-calls", AuthCalls)
      << Param("inbound-reg-force-matching-username", InboundRegForceMatchingUsername)
      << Param("auth-all-packets", AuthAllPackets)
      << Param("ext-rtp-ip", ExtRTPIP)
      << Param("ext-sip-ip", ExtSIPIP)
      << Param("rtp-timeout-sec", RTPTimeoutSec)
      << Param("rtp-hold-timeout-sec", RTPHoldTimeoutSec)
      << Param("force-register-domain", ForceRegisterDomain)
      << Param("force-subscription-domain", ForceSubscriptionDomain)
      << Param("force-register-db-domain", ForceRegisterDbDomain)
      << Param("challenge-realm", ChallengeRealm)
      << QStringLiteral("  </settings>")
      << QStringLiteral("</profile>");
    XMLText = x;
    Store::WriteGeneratedFile(fileName, XMLText);
}
