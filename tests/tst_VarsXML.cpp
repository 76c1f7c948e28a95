// The global variables: vars.vrs and vars.xml.
#include "KxTest.h"

#include "core/IniFile.h"
#include "core/KxError.h"
#include "core/Store.h"
#include "engine/kxVarsXML.h"

namespace {

struct TVar {
    const char* Key;
    const char* Var;
    const char* Default; // as written into vars.xml
};

// Every setting in file order: record key, engine variable, default text.
const TVar Vars[] = {
    {"DefaultPassword", "default_password", "5807"},
    {"SoundPrefix", "sound_prefix", "$${sounds_dir}/en/us/callie"},
    {"Domain", "domain", "$${local_ip_v4}"},
    {"DomainName", "domain_name", "$${domain}"},
    {"HoldMusic", "hold_music", "local_stream://moh"},
    {"UseProfile", "use_profile", "internal"},
    {"RTPSDESSuites", "rtp_sdes_suites",
     "AEAD_AES_256_GCM_8|AEAD_AES_128_GCM_8|AES_CM_256_HMAC_SHA1_80|AES_CM_192_HMAC_SHA1_80|"
     "AES_CM_128_HMAC_SHA1_80|AES_CM_256_HMAC_SHA1_32|AES_CM_192_HMAC_SHA1_32|AES_CM_128_HMAC_SHA1_32|"
     "AES_CM_128_NULL_AUTH"},
    {"ZRTPSecureMedia", "zrtp_secure_media", "true"},
    {"GlobalCodecPrefs", "global_codec_prefs", "G722,PCMU,PCMA,GSM"},
    {"OutboundCodecPrefs", "outbound_codec_prefs", "PCMU,PCMA,GSM"},
    {"XMPPClientProfile", "xmpp_client_profile", "xmppc"},
    {"XMPPServerProfile", "xmpp_server_profile", "xmpps"},
    {"BindServer", "bind_server_ip", "auto"},
    {"ExternalRTPIP", "external_rtp_ip", "stun:stun.freeswitch.org"},
    {"ExternalSIPIP", "external_sip_ip", "stun:stun.freeswitch.org"},
    {"UnrollLoops", "unroll_loops", "true"},
    {"OutboundCallerName", "outbound_caller_name", "FreeSWITCH"},
    {"OutboundCallerID", "outbound_caller_id", "0000000000"},
    {"CallDebug", "call_debug", "false"},
    {"ConsoleLogLevel", "console_loglevel", "info"},
    {"DefaultAreaCode", "default_areacode", "918"},
    {"DefaultCountry", "default_country", "US"},
    {"PresencePrivacy", "presence_privacy", "false"},
    {"BERing", "be-ring", "%(1000,3000,425)"},
    {"CARing", "ca-ring", "%(2000,4000,440,480)"},
    {"CNRing", "cn-ring", "%(1000,4000,450)"},
    {"CYRing", "cy-ring", "%(1500,3000,425)"},
    {"CZRing", "cz-ring", "%(1000,4000,425)"},
    {"DERing", "de-ring", "%(1000,4000,425)"},
    {"DKRing", "dk-ring", "%(1000,4000,425)"},
    {"DZRing", "dz-ring", "%(1500,3500,425)"},
    {"EGRing", "eg-ring", "%(2000,1000,475,375)"},
    {"ESRing", "es-ring", "%(1500,3000,425)"},
    {"FIRing", "fi-ring", "%(1000,4000,425)"},
    {"FRRing", "fr-ring", "%(1500,3500,440)"},
    {"HKRing", "hk-ring", "%(400,200,440,480);%(400,3000,440,480)"},
    {"HURing", "hu-ring", "%(1250,3750,425)"},
    {"ILRing", "il-ring", "%(1000,3000,400)"},
    {"INRing", "in-ring", "%(400,200,425,375);%(400,2000,425,375)"},
    {"JPRing", "jp-ring", "%(1000,2000,420,380)"},
    {"KORing", "ko-ring", "%(1000,2000,440,480)"},
    {"PKRing", "pk-ring", "%(1000,2000,400)"},
    {"PLRing", "pl-ring", "%(1000,4000,425)"},
    {"RORing", "ro-ring", "%(1850,4150,475,425)"},
    {"RSRing", "rs-ring", "%(1000,4000,425)"},
    {"RURing", "ru-ring", "%(800,3200,425)"},
    {"SARing", "sa-ring", "%(1200,4600,425)"},
    {"TRRing", "tr-ring", "%(2000,4000,450)"},
    {"UKRing", "uk-ring", "%(400,200,400,450);%(400,2000,400,450)"},
    {"USRing", "us-ring", "%(2000,4000,440,480)"},
    {"BongRing", "bong-ring", "v=-7;%(100,0,941.0,1477.0);v=-7;>=2;+=.1;%(1400,0,350,440)"},
    {"Beep", "beep", "%(1000,0,640)"},
    {"SIT", "sit", "%(274,0,913.8);%(274,0,1370.6);%(380,0,1776.7)"},
    {"DefaultProvider", "default_provider", "example.com"},
    {"DefaultProviderUsername", "default_provider_username", "joeuser"},
    {"DefaultProviderPassword", "default_provider_password", "quandary"},
    {"DefaultProviderFromDomain", "default_provider_from_domain", "example.com"},
    {"DefaultProviderRegister", "default_provider_register", "false"},
    {"DefaultProviderContact", "default_provider_contact", "5000"},
    {"SIPTLSVersion", "sip_tls_version", "tlsv1,tlsv1.1,tlsv1.2"},
    {"SIPTLSCiphers", "sip_tls_ciphers", "ALL:!ADH:!LOW:!EXP:!MD5:@STRENGTH"},
    {"InternalAuthCalls", "internal_auth_calls", "true"},
    {"InternalSIPPort", "internal_sip_port", "5060"},
    {"InternalTLSPort", "internal_tls_port", "5061"},
    {"InternalSSLEnable", "internal_ssl_enable", "false"},
    {"InternalSSLDir", "internal_ssl_dir", "$${base_dir}/conf/ssl"},
    {"ExternalAuthCalls", "external_auth_calls", "false"},
    {"ExternalSIPPort", "external_sip_port", "5080"},
    {"ExternalTLSPort", "external_tls_port", "5081"},
    {"ExternalSSLEnable", "external_ssl_enable", "false"},
    {"ExternalSSLDir", "external_ssl_dir", "$${base_dir}/conf/ssl"},
};
constexpr int VarCount = int(sizeof(Vars) / sizeof(Vars[0]));

QString setLine(const char* var, const QString& value)
{
    return QStringLiteral("  <X-PRE-PROCESS cmd=\"set\" data=\"") + QLatin1String(var) + u'=' + value
           + QStringLiteral("\"/>");
}

QStringList expectedXml()
{
    QStringList lines = {
        QStringLiteral("<!--"),
        QStringLiteral("  This XML file was automatically generated by Kestrix v0.99.3 ALPHA"),
        QStringLiteral("  Please note that this file will be overwritten by Kestrix each time it is run"),
        QStringLiteral("  and should therefore, not be edited manually."),
        QString(),
        Store::HeaderBlock().at(5), // the maker's address line
        QStringLiteral("-->"),
        QString(),
        QStringLiteral("<include>"),
    };
    for (const TVar& v : Vars) lines << setLine(v.Var, QString::fromUtf8(v.Default));
    lines << QStringLiteral("</include>");
    return lines;
}

bool isBoolText(const char* text) { return qstrcmp(text, "true") == 0 || qstrcmp(text, "false") == 0; }

const int FirstSetLine = 9; // index of the first setting line

} // namespace

