// kestrix-cli globals: every object's fields set by name, the generated files
// rewritten, the ten files entered as pending uploads, and refused values
// that leave everything as it was.
#include "KxCli.h"
#include "KxTest.h"

#include "core/DBInterface.h"

class TestCliGlobals : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_work;

    KxCli::TResult cli(const QStringList& args) const
    {
        return KxCli::Run(QStringList{QStringLiteral("--workdir"), m_work->path(), QStringLiteral("--domain"),
                                      QStringLiteral("office"), QStringLiteral("--server"), QStringLiteral("192.0.2.10")}
                          + args);
    }
    QString w(const QString& rel) const { return m_work->path() + u'/' + rel; }
    QStringList pending() const
    {
        const KxCli::TResult r = cli({QStringLiteral("pending"), QStringLiteral("--json")});
        QStringList lines;
        for (const QJsonValue& v : r.Json().array())
            lines << v[QStringLiteral("DestFolder")].toString() + v[QStringLiteral("SrcFile")].toString();
        return lines;
    }
    // The line of a generated file that holds the marker, CR LF included.
    static QByteArray lineWith(const QString& path, const QByteArray& marker)
    {
        for (const QByteArray& l : KxTest::ReadBytes(path).split('\n'))
            if (l.contains(marker)) return l + '\n';
        return {};
    }

