// Commit against the test server with the real psftp and plink: what reaches
// the server, what stays in the list of changes, and when the engine reloads.
#include "ServerTestSupport.h"
#include "core/Store.h"

using namespace ServerTest;

class TestServerCommit : public QObject {
    Q_OBJECT
    std::unique_ptr<TWorkspace> m_ws;

private slots:
    void initTestCase()
    {
        if (!Available()) QSKIP("runs only inside tests/sshd/with-test-sshd.sh");
    }
    void init()
    {
        ResetServer();
        m_ws = std::make_unique<TWorkspace>();
    }
    void cleanup() { m_ws.reset(); }

    void putsAndDeletesReachTheServerWithOneReload()
    {
        TWorkspace& ws = *m_ws;
        ws.Put(QStringLiteral("directory/default"), QStringLiteral("1001.usr"), "[General]\r\nId=2\r\n");
        ws.Put(QStringLiteral("directory/default"), QStringLiteral("1001.xml"), "<include>1001</include>\r\n");
        ws.Put(QStringLiteral("directory/office"), QStringLiteral("2000.xml"), "<include>2000</include>\r\n"); // new server folder
        ws.Put(QStringLiteral("dialplan/public"), QStringLiteral("01 late route.xml"), "<include/>\r\n");
        ws.Delete(QStringLiteral("directory/default"), QStringLiteral("1000.xml"));
        ws.Delete(QStringLiteral("dialplan/public"), QStringLiteral("00 inbound.xml"));
        ws.Delete(QStringLiteral("dialplan/public"), QStringLiteral("never-uploaded.xml"));

        const TTransferResult r = ws.Db->CommitFiles(Login());
        QVERIFY2(r.Ok, qPrintable(r.Text()));
        QCOMPARE(r.Transferred, 7);
        QCOMPARE(ws.Pending(), QStringList{});
        for (const QString& f : {QStringLiteral("directory/default/1001.usr"), QStringLiteral("directory/default/1001.xml"),
                                 QStringLiteral("directory/office/2000.xml"), QStringLiteral("dialplan/public/01 late route.xml")})
            QCOMPARE(KxTest::ReadBytes(QStringLiteral("/etc/freeswitch/") + f), KxTest::ReadBytes(ws.W() + f));
        QVERIFY(!QFile::exists(QStringLiteral("/etc/freeswitch/directory/default/1000.xml")));
        QVERIFY(!QFile::exists(QStringLiteral("/etc/freeswitch/dialplan/public/00 inbound.xml")));
        QCOMPARE(Calls(), QByteArray("fs_cli -x reloadxml\n"));
        QCOMPARE(ws.Sink.Statuses, (QStringList{QStringLiteral("Uploading file(s) to server..."),
                                                QStringLiteral("Reloading files on server..."),
                                                QStringLiteral("Issuing command to server...")}));

        // The script of the commit, as left in the working directory.
        const QString d = ws.W() + QStringLiteral("directory/default/");
        const QString o = ws.W() + QStringLiteral("directory/office/");
        const QString p = ws.W() + QStringLiteral("dialplan/public/");
        const QString sd = QStringLiteral("/etc/freeswitch/directory/default/");
        const QString so = QStringLiteral("/etc/freeswitch/directory/office/");
        const QString sp = QStringLiteral("/etc/freeswitch/dialplan/public/");
        auto q = [](const QString& s) { return u'"' + s + u'"'; };
        KxTest::CompareLines(KxTest::ReadBytes(ws.W() + QStringLiteral("batchfile.scr")),
                             {"lcd " + q(d), "mkdir " + q(sd), "cd " + q(sd), "put " + q(d + "1001.usr") + ' ' + q(sd + "1001.usr"),
                              "lcd " + q(d), "mkdir " + q(sd), "cd " + q(sd), "put " + q(d + "1001.xml") + ' ' + q(sd + "1001.xml"),
                              "lcd " + q(o), "mkdir " + q(so), "cd " + q(so), "put " + q(o + "2000.xml") + ' ' + q(so + "2000.xml"),
                              "lcd " + q(p), "mkdir " + q(sp), "cd " + q(sp),
                              "put " + q(p + "01 late route.xml") + ' ' + q(sp + "01 late route.xml"),
                              "cd " + q(sd), "del " + q(sd + "1000.xml"),
                              "cd " + q(sp), "del " + q(sp + "00 inbound.xml"),
                              "cd " + q(sp), "del " + q(sp + "never-uploaded.xml"),
                              "quit"});
    }