class TestVarsXML : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void boolToText()
    {
        QCOMPARE(BoolToText(true), QStringLiteral("true"));
        QCOMPARE(TKesFSVarsXML::BoolToText(false), QStringLiteral("false"));
    }

    void defaultsGive81Lines()
    {
        QCOMPARE(VarCount, 71);
        TKesFSVarsXML vars;
        vars.LoadFromFile(path(QStringLiteral("absent/vars.vrs"))); // no file: defaults stay
        vars.GenerateXML(path(QStringLiteral("vars.xml")));
        const QStringList expected = expectedXml();
        QCOMPARE(expected.size(), 81);
        QCOMPARE(expected.at(FirstSetLine + 2),
                 QStringLiteral("  <X-PRE-PROCESS cmd=\"set\" data=\"domain=$${local_ip_v4}\"/>"));
        QCOMPARE(expected.at(FirstSetLine + 7),
                 QStringLiteral("  <X-PRE-PROCESS cmd=\"set\" data=\"zrtp_secure_media=true\"/>"));
        KxTest::CompareLines(KxTest::ReadBytes(path(QStringLiteral("vars.xml"))), expected);
        QCOMPARE(vars.XMLText, expected);
    }

    void changedBoolean()
    {
        TKesFSVarsXML vars;
        vars.ZRTPSecureMedia = false;
        vars.GenerateXML(path(QStringLiteral("vars.xml")));
        QStringList expected = expectedXml();
        expected[FirstSetLine + 7] = QStringLiteral("  <X-PRE-PROCESS cmd=\"set\" data=\"zrtp_secure_media=false\"/>");
        KxTest::CompareLines(KxTest::ReadBytes(path(QStringLiteral("vars.xml"))), expected);
    }

    void recordFileKeyOrderAndStableSaves()
    {
        const QString vrs = path(QStringLiteral("order/vars.vrs"));
        TKesFSVarsXML vars;
        vars.SaveToFile(vrs);
        QStringList expected = {QStringLiteral("[General]")};
        for (const TVar& v : Vars) {
            QString value = QString::fromUtf8(v.Default);
            if (isBoolText(v.Default)) value = value == u"true" ? QStringLiteral("1") : QStringLiteral("0");
            expected << QLatin1String(v.Key) + u'=' + value;
        }
        const QByteArray first = KxTest::ReadBytes(vrs);
        KxTest::CompareLines(first, expected);

        vars.GenerateXML(path(QStringLiteral("order/vars.xml")));
        const QByteArray firstXml = KxTest::ReadBytes(path(QStringLiteral("order/vars.xml")));
        vars.SaveToFile(vrs);
        vars.GenerateXML(path(QStringLiteral("order/vars.xml")));
        QCOMPARE(KxTest::ReadBytes(vrs), first);
        QCOMPARE(KxTest::ReadBytes(path(QStringLiteral("order/vars.xml"))), firstXml);
    }

    void roundTripKeepsForeignKeys()
    {
        const QString vrs = path(QStringLiteral("trip/vars.vrs"));
        KxTest::WriteBytes(vrs, "[General]\r\nMyNote=kept\r\n");
        TKesFSVarsXML vars;
        vars.DefaultPassword = QStringLiteral("Secr3t");
        vars.UKRing = QStringLiteral("%(1,2,3)");
        vars.CallDebug = true;
        vars.InternalAuthCalls = false;
        vars.SaveToFile(vrs);
        TKesFSVarsXML back;
        back.LoadFromFile(vrs);
        QCOMPARE(back.DefaultPassword, QStringLiteral("Secr3t"));
        QCOMPARE(back.UKRing, QStringLiteral("%(1,2,3)"));
        QCOMPARE(back.CallDebug, true);
        QCOMPARE(back.InternalAuthCalls, false);
        QCOMPARE(TIniFile(vrs).ReadString(QStringLiteral("General"), QStringLiteral("MyNote"), {}),
                 QStringLiteral("kept"));
    }

    void onlyDefaultPasswordChangesOnlyIt()
    {
        const QString vrs = path(QStringLiteral("pw/vars.vrs"));
        KxTest::WriteBytes(vrs, "[General]\r\nDefaultPassword=Other1\r\n");
        TKesFSVarsXML vars;
        vars.LoadFromFile(vrs);
        QCOMPARE(vars.DefaultPassword, QStringLiteral("Other1"));
        QStringList expected = expectedXml();
        expected[FirstSetLine] = setLine("default_password", QStringLiteral("Other1"));
        QCOMPARE(vars.XMLLines(), expected);
    }

    void storedBooleans_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("expected"); // the default of CallDebug is false, of UnrollLoops true
        QTest::addColumn<bool>("expectedUnroll");
        QTest::newRow("1") << QByteArray("1") << true << true;
        QTest::newRow("0") << QByteArray("0") << false << false;
        QTest::newRow("yes") << QByteArray("yes") << false << false;
        QTest::newRow("10") << QByteArray("10") << true << true;
        QTest::newRow("empty keeps default") << QByteArray() << false << true;
    }
    void storedBooleans()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, expected);
        QFETCH(bool, expectedUnroll);
        const QString vrs = path(QStringLiteral("bool/vars.vrs"));
        KxTest::WriteBytes(vrs, "[General]\r\nCallDebug=" + stored + "\r\nUnrollLoops=" + stored + "\r\n");
        TKesFSVarsXML vars;
        vars.LoadFromFile(vrs);
        QCOMPARE(vars.CallDebug, expected);
        QCOMPARE(vars.UnrollLoops, expectedUnroll);
    }

    // A value holding "&", "<" or a double quote must neither end the data
    // attribute early nor break the files that paste it in through $${name}.
    void valuesAreEscaped()
    {
        TKesFSVarsXML vars;
        vars.OutboundCallerName = QStringLiteral("Smith & Sons <\"Ltd\">");
        vars.DefaultProvider = QStringLiteral("$${domain}");
        const QStringList lines = vars.XMLLines();
        QCOMPARE(lines.at(FirstSetLine + 16),
                 setLine("outbound_caller_name", QStringLiteral("Smith &amp; Sons &lt;&quot;Ltd&quot;>")));
        QCOMPARE(lines.at(FirstSetLine + 53), setLine("default_provider", QStringLiteral("$${domain}")));
    }

    void lineBreakRefused()
    {
        TKesFSVarsXML vars;
        vars.HoldMusic = QStringLiteral("a\nb");
        QVERIFY_THROWS_EXCEPTION(EKXError, vars.GenerateXML(path(QStringLiteral("lb/vars.xml"))));
        QVERIFY_THROWS_EXCEPTION(EKXError, vars.SaveToFile(path(QStringLiteral("lb/vars.vrs"))));
        QVERIFY(!QFile::exists(path(QStringLiteral("lb/vars.xml"))));
        QVERIFY(!QFile::exists(path(QStringLiteral("lb/vars.vrs"))));
    }
};

KX_TEST_MAIN(TestVarsXML)
#include "tst_VarsXML.moc"
