// The two SIP profiles: record files, defaults and the generated profile files.
#include "KxTest.h"

#include "core/IniFile.h"
#include "engine/SIPExternalXML.h"
#include "engine/SIPInternalXML.h"

class TestSIPProfiles : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

    static QStringList internalDefaults()
    {
        return {
            R"(<profile name="internal">)",
            R"(  <aliases>)",
            R"(    <!--)",
            R"(        <alias name="default"/>)",
            R"(    -->)",
            R"(  </aliases>)",
            R"(  <!-- Outbound Registrations -->)",
            R"(  <gateways>)",
            "    <X-PRE-PROCESS cmd=\"include\" data=\"internal/*.xml\"/>", // no raw string: moc would read "/*" as a comment
            R"(  </gateways>)",
            "",
            R"(  <domains>)",
            R"(    <domain name="all" alias="true" parse="false"/>)",
            R"(  </domains>)",
            "",
            R"(  <settings>)",
            "",
            R"(    <param name="debug" value="0"/>)",
            R"(    <param name="sip-trace" value="no"/>)",
            R"(    <param name="sip-capture" value="no"/>)",
            R"(    <param name="watchdog-enabled" value="no"/>)",
            R"(    <param name="watchdog-step-timeout" value="30000"/>)",
            R"(    <param name="watchdog-event-timeout" value="30000"/>)",
            "",
            R"(    <param name="log-auth-failures" value="true"/>)",
            R"(    <param name="forward-unsolicited-mwi-notify" value="false"/>)",
            "",
            R"(    <param name="context" value="public"/>)",
            R"(    <param name="rfc2833-pt" value="101"/>)",
            R"(    <!-- port to bind to for sip traffic -->)",
            R"(    <param name="sip-port" value="$${internal_sip_port}"/>)",
            R"(    <param name="dialplan" value="XML"/>)",
            R"(    <param name="dtmf-duration" value="2000"/>)",
            R"(    <param name="inbound-codec-prefs" value="$${global_codec_prefs}"/>)",
            R"(    <param name="outbound-codec-prefs" value="$${global_codec_prefs}"/>)",
            R"(    <param name="rtp-timer-name" value="soft"/>)",
            R"(    <!-- ip address to use for rtp, DO NOT USE HOSTNAMES ONLY IP ADDRESSES -->)",
            R"(    <param name="rtp-ip" value="$${local_ip_v4}"/>)",
            R"(    <!-- ip address to bind to, DO NOT USE HOSTNAMES ONLY IP ADDRESSES -->)",
            R"(    <param name="sip-ip" value="$${local_ip_v4}"/>)",
            R"(    <param name="hold-music" value="$${hold_music}"/>)",
            R"(    <param name="apply-nat-acl" value="nat.auto"/>)",
            R"(    <param name="apply-inbound-acl" value="domains"/>)",
            R"(    <param name="local-network-acl" value="localnet.auto"/>)",
            R"(    <param name="record-path" value="$${recordings_dir}"/>)",
            R"(    <param name="record-template" value="${caller_id_number}.${target_domain}.${strftime(%Y-%m-%d-%H-%M-%S)}.wav"/>)",
            R"(    <!--enable to use presence -->)",
            R"(    <param name="manage-presence" value="true"/>)",
            R"(    <param name="presence-hosts" value="$${domain},$${local_ip_v4}"/>)",
            R"(    <param name="presence-privacy" value="$${presence_privacy}"/>)",
            R"(    <!--set to "greedy" if you want your codec list to take precedence -->)",
            R"(    <param name="inbound-codec-negotiation" value="generous"/>)",
            R"(    <!-- TLS: disabled by default, set to "true" to enable -->)",
            R"(    <param name="tls" value="$${internal_ssl_enable}"/>)",
            R"(    <!-- Set to true to not bind on the normal sip-port but only on the TLS port -->)",
            R"(    <param name="tls-only" value="false"/>)",
            R"(    <!-- additional bind parameters for TLS -->)",
            R"(    <param name="tls-bind-params" value="transport=tls"/>)",
            R"(    <!-- Port to listen on for TLS requests. (5061 will be used if unspecified) -->)",
            R"(    <param name="tls-sip-port" value="$${internal_tls_port}"/>)",
            R"(    <!-- Location of the agent.pem and cafile.pem ssl certificates (needed for TLS server) -->)",
            R"(    <param name="tls-cert-dir" value="$${internal_ssl_dir}"/>)",
            R"(    <!-- Optionally set the passphrase password used by openSSL to encrypt/decrypt TLS private key files -->)",
            R"(    <param name="tls-passphrase" value=""/>)",
            R"(    <!-- Verify the date on TLS certificates -->)",
            R"(    <param name="tls-verify-date" value="true"/>)",
            R"(    <param name="tls-verify-policy" value="none"/>)",
            R"(    <param name="tls-verify-depth" value="2"/>)",
            R"(    <param name="tls-verify-in-subjects" value=""/>)",
            R"(    <param name="tls-version" value="$${sip_tls_version}"/>)",
            R"(    <param name="tls-ciphers" value="$${sip_tls_ciphers}"/>)",
            R"(    <param name="inbound-late-negotiation" value="true"/>)",
            R"(    <param name="inbound-zrtp-passthru" value="true"/>)",
            R"(    <param name="nonce-ttl" value="60"/>)",
            R"(    <param name="auth-calls" value="$${internal_auth_calls}"/>)",
            R"(    <param name="inbound-reg-force-matching-username" value="true"/>)",
            R"(    <param name="auth-all-packets" value="false"/>)",
            R"(    <param name="ext-rtp-ip" value="auto-nat"/>)",
            R"(    <param name="ext-sip-ip" value="auto-nat"/>)",
            R"(    <param name="rtp-timeout-sec" value="300"/>)",
            R"(    <param name="rtp-hold-timeout-sec" value="1800"/>)",
            R"(    <param name="force-register-domain" value="$${domain}"/>)",
            R"(    <param name="force-subscription-domain" value="$${domain}"/>)",
            R"(    <param name="force-register-db-domain" value="$${domain}"/>)",
            R"(    <param name="challenge-realm" value="auto_from"/>)",
            R"(  </settings>)",
            R"(</profile>)",
        };
    }

    static QStringList externalDefaults()
    {
        return {
            R"(<profile name="external">)",
            R"(  <gateways>)",
            "    <X-PRE-PROCESS cmd=\"include\" data=\"external/*.xml\"/>", // no raw string: moc would read "/*" as a comment
            R"(  </gateways>)",
            "",
            R"(  <aliases>)",
            R"(    <!--)",
            R"(      <alias name="outbound"/>)",
            R"(      <alias name="nat"/>)",
            R"(    -->)",
            R"(  </aliases>)",
            "",
            R"(  <domains>)",
            R"(    <domain name="all" alias="false" parse="true"/>)",
            R"(  </domains>)",
            "",
            R"(  <settings>)",
            R"(    <param name="debug" value="0"/>)",
            R"(    <param name="sip-trace" value="no"/>)",
            R"(    <param name="sip-capture" value="no"/>)",
            R"(    <param name="rfc2833-pt" value="101"/>)",
            R"(    <param name="sip-port" value="$${external_sip_port}"/>)",
            R"(    <param name="dialplan" value="XML"/>)",
            R"(    <param name="context" value="public"/>)",
            R"(    <param name="dtmf-duration" value="2000"/>)",
            R"(    <param name="inbound-codec-prefs" value="$${global_codec_prefs}"/>)",
            R"(    <param name="outbound-codec-prefs" value="$${outbound_codec_prefs}"/>)",
            R"(    <param name="hold-music" value="$${hold_music}"/>)",
            R"(    <param name="rtp-timer-name" value="soft"/>)",
            R"(    <param name="local-network-acl" value="localnet.auto"/>)",
            R"(    <param name="manage-presence" value="false"/>)",
            R"(    <param name="inbound-codec-negotiation" value="generous"/>)",
            R"(    <param name="nonce-ttl" value="60"/>)",
            R"(    <param name="auth-calls" value="false"/>)",
            R"(    <param name="inbound-late-negotiation" value="true"/>)",
            R"(    <param name="inbound-zrtp-passthru" value="true"/>)",
            R"(    <param name="rtp-ip" value="$${local_ip_v4}"/>)",
            R"(    <param name="sip-ip" value="$${local_ip_v4}"/>)",
            R"(    <param name="ext-rtp-ip" value="auto-nat"/>)",
            R"(    <param name="ext-sip-ip" value="auto-nat"/>)",
            R"(    <param name="rtp-timeout-sec" value="300"/>)",
            R"(    <param name="rtp-hold-timeout-sec" value="1800"/>)",
            R"(    <param name="tls" value="$${external_ssl_enable}"/>)",
            R"(    <param name="tls-only" value="false"/>)",
            R"(    <param name="tls-bind-params" value="transport=tls"/>)",
            R"(    <param name="tls-sip-port" value="$${external_tls_port}"/>)",
            R"(    <param name="tls-cert-dir" value="$${external_ssl_dir}"/>)",
            R"(    <param name="tls-passphrase" value=""/>)",
            R"(    <param name="tls-verify-date" value="true"/>)",
            R"(    <param name="tls-verify-policy" value="none"/>)",
            R"(    <param name="tls-verify-depth" value="2"/>)",
            R"(    <param name="tls-verify-in-subjects" value=""/>)",
            R"(    <param name="tls-version" value="$${sip_tls_version}"/>)",
            R"(  </settings>)",
            R"(</profile>)",
        };
    }

    static QStringList keysOf(const QString& file)
    {
        QStringList keys;
        const QStringList lines = QString::fromUtf8(KxTest::ReadBytes(file)).split(QStringLiteral("\r\n"));
        for (const QString& l : lines)
            if (l.contains(u'=')) keys << l.section(u'=', 0, 0);
        return keys;
    }

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void internalDefaultsGenerate87Lines()
    {
        TSIPInternalXML p;
        p.GenerateXML(path("sip_profiles/internal.xml"));
        KxTest::CompareLines(KxTest::ReadBytes(path("sip_profiles/internal.xml")), internalDefaults());
        QCOMPARE(p.XMLText, internalDefaults());
    }

    void externalDefaultsGenerate55Lines()
    {
        TSIPExternalXML p;
        p.GenerateXML(path("external.xml"));
        KxTest::CompareLines(KxTest::ReadBytes(path("external.xml")), externalDefaults());
    }

    void internalChangedSettingsLandOnTheirLines()
    {
        TSIPInternalXML p;
        p.TLSOnly = true;
        p.LogAuthFailures = false;
        p.rfc2833pt = 96;
        p.TLSPassphrase = QStringLiteral("a\"b<c&d");
        p.GenerateXML(path("internal.xml"));
        QStringList expected = internalDefaults();
        expected[24] = R"(    <param name="log-auth-failures" value="false"/>)";
        expected[28] = R"(    <param name="rfc2833-pt" value="96"/>)";
        expected[55] = R"(    <param name="tls-only" value="true"/>)";
        expected[63] = R"(    <param name="tls-passphrase" value="a&quot;b&lt;c&amp;d"/>)";
        KxTest::CompareLines(KxTest::ReadBytes(path("internal.xml")), expected);
    }

    void externalChangedSettingsLandOnTheirLines()
    {
        TSIPExternalXML p;
        p.AuthCalls = true;
        p.InboundLateNegotiation = false;
        p.SIPIP = QStringLiteral("192.0.2.10\"/><x a=\"");
        p.GenerateXML(path("external.xml"));
        QStringList expected = externalDefaults();
        expected[33] = R"(    <param name="auth-calls" value="true"/>)";
        expected[34] = R"(    <param name="inbound-late-negotiation" value="false"/>)";
        expected[37] = R"(    <param name="sip-ip" value="192.0.2.10&quot;/&gt;&lt;x a=&quot;"/>)";
        KxTest::CompareLines(KxTest::ReadBytes(path("external.xml")), expected);
    }

    void internalRecordFileKeyOrderAndRoundTrip()
    {
        TSIPInternalXML p;
        p.Context = QStringLiteral("office");
        p.NonceTTL = 90;
        p.AuthAllPackets = true;
        p.TLSVerifyInSubjects = QStringLiteral("a&b");
        p.SaveToFile(path("internal.six"));
        const QStringList keys = keysOf(path("internal.six"));
        QCOMPARE(keys.size(), 47);
        QCOMPARE(keys.at(13), QStringLiteral("LocalNetworkAcl"));
        QCOMPARE(keys.at(14), QStringLiteral("LogAuthFailures"));
        QCOMPARE(keys.first(), QStringLiteral("Context"));
        QCOMPARE(keys.last(), QStringLiteral("ChallengeRealm"));

        TSIPInternalXML q;
        q.LoadFromFile(path("internal.six"));
        q.GenerateXML(path("q.xml"));
        p.GenerateXML(path("p.xml"));
        QCOMPARE(KxTest::ReadBytes(path("q.xml")), KxTest::ReadBytes(path("p.xml")));
        QCOMPARE(q.TLSVerifyInSubjects, QStringLiteral("a&b")); // record files keep the raw text
    }

    void externalRecordFileKeyOrderAndRoundTrip()
    {
        TSIPExternalXML p;
        p.SIPTrace = QStringLiteral("yes");
        p.ManagePresence = true;
        p.RTPTimeoutSec = 120;
        p.SaveToFile(path("external.sex"));
        const QStringList keys = keysOf(path("external.sex"));
        QCOMPARE(keys.size(), 35);
        QCOMPARE(keys.mid(0, 6), QStringList({"SIPTrace", "SIPCapture", "rfc2833pt", "SIPPort", "DialPlan", "Context"}));
        QCOMPARE(keys.last(), QStringLiteral("TLSVersion"));

        TSIPExternalXML q;
        q.LoadFromFile(path("external.sex"));
        q.GenerateXML(path("q.xml"));
        p.GenerateXML(path("p.xml"));
        QCOMPARE(KxTest::ReadBytes(path("q.xml")), KxTest::ReadBytes(path("p.xml")));
    }

    // A partial or damaged record file keeps the defaults of what it lacks.
    void damagedRecordFilesKeepDefaults()
    {
        KxTest::WriteBytes(path("internal.six"),
                           "[General]\r\nrfc2833pt=abc\r\nTLSOnly=yes\r\nManagePresence=0\r\nExtraKey=kept\r\n");
        TSIPInternalXML in;
        in.LoadFromFile(path("internal.six"));
        QCOMPARE(in.rfc2833pt, 101);
        QCOMPARE(in.TLSOnly, false);
        QCOMPARE(in.ManagePresence, false);
        QCOMPARE(in.SIPPort, QStringLiteral("$${internal_sip_port}"));
        in.SaveToFile(path("internal.six"));
        QVERIFY(KxTest::ReadBytes(path("internal.six")).contains("ExtraKey=kept\r\n"));

        KxTest::WriteBytes(path("external.sex"), "[general]\r\nsipcapture=yes\r\n");
        TSIPExternalXML ex;
        ex.LoadFromFile(path("external.sex"));
        ex.GenerateXML(path("external.xml"));
        QStringList expected = externalDefaults();
        expected[19] = R"(    <param name="sip-capture" value="yes"/>)";
        KxTest::CompareLines(KxTest::ReadBytes(path("external.xml")), expected);

        TSIPExternalXML missing;
        missing.LoadFromFile(path("nothing-here.sex"));
        QCOMPARE(missing.SIPPort, QStringLiteral("$${external_sip_port}"));
    }
};

KX_TEST_MAIN(TestSIPProfiles)
#include "tst_SIPProfiles.moc"
