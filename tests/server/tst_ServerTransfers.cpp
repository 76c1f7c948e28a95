// Downloads, single transfers, server commands, host keys and the password,
// against the test server with the real psftp and plink.
#include "ServerTestSupport.h"
#include "core/Store.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace ServerTest;

class TestServerTransfers : public QObject {
    Q_OBJECT
    std::unique_ptr<TWorkspace> m_ws;

    static QString serverText(const QString& path) { return QString::fromUtf8(KxTest::ReadBytes(path)); }

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

    // First contact: the unknown key is stored (PuTTY 0.78 asks with its long
    // wording) and not asked about again.
    void unknownHostKeyIsStoredOnFirstContact()
    {
        TWorkspace& ws = *m_ws;
        QVERIFY(!QFile::exists(PuttyHostKeys()));
        TTransferResult r = ws.Db->RunServerCommand(Login(), QStringLiteral("true"));
        QVERIFY2(r.Ok, qPrintable(r.Text()));
        QVERIFY(r.Output.join(u'\n').contains(QStringLiteral("Store key in cache? (y/n, Return cancels connection")));
        QVERIFY(KxTest::ReadBytes(PuttyHostKeys()).contains("@22:127.0.0.1"));
        r = ws.Db->RunServerCommand(Login(), QStringLiteral("true"));
        QVERIFY2(r.Ok, qPrintable(r.Text()));
        QVERIFY(!r.Output.join(u'\n').contains(QStringLiteral("Store key in cache?")));
        QCOMPARE(ws.Sink.Statuses, (QStringList{QStringLiteral("Issuing command to server..."),
                                                QStringLiteral("Issuing command to server...")}));
        QCOMPARE(ws.Sink.Steps, 2);
    }

    void commandFailureIsReported()
    {
        TWorkspace& ws = *m_ws;
        const TTransferResult r = ws.Db->RunServerCommand(Login(), QStringLiteral("echo broken; exit 3"));
        QVERIFY(!r.Ok);
        QVERIFY2(r.Text().contains(QStringLiteral("exit status 3")), qPrintable(r.Text()));
        QVERIFY2(r.Text().contains(QStringLiteral("broken")), qPrintable(r.Text()));
    }

    // The whole tree arrives in an empty working directory (here through the
    // second port, given as host:port).
    void downloadCopiesTheWholeTree()
    {
        TWorkspace& ws = *m_ws;
        KxTest::WriteBytes(ws.W() + QStringLiteral(".kestrix-download-left/vars.xml"), "left by a killed run");
        const TServerLogin login{Host() + QStringLiteral(":") + Env("KX_TEST_SERVER_ALT_PORT"), Password()};
        const TTransferResult r = ws.Db->DownloadConfiguration(login, QStringLiteral("/etc/freeswitch/"), ws.Dir.path());
        QVERIFY2(r.Ok, qPrintable(r.Text()));
        QStringList local = FilesUnder(ws.Dir.path());
        local.removeOne(QStringLiteral("batchfile.scr"));
        QCOMPARE(local, FilesUnder(Fixture()));
        for (const QString& f : local)
            QCOMPARE(KxTest::ReadBytes(ws.W() + f), KxTest::ReadBytes(Fixture() + u'/' + f));
        QCOMPARE(r.Transferred, local.size());
        QCOMPARE(ws.Sink.Statuses, QStringList{QStringLiteral("Downloading configuration files from server...")});

        // The next download's progress bar is scaled by this one's output.
        TKXControlBlock settings;
        settings.LoadFromFile();
        QCOMPARE(settings.MaxProgBarInitialTransfer, int(r.Output.size()));
        QVERIFY(settings.MaxProgBarInitialTransfer > local.size());

        const QStringList script = QString::fromUtf8(KxTest::ReadBytes(ws.W() + QStringLiteral("batchfile.scr"))).split(QStringLiteral("\r\n"));
        QCOMPARE(script.size(), 3);
        QVERIFY2(script[0].startsWith(QStringLiteral("get -r \"/etc/freeswitch/\" \"") + ws.W()), qPrintable(script[0]));
        QCOMPARE(script[1], QStringLiteral("quit"));
    }

    void downloadOfAMissingFolderFails()
    {
        TWorkspace& ws = *m_ws;
        TKXControlBlock settings;
        settings.LoadFromFile();
        const int barMax = settings.MaxProgBarInitialTransfer;
        const TTransferResult r = ws.Db->DownloadConfiguration(Login(), QStringLiteral("/etc/nothere/"), ws.Dir.path());
        QVERIFY(!r.Ok);
        QVERIFY2(r.Text().contains(QStringLiteral("/etc/nothere/")), qPrintable(r.Text()));
        QCOMPARE(FilesUnder(ws.Dir.path()), QStringList{QStringLiteral("batchfile.scr")});
        settings.LoadFromFile();
        QCOMPARE(settings.MaxProgBarInitialTransfer, barMax); // a failed download does not rescale the bar
    }