    // Nothing reached the server: every entry stays, in its place, and the
    // engine is not asked to reload.
    void failedConnectionKeepsEveryEntry_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("message");
        QTest::newRow("wrong password") << Host() << "wrong password" << false << "did not accept the root password";
        QTest::newRow("nobody listening") << Host() + ":2999" << Password() << false << "Unable to connect to the server";
        QTest::newRow("cancelled") << Host() << Password() << true << "The transfer was cancelled";
    }
    void failedConnectionKeepsEveryEntry()
    {
        QFETCH(QString, address);
        QFETCH(QString, password);
        QFETCH(bool, cancel);
        QFETCH(QString, message);
        TWorkspace& ws = *m_ws;
        ws.Sink.Cancel = cancel;
        ws.Put(QStringLiteral("directory/default"), QStringLiteral("1001.xml"), "<include/>\r\n");
        ws.Delete(QStringLiteral("directory/default"), QStringLiteral("1000.xml"));
        ws.Put(QStringLiteral(""), QStringLiteral("vars.xml"), "<include/>\r\n");
        const QStringList before = ws.Pending();

        const TTransferResult r = ws.Db->CommitFiles(TServerLogin{address, password});
        QVERIFY(!r.Ok);
        QCOMPARE(r.Cancelled, cancel);
        QVERIFY2(r.Text().contains(message), qPrintable(r.Text()));
        QCOMPARE(ws.Pending(), before);
        QCOMPARE(Calls(), QByteArray());
        QVERIFY(QFile::exists(QStringLiteral("/etc/freeswitch/directory/default/1000.xml")));
        QVERIFY(!QFile::exists(QStringLiteral("/etc/freeswitch/directory/default/1001.xml")));
    }

    void failedUploadKeepsJustThatEntry()
    {
        TWorkspace& ws = *m_ws;
        QVERIFY(QDir().mkpath(QStringLiteral("/etc/freeswitch/locked")));
        Ctl({QStringLiteral("readonly"), QStringLiteral("/etc/freeswitch/locked")});
        ws.Put(QStringLiteral("directory/default"), QStringLiteral("1001.xml"), "<include>1001</include>\r\n");
        ws.Put(QStringLiteral("locked"), QStringLiteral("blocked.xml"), "<include>blocked</include>\r\n");
        ws.Put(QStringLiteral("dialplan/default"), QStringLiteral("01_after.xml"), "<include>after</include>\r\n");

        TTransferResult r = ws.Db->CommitFiles(Login());
        QVERIFY(!r.Ok);
        QCOMPARE(r.Transferred, 2);
        QCOMPARE(ws.Pending(), QStringList{QStringLiteral("0 /etc/freeswitch/locked/blocked.xml")});
        QCOMPARE(r.Failures.size(), size_t(1));
        QCOMPARE(r.Failures[0].File, QStringLiteral("blocked.xml"));
        QCOMPARE(r.Failures[0].ServerFolder, QStringLiteral("/etc/freeswitch/locked/"));
        QVERIFY2(r.Failures[0].Reason.contains(QStringLiteral("open for write")), qPrintable(r.Failures[0].Reason));
        QVERIFY2(r.Text().contains(QStringLiteral("blocked.xml")), qPrintable(r.Text()));
        QVERIFY(QFile::exists(QStringLiteral("/etc/freeswitch/directory/default/1001.xml")));
        QVERIFY(QFile::exists(QStringLiteral("/etc/freeswitch/dialplan/default/01_after.xml")));
        QCOMPARE(Calls(), QByteArray("fs_cli -x reloadxml\n"));

        // Still locked: nothing goes through, so no second reload.
        r = ws.Db->CommitFiles(Login());
        QVERIFY(!r.Ok);
        QCOMPARE(r.Transferred, 0);
        QCOMPARE(ws.Pending().size(), 1);
        QCOMPARE(Calls(), QByteArray("fs_cli -x reloadxml\n"));

        // Once the folder can be written, the kept entry goes through.
        Ctl({QStringLiteral("writable"), QStringLiteral("/etc/freeswitch/locked")});
        r = ws.Db->CommitFiles(Login());
        QVERIFY2(r.Ok, qPrintable(r.Text()));
        QCOMPARE(ws.Pending(), QStringList{});
        QCOMPARE(KxTest::ReadBytes(QStringLiteral("/etc/freeswitch/locked/blocked.xml")), QByteArray("<include>blocked</include>\r\n"));
        QCOMPARE(Calls(), QByteArray("fs_cli -x reloadxml\nfs_cli -x reloadxml\n"));
    }

    void failedReloadIsReported()
    {
        TWorkspace& ws = *m_ws;
        const QString reply = QStringLiteral("+OK [error near line 3]: missing > in element <include");
        Ctl({QStringLiteral("reload-reply"), reply});
        ws.Put(QStringLiteral("directory/default"), QStringLiteral("1001.xml"), "<include\r\n");
        const TTransferResult r = ws.Db->CommitFiles(Login());
        QVERIFY(!r.Ok);
        QVERIFY2(r.Text().contains(reply), qPrintable(r.Text()));
        QVERIFY2(r.Text().contains(QStringLiteral("did not reload")), qPrintable(r.Text()));
        QCOMPARE(r.Transferred, 1);
        QCOMPARE(ws.Pending(), QStringList{}); // the file itself did arrive
        QCOMPARE(Calls(), QByteArray("fs_cli -x reloadxml\n"));
    }

    // A reload neither starts new gateways nor applies changed ones: the
    // changed and deleted trunks are stopped by name and the profile rescanned.
    void changedTrunksAreMadeLive()
    {
        TWorkspace& ws = *m_ws;
        ws.Put(QStringLiteral("sip_profiles/external"), QStringLiteral("carrier.trk"), "[General]\r\nName=carrier\r\n");
        ws.Put(QStringLiteral("sip_profiles/external"), QStringLiteral("carrier.xml"), "<include/>\r\n");
        ws.Delete(QStringLiteral("sip_profiles/external"), QStringLiteral("example.xml"));
        ws.Put(QStringLiteral("directory/default"), QStringLiteral("1001.xml"), "<include/>\r\n");
        const TTransferResult r = ws.Db->CommitFiles(Login());
        QVERIFY2(r.Ok, qPrintable(r.Text()));
        QCOMPARE(Calls(), QByteArray("fs_cli -x reloadxml\n"
                                     "fs_cli -x sofia profile external killgw carrier\n"
                                     "fs_cli -x sofia profile external killgw example\n"
                                     "fs_cli -x sofia profile external rescan\n"));
    }
};

KX_TEST_MAIN(TestServerCommit)
#include "tst_ServerCommit.moc"