private slots:
    void init()
    {
        QDir(TDBInterface::PendingChangesFolder()).removeRecursively();
        m_work = std::make_unique<QTemporaryDir>();
    }

    void setWritesTheObjectsFiles_data()
    {
        QTest::addColumn<QString>("assignment");
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QJsonValue>("shown");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("vars Boolean 0") << "vars.ZRTPSecureMedia=0" << "vars" << "ZRTPSecureMedia" << QJsonValue(false)
                                        << "vars.xml" << QByteArray("  <X-PRE-PROCESS cmd=\"set\" data=\"zrtp_secure_media=false\"/>\r\n");
        QTest::newRow("vars string") << "OutboundCallerName=Kestrix & Co" << "vars" << "OutboundCallerName"
                                     << QJsonValue(QStringLiteral("Kestrix & Co")) << "vars.xml"
                                     << QByteArray("  <X-PRE-PROCESS cmd=\"set\" data=\"outbound_caller_name=Kestrix &amp; Co\"/>\r\n");
        QTest::newRow("internal Boolean 1") << "internal.LogAuthFailures=1" << "internal" << "LogAuthFailures" << QJsonValue(true)
                                            << "sip_profiles/internal.xml"
                                            << QByteArray("    <param name=\"log-auth-failures\" value=\"true\"/>\r\n");
        QTest::newRow("internal integer") << "internal.rfc2833pt=102" << "internal" << "rfc2833pt" << QJsonValue(102)
                                          << "sip_profiles/internal.xml"
                                          << QByteArray("    <param name=\"rfc2833-pt\" value=\"102\"/>\r\n");
        QTest::newRow("external Boolean true") << "external.AuthCalls=true" << "external" << "AuthCalls" << QJsonValue(true)
                                               << "sip_profiles/external.xml"
                                               << QByteArray("    <param name=\"auth-calls\" value=\"true\"/>\r\n");
        QTest::newRow("external Boolean false") << "external.AuthCalls=FALSE" << "external" << "AuthCalls" << QJsonValue(false)
                                                << "sip_profiles/external.xml"
                                                << QByteArray("    <param name=\"auth-calls\" value=\"false\"/>\r\n");
        QTest::newRow("external integer") << "external.DTMFDuration=2000" << "external" << "DTMFDuration" << QJsonValue(2000)
                                          << "sip_profiles/external.xml"
                                          << QByteArray("    <param name=\"dtmf-duration\" value=\"2000\"/>\r\n");
        QTest::newRow("external string escaped") << "external.HoldMusic=moh & <x>" << "external" << "HoldMusic"
                                                 << QJsonValue(QStringLiteral("moh & <x>")) << "sip_profiles/external.xml"
                                                 << QByteArray("    <param name=\"hold-music\" value=\"moh &amp; &lt;x&gt;\"/>\r\n");
        QTest::newRow("dialplan integer") << "dialplan.CallTimeout=40" << "dialplan" << "CallTimeout" << QJsonValue(40)
                                          << "dialplan/office.xml"
                                          << QByteArray("        <action application=\"set\" data=\"call_timeout=40\"/>\r\n");
    }
    void setWritesTheObjectsFiles()
    {
        QFETCH(QString, assignment);
        QFETCH(QString, object);
        QFETCH(QString, field);
        QFETCH(QJsonValue, shown);
        QFETCH(QString, file);
        QFETCH(QByteArray, line);
        KXCLI_EXPECT(cli({QStringLiteral("globals"), QStringLiteral("set"), assignment}), 0);

        const KxCli::TResult r = cli({QStringLiteral("globals"), QStringLiteral("show"), object, QStringLiteral("--json")});
        KXCLI_EXPECT(r, 0);
        QCOMPARE(r.Json().object().value(field), shown);
        QCOMPARE(lineWith(w(file), line.left(line.lastIndexOf('='))), line);

        // The window's Save: record file and generated file of each object.
        QCOMPARE(pending(), (QStringList{"/etc/freeswitch/vars.vrs", "/etc/freeswitch/vars.xml",
                                         "/etc/freeswitch/dialplan/office.dpd", "/etc/freeswitch/dialplan/office.xml",
                                         "/etc/freeswitch/directory/office.ddm", "/etc/freeswitch/directory/office.xml",
                                         "/etc/freeswitch/sip_profiles/internal.six", "/etc/freeswitch/sip_profiles/internal.xml",
                                         "/etc/freeswitch/sip_profiles/external.sex", "/etc/freeswitch/sip_profiles/external.xml"}));
        for (const QString& f : pending()) QVERIFY2(QFile::exists(w(f.mid(16))), qPrintable(f));
    }

    // A refused assignment, also after valid ones, writes nothing.
    void refusedValuesWriteNothing_data()
    {
        QTest::addColumn<QStringList>("assignments");
        QTest::addColumn<QString>("message");
        QTest::newRow("integer") << QStringList{"external.AuthCalls=1", "external.DTMFDuration=2k"} << "whole number";
        QTest::newRow("Boolean") << QStringList{"internal.TLSOnly=maybe"} << "TLSOnly";
        QTest::newRow("unknown field of an object")
            << QStringList{"external.Colour=red"} << "external has no field \"Colour\"; its fields are: AuthCalls, Context,";
        QTest::newRow("unknown field") << QStringList{"dialplan.CallTimeout=30", "Colour=red"}
                                       << "No global setting is named \"Colour\"";
        QTest::newRow("line break") << QStringList{"vars.OutboundCallerName=a\nb"} << "line break";
    }
    void refusedValuesWriteNothing()
    {
        QFETCH(QStringList, assignments);
        QFETCH(QString, message);
        KXCLI_EXPECT(cli({QStringLiteral("globals"), QStringLiteral("set"), QStringLiteral("vars.CallDebug=false")}), 0);
        const QByteArray external = KxTest::ReadBytes(w(QStringLiteral("sip_profiles/external.xml")));
        const QByteArray dialplan = KxTest::ReadBytes(w(QStringLiteral("dialplan/office.xml")));
        const QStringList before = pending();

        const KxCli::TResult r = cli(QStringList{QStringLiteral("globals"), QStringLiteral("set")} + assignments);
        QVERIFY(r.ExitCode != 0);
        QCOMPARE(r.ErrText().count(u'\n'), 1);
        QVERIFY2(r.ErrText().contains(message, Qt::CaseInsensitive), qPrintable(r.ErrText()));
        QCOMPARE(KxTest::ReadBytes(w(QStringLiteral("sip_profiles/external.xml"))), external);
        QCOMPARE(KxTest::ReadBytes(w(QStringLiteral("dialplan/office.xml"))), dialplan);
        QCOMPARE(pending(), before);
    }
};

KX_TEST_MAIN(TestCliGlobals)
#include "tst_CliGlobals.moc"