    // The setup wizard's download: the address becomes the stored one first,
    // the tree lands in the working directory of the settings it was given.
    void setupWizardDownload()
    {
        TWorkspace& ws = *m_ws;
        QTemporaryDir wizardDir;
        TKXControlBlock settings;
        settings.LoadFromFile();
        settings.WorkingDir = wizardDir.path();
        settings.LastIPAddress = QStringLiteral("192.0.2.1");
        TRecorder wizardProgress;

        TTransferResult r = ws.Db->SetupWizardDownload(Login(QStringLiteral("wrong")), settings, &wizardProgress);
        QVERIFY(!r.Ok);
        TKXControlBlock stored;
        stored.LoadFromFile();
        QCOMPARE(stored.LastIPAddress, Host());
        QVERIFY(!QFile::exists(wizardDir.filePath(QStringLiteral("freeswitch.xml"))));

        r = ws.Db->SetupWizardDownload(Login(), settings, &wizardProgress);
        QVERIFY2(r.Ok, qPrintable(r.Text()));
        QVERIFY(QFile::exists(wizardDir.filePath(QStringLiteral("freeswitch.xml"))));
        QCOMPARE(wizardProgress.Max, 387);
        QCOMPARE(wizardProgress.Statuses.mid(2), (QStringList{QStringLiteral("Checking remote installation..."),
                                                              QStringLiteral("Copying files from server (Stage 5/5)...")}));
        QVERIFY(wizardProgress.Output.contains(QStringLiteral("freeswitch.xml")));
        QCOMPARE(ws.Sink.Statuses, QStringList{}); // the main progress window is left alone
    }

    // Saved but not yet committed: the local content survives a download, from
    // the list and from the changes stored at the last exit; a pending delete
    // stays deleted. Everything else is refreshed.
    void pendingChangesSurviveADownload()
    {
        TWorkspace& ws = *m_ws;
        TTransferResult r = ws.Db->DownloadConfiguration(Login(), QStringLiteral("/etc/freeswitch/"), ws.Dir.path());
        QVERIFY2(r.Ok, qPrintable(r.Text()));

        // Stored at the last exit (not yet read back at startup).
        ws.Put(QStringLiteral("directory/default"), QStringLiteral("1000.xml"), "<include>edited 1000</include>\r\n");
        ws.Db->SaveFilesNeedingCommiting();
        ws.Db->FilesNeedingCommiting->Clear();
        // In the list of this run.
        ws.Put(QStringLiteral(""), QStringLiteral("vars.xml"), "<include>edited vars</include>\r\n");
        ws.Delete(QStringLiteral("sip_profiles/external"), QStringLiteral("example.xml"));
        QVERIFY(QFile::remove(ws.W() + QStringLiteral("sip_profiles/external/example.xml")));
        // Meanwhile on the server.
        KxTest::WriteBytes(QStringLiteral("/etc/freeswitch/freeswitch.xml"), "<document>changed on the server</document>\n");
        KxTest::WriteBytes(QStringLiteral("/etc/freeswitch/vars.xml"), "<include>server vars</include>\n");

        r = ws.Db->DownloadConfiguration(Login(), QStringLiteral("/etc/freeswitch/"), ws.Dir.path());
        QVERIFY2(r.Ok, qPrintable(r.Text()));
        QCOMPARE(KxTest::ReadBytes(ws.W() + QStringLiteral("vars.xml")), QByteArray("<include>edited vars</include>\r\n"));
        QCOMPARE(KxTest::ReadBytes(ws.W() + QStringLiteral("directory/default/1000.xml")), QByteArray("<include>edited 1000</include>\r\n"));
        QVERIFY(!QFile::exists(ws.W() + QStringLiteral("sip_profiles/external/example.xml")));
        QCOMPARE(KxTest::ReadBytes(ws.W() + QStringLiteral("freeswitch.xml")), QByteArray("<document>changed on the server</document>\n"));
        QVERIFY2(r.Text().contains(QStringLiteral("vars.xml")) && r.Text().contains(QStringLiteral("directory/default/1000.xml")),
                 qPrintable(r.Text()));

        // The stored changes are still there to be read back, and a commit sends the local content.
        ws.Db->LoadFilesNeedingCommiting();
        QCOMPARE(ws.Pending().size(), 3);
        r = ws.Db->CommitFiles(Login());
        QVERIFY2(r.Ok, qPrintable(r.Text()));
        QCOMPARE(KxTest::ReadBytes(QStringLiteral("/etc/freeswitch/vars.xml")), QByteArray("<include>edited vars</include>\r\n"));
        QVERIFY(!QFile::exists(QStringLiteral("/etc/freeswitch/sip_profiles/external/example.xml")));
    }

