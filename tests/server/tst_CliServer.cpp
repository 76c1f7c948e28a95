// kestrix-cli download, commit and reload against the test server: the real
// executable with the real psftp and plink, checked on the server's side.
#include "KxCli.h"
#include "ServerTestSupport.h"
#include "core/KXCB.h"
#include "core/Store.h"

using namespace ServerTest;

class TestCliServer : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;

    QString work() const { return m_dir->path() + QStringLiteral("/work"); }
    QStringList base(const QString& server = Host()) const
    {
        return {QStringLiteral("--workdir"), work(), QStringLiteral("--domain"), QStringLiteral("default"),
                QStringLiteral("--server"), server};
    }
    KxCli::TResult cli(const QStringList& args, const QByteArray& input = {}) const
    {
        return KxCli::Run(base() + args, input);
    }
    // A command that reads the root password from standard input.
    KxCli::TResult withPassword(const QStringList& args, const QString& password = Password()) const
    {
        return cli(QStringList{QStringLiteral("--password-stdin")} + args, password.toUtf8() + '\n');
    }
    QJsonArray pending() const
    {
        const KxCli::TResult r = cli({QStringLiteral("pending"), QStringLiteral("--json")});
        return r.Json().array();
    }
    QStringList pendingPaths() const
    {
        QStringList paths;
        for (const QJsonValue& v : pending())
            paths << v[QStringLiteral("DestFolder")].toString() + v[QStringLiteral("SrcFile")].toString();
        return paths;
    }
    void addUser(const QString& ext)
    {
        KXCLI_EXPECT(cli({QStringLiteral("users"), QStringLiteral("add"), ext, QStringLiteral("Name=Ann Lee"),
                          QStringLiteral("Password=Secr3tX7")}),
                     0);
    }
    // The error is one line, the last one on standard error.
    static QString lastErrLine(const KxCli::TResult& r)
    {
        const QStringList lines = r.ErrText().split(u'\n', Qt::SkipEmptyParts);
        return lines.isEmpty() ? QString() : lines.last();
    }

