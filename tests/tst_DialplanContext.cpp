// The default dialplan context: settings, record file and the generated file.
#include "KxTest.h"

#include "core/DBInterface.h"
#include "core/Store.h"
#include "engine/DialplanDomainXML.h"
#include "engine/kxVarsXML.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

class TestDialplanContext : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

    // Generates the context and returns its lines as read back from disk
    // (after checking every line ends in CR LF).
    QStringList generate(TDialplanDomainXML& dp)
    {
        const QString file = path("dialplan/ctx.xml");
        dp.GenerateXML(file);
        const QByteArray bytes = KxTest::ReadBytes(file);
        [&] { KxTest::CompareLines(bytes, dp.XMLText); }();
        return dp.XMLText;
    }

    // The lines from the one that equals `first` up to the next "    </extension>".
    static QStringList block(const QStringList& lines, const QString& first)
    {
        const int from = lines.indexOf(first);
        if (from < 0) return {QStringLiteral("missing: ") + first};
        const int to = lines.indexOf(QStringLiteral("    </extension>"), from);
        return lines.mid(from, to - from + 1);
    }

    // The names of the extensions the engine sees (commented samples are not
    // elements), or the parser's error.
    static QStringList extensionNames(const QStringList& lines, QString* error)
    {
        QXmlStreamReader xml(lines.join(QStringLiteral("\r\n")));
        QStringList names;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("extension"))
                names << xml.attributes().value(QLatin1String("name")).toString();
        }
        if (xml.hasError()) *error = xml.errorString() + QStringLiteral(" at line ") + QString::number(xml.lineNumber());
        return names;
    }

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void settingDependentBlocksWithDefaults()
    {
        TKesFSVarsXML vars;
        TDialplanDomainXML dp(&vars);
        dp.ContextName = QStringLiteral("default");
        dp.Domain = QStringLiteral("default");
        const QStringList x = generate(dp);

        QStringList head = Store::HeaderBlock();
        head << "<include>" << R"~(  <context name="default">)~" << "";
        QCOMPARE(x.mid(0, 11), head);
        QCOMPARE(x.mid(x.size() - 3), QStringList({"", "  </context>", "</include>"}));

        QCOMPARE(block(x, R"~(    <extension name="group-intercept">)~"), QStringList({
            R"~(    <extension name="group-intercept">)~",
            R"~(      <condition field="destination_number" expression="^\*8$">)~",
            R"~(        <action application="answer"/>)~",
            R"~(        <action application="intercept" data="${hash(select/${domain_name}-last_dial/${call_group})}"/>)~",
            R"~(        <action application="sleep" data="2000"/>)~",
            R"~(      </condition>)~",
            R"~(    </extension>)~"}));
        QCOMPARE(block(x, R"~(    <extension name="redial">)~"), QStringList({
            R"~(    <extension name="redial">)~",
            R"~(      <condition field="destination_number" expression="^(redial|\*870)$">)~",
            R"~(        <action application="transfer" data="${hash(select/${domain_name}-last_dial/${caller_id_number})}"/>)~",
            R"~(      </condition>)~",
            R"~(    </extension>)~"}));
        QCOMPARE(block(x, R"~(    <extension name="call_privacy">)~"), QStringList({
            R"~(    <extension name="call_privacy">)~",
            R"~(      <condition field="destination_number" expression="^\*67(\d+)$">)~",
            R"~(        <action application="privacy" data="full"/>)~",
            R"~(        <action application="set" data="sip_h_Privacy=id"/>)~",
            R"~(        <action application="set" data="privacy=yes"/>)~",
            R"~(        <action application="transfer" data="$1 XML default"/>)~",
            R"~(      </condition>)~",
            R"~(    </extension>)~"}));
        QCOMPARE(block(x, R"~(    <extension name="call_return">)~"), QStringList({
            R"~(    <extension name="call_return">)~",
            R"~(      <condition field="destination_number" expression="^\*69$|^869$|^lcr$">)~",
            R"~(        <action application="transfer" data="${hash(select/${domain_name}-call_return/${caller_id_number})}"/>)~",
            R"~(      </condition>)~",
            R"~(    </extension>)~"}));
        QCOMPARE(block(x, R"~(    <extension name="del-group">)~"), QStringList({
            R"~(    <extension name="del-group">)~",
            R"~(      <condition field="destination_number" expression="^\*80(\d{2})$">)~",
            R"~(        <action application="answer"/>)~",
            R"~(        <action application="group" data="delete:$1@${domain_name}:${sofia_contact(${sip_from_user}@${domain_name})}"/>)~",
            R"~(        <action application="gentones" data="%(1000, 0, 320)"/>)~",
            R"~(      </condition>)~",
            R"~(    </extension>)~"}));
        QCOMPARE(block(x, R"~(    <extension name="add-group">)~"), QStringList({
            R"~(    <extension name="add-group">)~",
            R"~(      <condition field="destination_number" expression="^\*81(\d{2})$">)~",
            R"~(        <action application="answer"/>)~",
            R"~(        <action application="group" data="insert:$1@${domain_name}:${sofia_contact(${sip_from_user}@${domain_name})}"/>)~",
            R"~(        <action application="gentones" data="%(1000, 0, 640)"/>)~",
            R"~(      </condition>)~",
            R"~(    </extension>)~"}));
        QCOMPARE(block(x, R"~(    <extension name="call-group-simo">)~"), QStringList({
            R"~(    <extension name="call-group-simo">)~",
            R"~(      <condition field="destination_number" expression="^\*82(\d{2})$">)~",
            R"~(        <action application="bridge" data="{leg_timeout=15,ignore_early_media=true}${group(call:$1@${domain_name})}"/>)~",
            R"~(      </condition>)~",
            R"~(    </extension>)~"}));
        QCOMPARE(block(x, R"~(    <extension name="call-group-order">)~"), QStringList({
            R"~(    <extension name="call-group-order">)~",
            R"~(      <condition field="destination_number" expression="^\*83(\d{2})$">)~",
            R"~(        <action application="bridge" data="{leg_timeout=15,ignore_early_media=true}${group(call:$1@${domain_name}:order)}"/>)~",
            R"~(      </condition>)~",
            R"~(    </extension>)~"}));
        QCOMPARE(block(x, R"~(    <extension name="send_to_voicemail">)~"), QStringList({
            R"~(    <extension name="send_to_voicemail">)~",
            R"~(      <condition field="destination_number" expression="^\*99(\d{2,7})$">)~",
            R"~(        <action application="answer"/>)~",
            R"~(        <action application="sleep" data="1000"/>)~",
            R"~(        <action application="set" data="dialed_extension=$1"/>)~",
            R"~(        <action application="export" data="dialed_extension=$1"/>)~",
            R"~(        <action application="voicemail" data="default ${domain_name} ${dialed_extension}"/>)~",
            R"~(      </condition>)~",
            R"~(    </extension>)~"}));
        QCOMPARE(block(x, R"~(    <!-- voicemail main extension -->)~"), QStringList({
            R"~(    <!-- voicemail main extension -->)~",
            R"~(    <extension name="vmain1">)~",
            R"~(      <condition field="destination_number" expression="^vmain1$|^\*97$|^\*4000$">)~",
            R"~(        <action application="answer"/>)~",
            R"~(        <action application="sleep" data="1000"/>)~",
            R"~(        <action application="voicemail" data="check default ${domain_name}"/>)~",
            R"~(      </condition>)~",
            R"~(    </extension>)~"}));
        QCOMPARE(block(x, R"~(    <!-- voicemail main2 extension -->)~"), QStringList({
            R"~(    <!-- voicemail main2 extension -->)~",
            R"~(    <extension name="vmain2">)~",
            R"~(      <condition field="destination_number" expression="^vmain2$|^\*98$">)~",
            R"~(        <action application="answer"/>)~",
            R"~(        <action application="sleep" data="1000"/>)~",
            R"~(        <action application="voicemail" data="check default ${domain_name} ${sip_from_user}"/>)~",
            R"~(      </condition>)~",
            R"~(    </extension>)~"}));
        QCOMPARE(block(x, R"~(    <extension name="echo">)~"), QStringList({
            R"~(    <extension name="echo">)~",
            R"~(      <condition field="destination_number" expression="^\*9196$">)~",
            R"~(        <action application="answer"/>)~",
            R"~(        <action application="echo"/>)~",
            R"~(      </condition>)~",
            R"~(    </extension>)~"}));

        const QStringList local = block(x, R"~(    <extension name="Local_Extension">)~");
        QCOMPARE(local.size(), 34);
        QCOMPARE(local.mid(0, 14), QStringList({
            R"~(    <extension name="Local_Extension">)~",
            R"~(      <condition field="destination_number" expression="(^\d{2,7}$)">)~",
            R"~(        <action application="set" data="dialed_extension=$1"/>)~",
            R"~(        <action application="export" data="dialed_extension=$1"/>)~",
            R"~(        <action application="limit" data="hash ${domain_name} $1 ${limit_max} ${limit_destination}"/>)~",
            R"~(        <!-- bind_meta_app can have these args <key> [a|b|ab] [a|b|o|s] <app> -->)~",
            R"~(        <action application="bind_meta_app" data="1 b s execute_extension::dx XML features"/>)~",
            R"~(        <action application="bind_meta_app" data="2 b s record_session::$${recordings_dir}/archive/${strftime(%Y)}/${strftime(%b)}/${strftime(%d)}/${uuid}.wav"/>)~",
            R"~(        <action application="bind_meta_app" data="3 b s execute_extension::cf XML features"/>)~",
            R"~(        <action application="bind_meta_app" data="4 b s execute_extension::att_xfer XML features"/>)~",
            R"~(        <action application="set" data="ringback=${US-ring}"/>)~",
            R"~(        <action application="set" data="transfer_ringback=$${hold_music}"/>)~",
            R"~(        <action application="set" data="call_timeout=15"/>)~",
            R"~(        <!-- <action application="set" data="sip_exclude_contact=${network_addr}"/> -->)~"}));
        QCOMPARE(local.mid(14, 11), QStringList({
            R"~(        <action application="set" data="hangup_after_bridge=true"/>)~",
            R"~(        <!--<action application="set"  data="continue_on_fail=NORMAL_TEMPORARY_FAILURE,USER_BUSY,NO_ANSWER,TIMEOUT,NO_ROUTE_DESTINATION"/> -->)~",
            R"~(        <action application="set" data="continue_on_fail=true"/>)~",
            R"~(        <action application="hash" data="insert/${domain_name}-call_return/${dialed_extension}/${caller_id_number}"/>)~",
            R"~(        <action application="hash" data="insert/${domain_name}-last_dial_ext/${dialed_extension}/${uuid}"/>)~",
            R"~(        <action application="set" data="called_party_call_group=${user_data(${dialed_extension}@${domain_name} var call_group)}"/>)~",
            R"~(        <!--<action application="export" data="nolocal:sip_secure_media=${user_data(${dialed_extension}@${domain_name} var sip_secure_media)}"/>-->)~",
            R"~(        <action application="hash" data="insert/${domain_name}-last_dial/${called_party_call_group}/${uuid}"/>)~",
            R"~(        <!-- standard method -->)~",
            R"~(        <!--<action application="bridge" data="user/${dialed_extension}@${domain_name}"/> -->)~",
            R"~(        <!-- sofia contact -->)~"}));
        QVERIFY(local.at(26).startsWith(QStringLiteral("        <!-- number-alias")));
        QCOMPARE(local.mid(25, 1), QStringList({
            R"~(        <!--<action application="bridge" data="${sofia_contact(${dialed_extension}@${domain_name})}"/>-->)~"}));
        QCOMPARE(local.mid(27), QStringList({
            R"~(        <action application="bridge" data="user/${user_data(${destination_number}@${domain_name} attr id)}@${domain_name}"/>)~",
            R"~(        <action application="answer"/>)~",
            R"~(        <action application="sleep" data="1000"/>)~",
            R"~(        <!--<action application="bridge" data="loopback/app=voicemail:default ${domain_name} ${dialed_extension}"/>-->)~",
            R"~(        <action application="voicemail" data="default ${domain_name} ${dialed_extension}"/>)~",
            R"~(      </condition>)~",
            R"~(    </extension>)~"}));
        // The five-line comment stands right before the block, and one empty
        // line follows every setting-dependent block.
        const int at = x.indexOf(local.first());
        QCOMPARE(x.at(at - 5), QStringLiteral("    <!--"));
        QCOMPARE(x.at(at - 1), QStringLiteral("    -->"));
        for (const QString& first : {"    <extension name=\"group-intercept\">", "    <extension name=\"echo\">",
                                     "    <extension name=\"Local_Extension\">", "    <extension name=\"vmain2\">"})
            QCOMPARE(x.at(x.indexOf(QStringLiteral("    </extension>"), x.indexOf(first)) + 1), QString());
    }

    void changedSettingsReachTheirLines()
    {
        TKesFSVarsXML vars;
        vars.DefaultCountry = QStringLiteral("uk");
        KxTest::WriteBytes(path("default.dpd"),
                           "[General]\r\nLocalExtension=d{3,4}\r\nCallTimeout=25\r\nEcho=9196\r\nRedial=#5\r\n"
                           "VMain1=*9\"<&\r\nCallPrivacy=*67\r\n");
        TDialplanDomainXML dp(&vars);
        dp.LoadFromFile(path("default.dpd"));
        QCOMPARE(dp.CallTimeout, 25);
        QCOMPARE(dp.GroupIntercept, QStringLiteral("*8")); // missing keys keep the defaults
        const QStringList x = generate(dp);
        auto has = [&](const char* line) {
            if (!x.contains(QString::fromUtf8(line))) QTest::qFail(line, __FILE__, __LINE__);
            return x.contains(QString::fromUtf8(line));
        };
        QVERIFY(has(R"~(      <condition field="destination_number" expression="(^\d{3,4}$)">)~"));
        QVERIFY(has(R"~(        <action application="set" data="ringback=${uk-ring}"/>)~"));
        QVERIFY(has(R"~(        <action application="set" data="call_timeout=25"/>)~"));
        // A code that starts with a digit stays a literal number (a backslash
        // would make "\9" a back reference); symbols are taken literally.
        QVERIFY(has(R"~(      <condition field="destination_number" expression="^9196$">)~"));
        QVERIFY(has(R"~(      <condition field="destination_number" expression="^(redial|\#5)$">)~"));
        QVERIFY(has(R"~(      <condition field="destination_number" expression="^vmain1$|^\*9\&quot;\&lt;\&amp;$|^\*4000$">)~"));
        QString error;
        extensionNames(x, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void quoteFeatureCode_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("star code") << "*870" << R"~(\*870)~";
        QTest::newRow("digits only") << "870" << "870";
        QTest::newRow("hash and star") << "#*1" << R"~(\#\*1)~";
        QTest::newRow("letters") << "vm" << "vm";
        QTest::newRow("regex characters") << "+1.(2)" << R"~(\+1\.\(2\))~";
        QTest::newRow("empty") << "" << "";
    }
    void quoteFeatureCode()
    {
        QFETCH(QString, code);
        QFETCH(QString, quoted);
        QCOMPARE(TDialplanDomainXML::QuoteFeatureCode(code), quoted);
        QRegularExpression re(QStringLiteral("^") + quoted + QStringLiteral("$"));
        QVERIFY(re.isValid());
        QVERIFY(re.match(code).hasMatch());
    }

    // The file is well-formed, the engine sees exactly the sample extensions
    // in their order, and only the live include lines carry the preprocessor
    // directive: the commented sample in the trailer must not pull the default
    // folder in a second time.
    void includesAndStructure_data()
    {
        QTest::addColumn<QString>("domain");
        QTest::addColumn<QStringList>("includes");
        const QString def = QStringLiteral("    <X-PRE-PROCESS cmd=\"include\" data=\"default/*.xml\"/>");
        QTest::newRow("default") << "default" << QStringList{def};
        QTest::newRow("office") << "office" << QStringList{def, "    <X-PRE-PROCESS cmd=\"include\" data=\"office/*.xml\"/>"};
        QTest::newRow("address") << "192.0.2.7" << QStringList{def, "    <X-PRE-PROCESS cmd=\"include\" data=\"192.0.2.7/*.xml\"/>"};
    }
    void includesAndStructure()
    {
        QFETCH(QString, domain);
        QFETCH(QStringList, includes);
        TKesFSVarsXML vars;
        TDialplanDomainXML dp(&vars);
        dp.Domain = domain;
        dp.ContextName = domain;
        const QStringList x = generate(dp);

        QStringList directives;
        for (const QString& l : x)
            if (l.contains(QLatin1String("x-pre-process"), Qt::CaseInsensitive)) directives << l;
        QCOMPARE(directives, includes);
        // right after send_to_voicemail and before the sample groups
        const int inc = x.indexOf(includes.first());
        QCOMPARE(x.at(inc - 2), QStringLiteral("    </extension>"));
        QCOMPARE(x.at(inc + includes.size()), QString());
        int next = inc;
        while (next < x.size() && !x.at(next).startsWith(QLatin1String("    <extension "))) ++next;
        QVERIFY(next < x.size() && x.at(next).contains(QLatin1String("group_dial_sales")));
        // the trailer keeps the sample readable as a comment
        QVERIFY(x.contains("        <!--<X-PRE- PROCESS cmd=\"include\" data=\"default/*.xml\"/>-->"));

        QString error;
        const QStringList names = extensionNames(x, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QStringList expected = {
            "unloop", "call_direction", "group-intercept", "redial", "global", "snom-demo-2", "snom-demo-1",
            "call_privacy", "call_return", "del-group", "add-group", "call-group-simo", "call-group-order",
            "intercept-ext", "Local_Extension_Skinny", "send_to_voicemail", "group_dial_sales",
            "group_dial_support", "group_dial_billing", "operator", "vmain", "vmain1", "vmain2", "sip_uri",
            "nb_conferences", "wb_conferences", "uwb_conferences", "cdquality_conferences",
            "freeswitch_public_conf_via_sip", "ivr_demo", "dynamic_conference", "rtp_multicast_page",
            "parking_slots", "valet_park_in", "valet_park_out", "park", "unpark", "park", "unpark", "wait",
            "fax_receive", "fax_transmit", "ringback_180", "ringback_183_uk_ring", "ringback_183_music_ring",
            "ringback_post_answer_uk_ring", "ringback_post_answer_music", "ClueCon", "show_info",
            "video_record", "video_playback", "delay_echo", "echo", "milliwatt", "tone_stream",
            "zrtp_enrollement", "hold_music", "Local_Extension"};
        QCOMPARE(names, expected);
        QVERIFY(x.contains(QStringLiteral("  <context name=\"%1\">").arg(domain)));
    }

    void escapedDomainAndContext()
    {
        TDialplanDomainXML dp(nullptr);
        dp.Domain = QStringLiteral("a&b");
        dp.ContextName = QStringLiteral("a\"<b");
        const QStringList x = generate(dp);
        QVERIFY(x.contains(R"~(  <context name="a&quot;&lt;b">)~"));
        QVERIFY(x.contains("    <X-PRE-PROCESS cmd=\"include\" data=\"a&amp;b/*.xml\"/>"));
        QVERIFY(x.contains(R"~(        <action application="set" data="ringback=${US-ring}"/>)~"));
        QString error;
        extensionNames(x, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void recordFileKeyOrderAndRoundTrip()
    {
        TDialplanDomainXML a(nullptr);
        a.ContextName = QStringLiteral("office");
        a.CallTimeout = 40;
        a.Echo = QStringLiteral("*1234");
        a.SaveToFile(path("office.dpd"));
        const QByteArray expected =
            "[General]\r\nCallGroupOrder=*83\r\nCallGroupSimo=*82\r\nCallPrivacy=*67\r\nCallReturn=*69\r\n"
            "CallTimeout=40\r\nContextName=office\r\nAddGroup=*81\r\nDelGroup=*80\r\nEcho=*1234\r\n"
            "GroupIntercept=*8\r\nLocalExtension=d{2,7}\r\nRedial=*870\r\nSendToVoicemail=*99\r\n"
            "VMain1=*97\r\nVMain2=*98\r\n";
        QCOMPARE(KxTest::ReadBytes(path("office.dpd")), expected);
        TDialplanDomainXML b(nullptr);
        b.LoadFromFile(path("office.dpd"));
        QCOMPARE(b.CallTimeout, 40);
        QCOMPARE(b.Echo, QStringLiteral("*1234"));
        QCOMPARE(b.ContextName, QStringLiteral("office"));
        KxTest::WriteBytes(path("bad.dpd"), "[General]\r\nCallTimeout=soon\r\n");
        b.LoadFromFile(path("bad.dpd"));
        QCOMPARE(b.CallTimeout, 40); // not a number: the current value stays
    }

    // After loading the globals the context is named after the domain,
    // whatever the record file holds, and it includes the domain's folder.
    void loadGlobalsNamesContextAfterDomain()
    {
        TDBInterface db(QStringLiteral("office"), nullptr);
        db.ControlBlock->WorkingDir = m_dir.path();
        KxTest::WriteBytes(path("dialplan/office.dpd"), "[General]\r\nContextName=elsewhere\r\nCallTimeout=20\r\n");
        db.LoadGlobals();
        QCOMPARE(db.DialplanDomainXML->ContextName, QStringLiteral("office"));
        QCOMPARE(db.DialplanDomainXML->Domain, QStringLiteral("office"));
        QCOMPARE(db.DialplanDomainXML->CallTimeout, 20);
        db.DialplanDomainXML->GenerateXML(path("dialplan/office.xml"));
        const QStringList x = db.DialplanDomainXML->XMLText;
        QVERIFY(x.contains(R"~(  <context name="office">)~"));
        QVERIFY(x.contains("    <X-PRE-PROCESS cmd=\"include\" data=\"office/*.xml\"/>"));
    }
};

KX_TEST_MAIN(TestDialplanContext)
#include "tst_DialplanContext.moc"