    void singleFileTransfers()
    {
        TWorkspace& ws = *m_ws;
        TTransferResult r = ws.Db->DownloadFile(Login(), QStringLiteral("/etc/freeswitch/dialplan/public/"),
                                                QStringLiteral("00 inbound.xml"), ws.W());
        QVERIFY2(r.Ok, qPrintable(r.Text()));
        QCOMPARE(KxTest::ReadBytes(ws.W() + QStringLiteral("00 inbound.xml")),
                 KxTest::ReadBytes(Fixture() + QStringLiteral("/dialplan/public/00 inbound.xml")));
        KxTest::CompareLines(KxTest::ReadBytes(ws.W() + QStringLiteral("batchfile.scr")),
                             {QStringLiteral("cd \"/etc/freeswitch/dialplan/public/\""), "lcd \"" + ws.W() + "\"",
                              QStringLiteral("get \"00 inbound.xml\""), QStringLiteral("quit")});

        r = ws.Db->UploadFile(Login(), ws.W(), QStringLiteral("00 inbound.xml"), QStringLiteral("/etc/freeswitch/"));
        QVERIFY2(r.Ok, qPrintable(r.Text()));
        QVERIFY(QFile::exists(QStringLiteral("/etc/freeswitch/00 inbound.xml")));
        QCOMPARE(ws.Sink.Statuses, (QStringList{QStringLiteral("Downloading \"00 inbound.xml\" from server..."),
                                                QStringLiteral("Uploading \"00 inbound.xml\" to server...")}));

        r = ws.Db->DownloadFile(Login(), QStringLiteral("/etc/freeswitch/"), QStringLiteral("missing.xml"), ws.W());
        QVERIFY(!r.Ok);
        QVERIFY2(r.Text().contains(QStringLiteral("missing.xml")) && r.Text().contains(QStringLiteral("no such file")),
                 qPrintable(r.Text()));
    }