private slots:
    void initTestCase()
    {
        if (!Available()) QSKIP("runs only inside tests/sshd/with-test-sshd.sh");
    }
    void init()
    {
        ResetServer();
        QDir(TDBInterface::PendingChangesFolder()).removeRecursively();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(work()));
    }
    void cleanup() { m_dir.reset(); }

    void commitUploadsTheUsersFilesAndReloadsOnce()
    {
        addUser(QStringLiteral("1001"));
        const QStringList files = pendingPaths();
        QVERIFY(files.contains(QStringLiteral("/etc/freeswitch/directory/default/1001.usr")));
        QVERIFY(files.contains(QStringLiteral("/etc/freeswitch/directory/default/1001.xml")));

        const KxCli::TResult r = withPassword({QStringLiteral("commit"), QStringLiteral("--json")});
        KXCLI_EXPECT(r, 0);
        QCOMPARE(r.Json()[QStringLiteral("Ok")].toBool(), true);
        QCOMPARE(r.Json()[QStringLiteral("Transferred")].toInt(), int(files.size()));
        QCOMPARE(r.Json()[QStringLiteral("Pending")].toInt(), 0);
        // Inside the namespace the server's tree is /etc/freeswitch.
        for (const QString& f : files) {
            const QString rel = f.mid(QStringLiteral("/etc/freeswitch/").size());
            QVERIFY2(QFile::exists(f), qPrintable(f));
            QCOMPARE(KxTest::ReadBytes(f), KxTest::ReadBytes(work() + u'/' + rel));
        }
        QCOMPARE(Calls(), QByteArray("fs_cli -x reloadxml\n"));
        QCOMPARE(pending(), QJsonArray());

        // Nothing left: no password asked for, no reload.
        const KxCli::TResult again = cli({QStringLiteral("commit")});
        KXCLI_EXPECT(again, 0);
        QVERIFY2(again.OutText().contains(QStringLiteral("Nothing is waiting to be committed.")), qPrintable(again.OutText()));
        QCOMPARE(Calls(), QByteArray("fs_cli -x reloadxml\n"));
    }

    // Nothing reaches the server: a non-zero status, a one-line error, and
    // every pending change still stored. "local" starts no tool at all.
    void failedCommitKeepsThePendingList_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("wrong password") << Host() << "wrong password" << 1 << "did not accept the root password";
        QTest::newRow("nobody listening") << Host() + ":2999" << Password() << 1 << "Unable to connect";
        QTest::newRow("local") << "local" << QString() << 0 << "nothing was sent to a server";
    }
    void failedCommitKeepsThePendingList()
    {
        QFETCH(QString, server);
        QFETCH(QString, password);
        QFETCH(int, status);
        QFETCH(QString, message);
        addUser(QStringLiteral("1001"));
        addUser(QStringLiteral("1002"));
        const QJsonArray before = pending();
        QCOMPARE(before.size(), 4);

        const KxCli::TResult r = KxCli::Run(base(server) + QStringList{QStringLiteral("--password-stdin"), QStringLiteral("commit")},
                                            password.toUtf8() + '\n');
        KXCLI_EXPECT(r, status);
        if (status != 0) {
            QVERIFY2(lastErrLine(r).startsWith(QStringLiteral("kestrix-cli: ")), qPrintable(r.ErrText()));
            QVERIFY2(r.ErrText().contains(message), qPrintable(r.ErrText()));
        } else {
            QVERIFY2(r.OutText().contains(message), qPrintable(r.OutText()));
        }
        QCOMPARE(pending(), before);
        QCOMPARE(Calls(), QByteArray());
        QVERIFY(!QFile::exists(QStringLiteral("/etc/freeswitch/directory/default/1001.xml")));
    }

    // A changed host key: refused with its fingerprint shown; accepted only
    // with exactly that fingerprint.
    void changedHostKeyIsAcceptedOnlyByFingerprint()
    {
        KXCLI_EXPECT(withPassword({QStringLiteral("reload")}), 0); // key a is stored
        Ctl({QStringLiteral("swap-hostkey")});
        const QString newKey = Ctl({QStringLiteral("fingerprint"), QStringLiteral("b")});
        const QString oldKey = Ctl({QStringLiteral("fingerprint"), QStringLiteral("a")});
        addUser(QStringLiteral("1001"));

        KxCli::TResult r = withPassword({QStringLiteral("commit")});
        KXCLI_EXPECT(r, 1);
        QVERIFY2(lastErrLine(r).contains(QStringLiteral("--accept-host-key ") + newKey), qPrintable(r.ErrText()));
        QVERIFY2(r.ErrText().contains(QStringLiteral("fingerprint")), qPrintable(r.ErrText()));
        QCOMPARE(pending().size(), 2);

        r = withPassword({QStringLiteral("commit"), QStringLiteral("--accept-host-key"), oldKey});
        KXCLI_EXPECT(r, 1);
        QVERIFY2(lastErrLine(r).contains(QStringLiteral("--accept-host-key ") + newKey), qPrintable(r.ErrText()));
        QCOMPARE(pending().size(), 2);
        QCOMPARE(Calls(), QByteArray("fs_cli -x reloadxml\n"));

        r = withPassword({QStringLiteral("commit"), QStringLiteral("--accept-host-key"), newKey});
        KXCLI_EXPECT(r, 0);
        QCOMPARE(pending(), QJsonArray());
        QVERIFY(QFile::exists(QStringLiteral("/etc/freeswitch/directory/default/1001.xml")));
        QCOMPARE(Calls(), QByteArray("fs_cli -x reloadxml\nfs_cli -x reloadxml\n"));
    }

    // Into a working directory that does not exist yet; a file with a
    // pending upload keeps its local content on the next download.
    void downloadFillsAnEmptyWorkingDirectory()
    {
        QDir(work()).removeRecursively();
        const QString pwFile = m_dir->path() + QStringLiteral("/pw");
        KxTest::WriteBytes(pwFile, Password().toUtf8() + '\n');
        KxCli::TResult r = cli({QStringLiteral("--password-file"), pwFile, QStringLiteral("download")});
        KXCLI_EXPECT(r, 0);
        QVERIFY(r.Err.isEmpty()); // quiet without --verbose
        QStringList local = FilesUnder(work());
        local.removeAll(QStringLiteral("batchfile.scr"));
        QCOMPARE(local, FilesUnder(QStringLiteral("/etc/freeswitch")));
        QCOMPARE(KxTest::ReadBytes(work() + QStringLiteral("/freeswitch.xml")),
                 KxTest::ReadBytes(QStringLiteral("/etc/freeswitch/freeswitch.xml")));
        // The window's stored working directory is not used for --workdir's run.
        TKXControlBlock stored;
        stored.LoadFromFile();
        QVERIFY(!QFile::exists(Store::WithTrailingDelimiter(stored.WorkingDir) + QStringLiteral("batchfile.scr")));

        addUser(QStringLiteral("1001"));
        const QByteArray mine = KxTest::ReadBytes(work() + QStringLiteral("/directory/default/1001.xml"));
        KxTest::WriteBytes(QStringLiteral("/etc/freeswitch/directory/default/1001.xml"), "<include>server</include>\n");
        r = cli({QStringLiteral("--password-file"), pwFile, QStringLiteral("--verbose"), QStringLiteral("download")});
        KXCLI_EXPECT(r, 0);
        QVERIFY2(r.ErrText().contains(QStringLiteral("Downloading configuration files from server...")), qPrintable(r.ErrText()));
        QCOMPARE(KxTest::ReadBytes(work() + QStringLiteral("/directory/default/1001.xml")), mine);
        QCOMPARE(pending().size(), 2);
    }

    void reloadReadsTheEnginesAnswer_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("status");
        QTest::newRow("success") << QString() << 0;
        QTest::newRow("syntax error") << "+OK [error near line 3]: missing > in element <include" << 1;
        QTest::newRow("engine down") << "[ERROR] fs_cli.c:1679 main() Error Connecting []" << 1;
    }
    void reloadReadsTheEnginesAnswer()
    {
        QFETCH(QString, reply);
        QFETCH(int, status);
        if (!reply.isEmpty()) Ctl({QStringLiteral("reload-reply"), reply});
        const KxCli::TResult r = withPassword({QStringLiteral("reload")});
        KXCLI_EXPECT(r, status);
        QCOMPARE(Calls(), QByteArray("fs_cli -x reloadxml\n"));
        if (status == 0) {
            QVERIFY2(r.OutText().contains(QStringLiteral("reloaded its configuration")), qPrintable(r.OutText()));
            return;
        }
        QVERIFY(r.Out.isEmpty());
        const QString err = lastErrLine(r);
        QVERIFY2(err.startsWith(QStringLiteral("kestrix-cli: ")), qPrintable(r.ErrText()));
        QVERIFY2(r.ErrText().contains(reply), qPrintable(r.ErrText()));
        QVERIFY2(r.ErrText().contains(QStringLiteral("did not reload")), qPrintable(r.ErrText()));
    }

    // A delete reaches the server at the next commit; an upload the server
    // refuses stays pending by itself, the rest goes through and reloads.
    void deletesGoThroughAndARefusedUploadStays()
    {
        addUser(QStringLiteral("1001"));
        addUser(QStringLiteral("1002"));
        KXCLI_EXPECT(withPassword({QStringLiteral("commit")}), 0);
        KXCLI_EXPECT(cli({QStringLiteral("users"), QStringLiteral("delete"), QStringLiteral("1001")}), 0);
        QVERIFY(QDir().mkpath(QStringLiteral("/etc/freeswitch/sip_profiles/external")));
        Ctl({QStringLiteral("readonly"), QStringLiteral("/etc/freeswitch/sip_profiles/external")});
        KXCLI_EXPECT(cli({QStringLiteral("trunks"), QStringLiteral("add"), QStringLiteral("FlowRoute"), QStringLiteral("Name=Office")}), 0);

        const KxCli::TResult r = withPassword({QStringLiteral("commit")});
        Ctl({QStringLiteral("writable"), QStringLiteral("/etc/freeswitch/sip_profiles/external")});
        KXCLI_EXPECT(r, 1);
        QVERIFY2(r.ErrText().contains(QStringLiteral("Office.trk")), qPrintable(r.ErrText()));
        QVERIFY2(lastErrLine(r).startsWith(QStringLiteral("kestrix-cli: ")), qPrintable(r.ErrText()));
        QCOMPARE(pendingPaths(), (QStringList{QStringLiteral("/etc/freeswitch/sip_profiles/external/Office.trk"),
                                              QStringLiteral("/etc/freeswitch/sip_profiles/external/Office.xml")}));
        QVERIFY(!QFile::exists(QStringLiteral("/etc/freeswitch/directory/default/1001.usr")));
        QVERIFY(!QFile::exists(QStringLiteral("/etc/freeswitch/directory/default/1001.xml")));
        QVERIFY(QFile::exists(QStringLiteral("/etc/freeswitch/directory/default/1002.xml")));
        QCOMPARE(Calls(), QByteArray("fs_cli -x reloadxml\nfs_cli -x reloadxml\n"));
    }

    // On a terminal the password is asked for with the echo off: the
    // terminal never shows it.
    void promptOnATerminalHidesThePassword()
    {
        const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
        if (script.isEmpty()) QSKIP("needs script (util-linux) for a terminal");
        QStringList args = QStringList{KxCli::Program(), QStringLiteral("reload")} + base();
        for (QString& a : args) a = u'\'' + a + u'\'';
        QProcess p;
        p.setProcessEnvironment(KxCli::Environment());
        p.start(script, {QStringLiteral("-qec"), args.join(u' '), QStringLiteral("/dev/null")});
        QVERIFY(p.waitForStarted());
        QByteArray seen;
        while (!seen.contains("Root password for " + Host().toUtf8() + ": ") && p.waitForReadyRead(20000))
            seen += p.readAllStandardOutput();
        QVERIFY2(seen.contains("Root password for "), seen.constData());
        p.write(Password().toUtf8() + '\n');
        QVERIFY(p.waitForFinished(60000));
        seen += p.readAllStandardOutput();
        QCOMPARE(p.exitCode(), 0);
        QVERIFY2(seen.contains("reloaded its configuration"), seen.constData());
        QVERIFY(!seen.contains(Password().toUtf8()));
        QCOMPARE(Calls(), QByteArray("fs_cli -x reloadxml\n"));
    }

    void noPasswordWithoutATerminalIsAUsageError()
    {
        addUser(QStringLiteral("1001"));
        const KxCli::TResult r = cli({QStringLiteral("commit")});
        KXCLI_EXPECT(r, 2);
        QVERIFY(lastErrLine(r).contains(QStringLiteral("--password-file FILE or --password-stdin")));
        QCOMPARE(pending().size(), 2);
        QCOMPARE(Calls(), QByteArray());
    }
};

KX_TEST_MAIN(TestCliServer)
#include "tst_CliServer.moc"
