#include "engine/kxVarsXML.h"
#include "core/IniFile.h"
#include "core/KxError.h"
#include "core/Store.h"

#include <array>

QString BoolToText(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

namespace {
const QString G = QStringLiteral("General");

// One setting: its record key (the field's name), the engine variable it sets,
// and the field (exactly one of Str and Bool is set). In file order.
struct TVarDef {
    const char* Key;
    const char* Var;
    QString TKesFSVarsXML::*Str;
    bool TKesFSVarsXML::*Bool;
};

using V = TKesFSVarsXML;
#define KX_STR(field, var) TVarDef{#field, var, &V::field, nullptr}
#define KX_BOOL(field, var) TVarDef{#field, var, nullptr, &V::field}

const std::array<TVarDef, 71> Vars = {{
    KX_STR(DefaultPassword, "default_password"),
    KX_STR(SoundPrefix, "sound_prefix"),
    KX_STR(Domain, "domain"),
    KX_STR(DomainName, "domain_name"),
    KX_STR(HoldMusic, "hold_music"),
    KX_STR(UseProfile, "use_profile"),
    KX_STR(RTPSDESSuites, "rtp_sdes_suites"),
    KX_BOOL(ZRTPSecureMedia, "zrtp_secure_media"),
    KX_STR(GlobalCodecPrefs, "global_codec_prefs"),
    KX_STR(OutboundCodecPrefs, "outbound_codec_prefs"),
    KX_STR(XMPPClientProfile, "xmpp_client_profile"),
    KX_STR(XMPPServerProfile, "xmpp_server_profile"),
    KX_STR(BindServer, "bind_server_ip"),
    KX_STR(ExternalRTPIP, "external_rtp_ip"),
    KX_STR(ExternalSIPIP, "external_sip_ip"),
    KX_BOOL(UnrollLoops, "unroll_loops"),
    KX_STR(OutboundCallerName, "outbound_caller_name"),
    KX_STR(OutboundCallerID, "outbound_caller_id"),
    KX_BOOL(CallDebug, "call_debug"),
    KX_STR(ConsoleLogLevel, "console_loglevel"),
    KX_STR(DefaultAreaCode, "default_areacode"),
    KX_STR(DefaultCountry, "default_country"),
    KX_BOOL(PresencePrivacy, "presence_privacy"),
    KX_STR(BERing, "be-ring"),
    KX_STR(CARing, "ca-ring"),
    KX_STR(CNRing, "cn-ring"),
    KX_STR(CYRing, "cy-ring"),
    KX_STR(CZRing, "cz-ring"),
    KX_STR(DERing, "de-ring"),
    KX_STR(DKRing, "dk-ring"),
    KX_STR(DZRing, "dz-ring"),
    KX_STR(EGRing, "eg-ring"),
    KX_STR(ESRing, "es-ring"),
    KX_STR(FIRing, "fi-ring"),
    KX_STR(FRRing, "fr-ring"),
    KX_STR(HKRing, "hk-ring"),
    KX_STR(HURing, "hu-ring"),
    KX_STR(ILRing, "il-ring"),
    KX_STR(INRing, "in-ring"),
    KX_STR(JPRing, "jp-ring"),
    KX_STR(KORing, "ko-ring"),
    KX_STR(PKRing, "pk-ring"),
    KX_STR(PLRing, "pl-ring"),
    KX_STR(RORing, "ro-ring"),
    KX_STR(RSRing, "rs-ring"),
    KX_STR(RURing, "ru-ring"),
    KX_STR(SARing, "sa-ring"),
    KX_STR(TRRing, "tr-ring"),
    KX_STR(UKRing, "uk-ring"),
    KX_STR(USRing, "us-ring"),
    KX_STR(BongRing, "bong-ring"),
    KX_STR(Beep, "beep"),
    KX_STR(SIT, "sit"),
    KX_STR(DefaultProvider, "default_provider"),
    KX_STR(DefaultProviderUsername, "default_provider_username"),
    KX_STR(DefaultProviderPassword, "default_provider_password"),
    KX_STR(DefaultProviderFromDomain, "default_provider_from_domain"),
    KX_BOOL(DefaultProviderRegister, "default_provider_register"),
    KX_STR(DefaultProviderContact, "default_provider_contact"),
    KX_STR(SIPTLSVersion, "sip_tls_version"),
    KX_STR(SIPTLSCiphers, "sip_tls_ciphers"),
    KX_BOOL(InternalAuthCalls, "internal_auth_calls"),
    KX_STR(InternalSIPPort, "internal_sip_port"),
    KX_STR(InternalTLSPort, "internal_tls_port"),
    KX_BOOL(InternalSSLEnable, "internal_ssl_enable"),
    KX_STR(InternalSSLDir, "internal_ssl_dir"),
    KX_BOOL(ExternalAuthCalls, "external_auth_calls"),
    KX_STR(ExternalSIPPort, "external_sip_port"),
    KX_STR(ExternalTLSPort, "external_tls_port"),
    KX_BOOL(ExternalSSLEnable, "external_ssl_enable"),
    KX_STR(ExternalSSLDir, "external_ssl_dir"),
}};

#undef KX_STR
#undef KX_BOOL

// The engine's pre-processor takes the data attribute up to the next double
// quote without decoding entities, and pastes the value wherever $${name}
// appears -- almost always inside another attribute, which is parsed only
// then. So "&", "<" and '"' are written as entities: they survive the
// pre-processor and decode where the value lands. ">" is legal inside an
// attribute and is part of the stock tone strings (">=2"), so it stays.
QString dataValue(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (QChar c : value) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        default: out += c;
        }
    }
    return out;
}
} // namespace

void TKesFSVarsXML::LoadFromFile(const QString& fileName)
{
    const TIniFile ini(fileName);
    for (const TVarDef& d : Vars) {
        const QString key = QLatin1String(d.Key);
        if (d.Str) this->*d.Str = ini.ReadString(G, key, this->*d.Str);
        else this->*d.Bool = ini.ReadBool(G, key, this->*d.Bool);
    }
}

void TKesFSVarsXML::SaveToFile(const QString& fileName) const
{
    TIniFile ini(fileName);
    for (const TVarDef& d : Vars) {
        const QString key = QLatin1String(d.Key);
        if (d.Str) ini.WriteString(G, key, this->*d.Str);
        else ini.WriteBool(G, key, this->*d.Bool);
    }
    ini.UpdateFile();
}

QStringList TKesFSVarsXML::XMLLines() const
{
    QStringList lines = Store::HeaderBlock();
    lines << QStringLiteral("<include>");
    for (const TVarDef& d : Vars) {
        // The pre-processor reads the file line by line.
        if (d.Str && ((this->*d.Str).contains(u'\n') || (this->*d.Str).contains(u'\r')))
            throw EKXError(QStringLiteral("The value of %1 contains a line break, which vars.xml cannot hold.")
                               .arg(QLatin1String(d.Key)));
        const QString value = d.Str ? dataValue(this->*d.Str) : BoolToText(this->*d.Bool);
        lines << QStringLiteral("  <X-PRE-PROCESS cmd=\"set\" data=\"") + QLatin1String(d.Var) + u'='
                     + value + QStringLiteral("\"/>");
    }
    lines << QStringLiteral("</include>");
    return lines;
}

void TKesFSVarsXML::GenerateXML(const QString& fileName)
{
    XMLText = XMLLines();
    Store::WriteGeneratedFile(fileName, XMLText);
}