    void networkFileBecomesStatic_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("DHCP") << QByteArray("auto eth0\niface eth0 inet dhcp\n")
                              << QByteArray("auto eth0\n#iface eth0 inet dhcp\niface eth0 inet static\n"
                                            "     address 192.168.1.20\n     netmask 255.255.255.0\n     gateway 192.168.1.1\n");
        QTest::newRow("already static")
            << QByteArray("auto eth0\n#iface eth0 inet dhcp\niface eth0 inet static\n"
                          "     address 10.1.1.5\n     netmask 255.255.0.0\n     gateway 10.1.1.1\n")
            << QByteArray("auto eth0\n#iface eth0 inet dhcp\niface eth0 inet static\n"
                          "     address 192.168.1.20\n     netmask 255.255.255.0\n     gateway 192.168.1.1\n");
    }
    void networkFileBecomesStatic()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        TWorkspace& ws = *m_ws;
        KxTest::WriteBytes(QStringLiteral("/etc/network/interfaces"), before);
        KxTest::WriteBytes(ws.W() + QStringLiteral("interfaces"), "a stale copy of an earlier run\n");
        const TTransferResult r = ws.Db->EditNetworkInterfaces(Login(), QStringLiteral("192.168.1.20"),
                                                               QStringLiteral("255.255.255.0"), QStringLiteral("192.168.1.1"));
        QVERIFY2(r.Ok, qPrintable(r.Text()));
        QCOMPARE(KxTest::ReadBytes(QStringLiteral("/etc/network/interfaces")), after);
        QVERIFY(ws.Sink.Statuses.contains(QStringLiteral("Downloading network config file from server...")));
        QVERIFY(ws.Sink.Statuses.contains(QStringLiteral("Uploading modified network file back to server...")));
        // The caller then reboots the server.
        QVERIFY(ws.Db->RunServerCommand(Login(), QStringLiteral("reboot")).Ok);
        QCOMPARE(Calls(), QByteArray("reboot\n"));
    }

    void networkFileWithoutDhcpLineIsLeftAlone()
    {
        TWorkspace& ws = *m_ws;
        const QByteArray manual("auto eth0\niface eth0 inet manual\n");
        KxTest::WriteBytes(QStringLiteral("/etc/network/interfaces"), manual);
        try {
            ws.Db->EditNetworkInterfaces(Login(), QStringLiteral("192.168.1.20"), QStringLiteral("255.255.255.0"),
                                         QStringLiteral("192.168.1.1"));
            QFAIL("no exception");
        } catch (const EKXError& e) {
            QCOMPARE(e.Message, QStringLiteral("Unable to find the line \"iface eth0 inet dhcp\""));
        }
        QCOMPARE(KxTest::ReadBytes(QStringLiteral("/etc/network/interfaces")), manual);
    }

    // A changed host key is never taken silently: the run ends before the
    // password is sent, with the new fingerprint; only exactly the key the
    // administrator accepted is taken afterwards.
    void changedHostKeyNeedsTheAdministrator()
    {
        TWorkspace& ws = *m_ws;
        QVERIFY(ws.Db->RunServerCommand(Login(), QStringLiteral("true")).Ok); // key a is stored
        Ctl({QStringLiteral("swap-hostkey")});
        const QString newKey = Ctl({QStringLiteral("fingerprint"), QStringLiteral("b")});
        const QString oldKey = Ctl({QStringLiteral("fingerprint"), QStringLiteral("a")});
        QVERIFY(newKey.startsWith(QStringLiteral("SHA256:")));
        ws.Put(QStringLiteral("directory/default"), QStringLiteral("1001.xml"), "<include/>\r\n");

        TTransferResult r = ws.Db->CommitFiles(Login());
        QVERIFY(!r.Ok);
        QVERIFY(r.HostKeyChanged);
        QCOMPARE(r.HostKeyFingerprint, newKey);
        QCOMPARE(r.HostKeyLines.size(), 2);
        QVERIFY(r.HostKeyLines[1].endsWith(newKey));
        QVERIFY2(r.Text().contains(newKey), qPrintable(r.Text()));
        QCOMPARE(ws.Pending().size(), 1);
        QVERIFY(!QFile::exists(QStringLiteral("/etc/freeswitch/directory/default/1001.xml")));
        QCOMPARE(Calls(), QByteArray());

        // Another key than the one shown is refused as well.
        TServerLogin login = Login();
        login.AcceptedHostKey = oldKey;
        r = ws.Db->RunServerCommand(login, QStringLiteral("true"));
        QVERIFY(!r.Ok);
        QVERIFY(r.HostKeyChanged);

        login.AcceptedHostKey = newKey;
        r = ws.Db->CommitFiles(login);
        QVERIFY2(r.Ok, qPrintable(r.Text()));
        QCOMPARE(ws.Pending(), QStringList{});
        QCOMPARE(Calls(), QByteArray("fs_cli -x reloadxml\n"));
        // Stored now: the next run asks nothing.
        r = ws.Db->RunServerCommand(Login(), QStringLiteral("true"));
        QVERIFY2(r.Ok, qPrintable(r.Text()));
    }

    // While the tools run, no process carries the password on its command
    // line; it travels in a file of the current user that is gone afterwards.
    void passwordNeverOnACommandLine()
    {
        TWorkspace& ws = *m_ws;
        const QByteArray password = Password().toUtf8();
        int toolsSeen = 0;
        QStringList leaks;
        QStringList passwordFiles;
        ws.Sink.OnEvents = [&] {
            for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
                if (pid.toInt() <= 0) continue;
                const QByteArray cmd = KxTest::ReadBytes(QStringLiteral("/proc/") + pid + QStringLiteral("/cmdline"));
                if (cmd.contains(password)) leaks << QString::fromUtf8(cmd).replace(QChar(0), u' ');
                const QList<QByteArray> args = cmd.split('\0');
                if (args.isEmpty() || !(args[0].endsWith("psftp") || args[0].endsWith("plink"))) continue;
                ++toolsSeen;
                const qsizetype i = args.indexOf("-pwfile");
                if (i < 0 || i + 1 >= args.size()) continue;
                const QString file = QString::fromUtf8(args[i + 1]);
                struct stat st {};
                if (::stat(args[i + 1].constData(), &st) == 0 && (st.st_mode & 0777) == 0600 && st.st_uid == ::getuid()
                    && !passwordFiles.contains(file))
                    passwordFiles << file;
            }
        };
        ws.Put(QStringLiteral("directory/default"), QStringLiteral("1001.xml"), "<include/>\r\n");
        TTransferResult r = ws.Db->DownloadConfiguration(Login(), QStringLiteral("/etc/freeswitch/"), ws.Dir.path());
        QVERIFY2(r.Ok, qPrintable(r.Text()));
        r = ws.Db->CommitFiles(Login());
        QVERIFY2(r.Ok, qPrintable(r.Text()));
        QVERIFY2(toolsSeen > 0, "no tool was seen running");
        QCOMPARE(leaks, QStringList{});
        QVERIFY(!passwordFiles.isEmpty());
        for (const QString& f : passwordFiles) QVERIFY2(!QFile::exists(f), qPrintable(f));
        // Nor is it written anywhere else we can see.
        for (const QString& folder : {QDir::tempPath(), ws.Dir.path(), QDir::homePath()}) {
            for (const QString& f : FilesUnder(folder))
                QVERIFY2(!KxTest::ReadBytes(folder + u'/' + f).contains(password), qPrintable(folder + u'/' + f));
        }
    }
};

KX_TEST_MAIN(TestServerTransfers)
#include "tst_ServerTransfers.moc"
