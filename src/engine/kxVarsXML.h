#pragma once
// The engine's global variables: one field per variable, kept in the record
// file vars.vrs and written for the engine as vars.xml (a list of "set"
// pre-processor directives that every other generated file refers to as
// $${name}).
#include <QString>
#include <QStringList>

// The form of every Boolean in generated files.
QString BoolToText(bool value);

class TKesFSVarsXML {
public:
    TKesFSVarsXML() = default;
    ~TKesFSVarsXML() = default;

    // Reads vars.vrs; a missing file or key keeps the current value.
    void LoadFromFile(const QString& fileName);
    // Writes every setting to vars.vrs, keeping other keys the file has.
    void SaveToFile(const QString& fileName) const;
    // Fills XMLText with vars.xml and writes it to fileName.
    void GenerateXML(const QString& fileName);
    QStringList XMLLines() const;

    static QString BoolToText(bool value) { return ::BoolToText(value); }

    QString DefaultPassword = QStringLiteral("5807");
    QString SoundPrefix = QStringLiteral("$${sounds_dir}/en/us/callie");
    QString Domain = QStringLiteral("$${local_ip_v4}");
    QString DomainName = QStringLiteral("$${domain}");
    QString HoldMusic = QStringLiteral("local_stream://moh");
    QString UseProfile = QStringLiteral("internal");
    QString RTPSDESSuites = QStringLiteral(
        "AEAD_AES_256_GCM_8|AEAD_AES_128_GCM_8|AES_CM_256_HMAC_SHA1_80|AES_CM_192_HMAC_SHA1_80|"
        "AES_CM_128_HMAC_SHA1_80|AES_CM_256_HMAC_SHA1_32|AES_CM_192_HMAC_SHA1_32|"
        "AES_CM_128_HMAC_SHA1_32|AES_CM_128_NULL_AUTH");
    bool ZRTPSecureMedia = true;
    QString GlobalCodecPrefs = QStringLiteral("G722,PCMU,PCMA,GSM");
    QString OutboundCodecPrefs = QStringLiteral("PCMU,PCMA,GSM");
    QString XMPPClientProfile = QStringLiteral("xmppc");
    QString XMPPServerProfile = QStringLiteral("xmpps");
    QString BindServer = QStringLiteral("auto");
    QString ExternalRTPIP = QStringLiteral("stun:stun.freeswitch.org");
    QString ExternalSIPIP = QStringLiteral("stun:stun.freeswitch.org");
    bool UnrollLoops = true;
    QString OutboundCallerName = QStringLiteral("FreeSWITCH");
    QString OutboundCallerID = QStringLiteral("0000000000");
    bool CallDebug = false;
    QString ConsoleLogLevel = QStringLiteral("info");
    QString DefaultAreaCode = QStringLiteral("918");
    QString DefaultCountry = QStringLiteral("US");
    bool PresencePrivacy = false;
    QString BERing = QStringLiteral("%(1000,3000,425)");
    QString CARing = QStringLiteral("%(2000,4000,440,480)");
    QString CNRing = QStringLiteral("%(1000,4000,450)");
    QString CYRing = QStringLiteral("%(1500,3000,425)");
    QString CZRing = QStringLiteral("%(1000,4000,425)");
    QString DERing = QStringLiteral("%(1000,4000,425)");
    QString DKRing = QStringLiteral("%(1000,4000,425)");
    QString DZRing = QStringLiteral("%(1500,3500,425)");
    QString EGRing = QStringLiteral("%(2000,1000,475,375)");
    QString ESRing = QStringLiteral("%(1500,3000,425)");
    QString FIRing = QStringLiteral("%(1000,4000,425)");
    QString FRRing = QStringLiteral("%(1500,3500,440)");
    QString HKRing = QStringLiteral("%(400,200,440,480);%(400,3000,440,480)");
    QString HURing = QStringLiteral("%(1250,3750,425)");
    QString ILRing = QStringLiteral("%(1000,3000,400)");
    QString INRing = QStringLiteral("%(400,200,425,375);%(400,2000,425,375)");
    QString JPRing = QStringLiteral("%(1000,2000,420,380)");
    QString KORing = QStringLiteral("%(1000,2000,440,480)");
    QString PKRing = QStringLiteral("%(1000,2000,400)");
    QString PLRing = QStringLiteral("%(1000,4000,425)");
    QString RORing = QStringLiteral("%(1850,4150,475,425)");
    QString RSRing = QStringLiteral("%(1000,4000,425)");
    QString RURing = QStringLiteral("%(800,3200,425)");
    QString SARing = QStringLiteral("%(1200,4600,425)");
    QString TRRing = QStringLiteral("%(2000,4000,450)");
    QString UKRing = QStringLiteral("%(400,200,400,450);%(400,2000,400,450)");
    QString USRing = QStringLiteral("%(2000,4000,440,480)");
    QString BongRing = QStringLiteral("v=-7;%(100,0,941.0,1477.0);v=-7;>=2;+=.1;%(1400,0,350,440)");
    QString Beep = QStringLiteral("%(1000,0,640)");
    QString SIT = QStringLiteral("%(274,0,913.8);%(274,0,1370.6);%(380,0,1776.7)");
    QString DefaultProvider = QStringLiteral("example.com");
    QString DefaultProviderUsername = QStringLiteral("joeuser");
    QString DefaultProviderPassword = QStringLiteral("quandary");
    QString DefaultProviderFromDomain = QStringLiteral("example.com");
    bool DefaultProviderRegister = false;
    QString DefaultProviderContact = QStringLiteral("5000");
    QString SIPTLSVersion = QStringLiteral("tlsv1,tlsv1.1,tlsv1.2");
    QString SIPTLSCiphers = QStringLiteral("ALL:!ADH:!LOW:!EXP:!MD5:@STRENGTH");
    bool InternalAuthCalls = true;
    QString InternalSIPPort = QStringLiteral("5060");
    QString InternalTLSPort = QStringLiteral("5061");
    bool InternalSSLEnable = false;
    QString InternalSSLDir = QStringLiteral("$${base_dir}/conf/ssl");
    bool ExternalAuthCalls = false;
    QString ExternalSIPPort = QStringLiteral("5080");
    QString ExternalTLSPort = QStringLiteral("5081");
    bool ExternalSSLEnable = false;
    QString ExternalSSLDir = QStringLiteral("$${base_dir}/conf/ssl");
    QStringList XMLText;
};
