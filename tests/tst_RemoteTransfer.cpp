// The transfer machinery without a server: scripts, command lines, the
// password file, the network file edit, and what happens before any tool runs.
#include "KxTest.h"
#include "core/DBInterface.h"
#include "core/Store.h"
#include "sync/RemoteTransfer.h"
#include "sync/SecureShellTools.h"

using namespace SecureShell;

class TestRemoteTransfer : public QObject {
    Q_OBJECT

private slots:
    void commitScriptQuotesEveryArgumentAndNamesFullPaths()
    {
        TFilesNeedingCommitingList list;
        list.Add(TFileNeedingCommiting(QStringLiteral("/w/directory/office/"), QStringLiteral("100.usr"),
                                       QStringLiteral("/etc/freeswitch/directory/office/"), fnaaPut));
        list.Add(TFileNeedingCommiting(QString(), QStringLiteral("00 my \"route\".xml"),
                                       QStringLiteral("/etc/freeswitch/dialplan/public/"), fnaaDelete));
        const RemoteTransfer::TCommitScript s = RemoteTransfer::BuildCommitScript(list);
        QCOMPARE(s.Lines, (QStringList{
                              QStringLiteral("lcd \"/w/directory/office/\""),
                              QStringLiteral("mkdir \"/etc/freeswitch/directory/office/\""),
                              QStringLiteral("cd \"/etc/freeswitch/directory/office/\""),
                              QStringLiteral("put \"/w/directory/office/100.usr\" \"/etc/freeswitch/directory/office/100.usr\""),
                              QStringLiteral("cd \"/etc/freeswitch/dialplan/public/\""),
                              QStringLiteral("del \"/etc/freeswitch/dialplan/public/00 my \"\"route\"\".xml\""),
                          }));
        QCOMPARE(s.EntryLine, (std::vector<int>{3, 5}));

        QTemporaryDir dir;
        const QString path = BatchScriptPath(dir.path());
        QCOMPARE(path, dir.path() + QStringLiteral("/batchfile.scr"));
        WriteBatchScript(path, s.Lines);
        KxTest::CompareLines(KxTest::ReadBytes(path), s.Lines + QStringList{QStringLiteral("quit")});
    }

    // An unknown action stops the commit before anything is written or run,
    // and the list stays as it was.
    void unknownActionStopsTheCommit()
    {
        QTemporaryDir dir;
        TDBInterface db(QStringLiteral("office"), nullptr);
        db.ControlBlock->WorkingDir = dir.path();
        db.FilesNeedingCommiting->Add(TFileNeedingCommiting(dir.path() + u'/', QStringLiteral("a.xml"),
                                                            QStringLiteral("/etc/freeswitch/"), fnaaPut));
        db.FilesNeedingCommiting->Add(TFileNeedingCommiting(QString(), QStringLiteral("b.xml"),
                                                            QStringLiteral("/etc/freeswitch/"), 2));
        try {
            db.CommitFiles({QStringLiteral("192.0.2.1"), QStringLiteral("pw")});
            QFAIL("no exception");
        } catch (const EKXError& e) {
            QCOMPARE(e.Message, QStringLiteral("Unable to determine fnaaActionType"));
        }
        QCOMPARE(db.FilesNeedingCommiting->Count(), 2);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("batchfile.scr"))));
    }

    // "local" means there is no server: no tool is looked for or started.
    void localAddressStartsNoTool()
    {
        QTemporaryDir dir;
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", "/nonexistent"); // any tool start would fail loudly
        TDBInterface db(QStringLiteral("office"), nullptr);
        db.ControlBlock->WorkingDir = dir.path();
        db.ControlBlock->SaveToFile();
        db.FilesNeedingCommiting->Add(TFileNeedingCommiting(QString(), QStringLiteral("b.xml"),
                                                            QStringLiteral("/etc/freeswitch/"), fnaaDelete));
        const TServerLogin local{QStringLiteral("local"), QString()};
        const TTransferResult down = db.DownloadConfiguration(local, QStringLiteral("/etc/freeswitch/"), dir.path());
        const TTransferResult commit = db.CommitFiles(local);
        qputenv("PATH", oldPath);
        QVERIFY(down.Ok);
        QVERIFY(commit.Ok);
        QCOMPARE(db.FilesNeedingCommiting->Count(), 1);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{});
    }

    void missingToolNamesBothPlaces()
    {
        const QByteArray oldPath = qgetenv("PATH");
        QTemporaryDir bin;
        qputenv("PATH", bin.path().toUtf8());
        QString message;
        try {
            FindTool(QStringLiteral("psftp"));
        } catch (const EKXError& e) {
            message = e.Message;
        }
        // Found on the search path once it is there.
        KxTest::WriteBytes(bin.filePath(QStringLiteral("psftp")), "#!/bin/sh\n");
        QFile::setPermissions(bin.filePath(QStringLiteral("psftp")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const QString found = FindTool(QStringLiteral("psftp"));
        qputenv("PATH", oldPath);
        QVERIFY2(message.contains(QCoreApplication::applicationDirPath()), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("search path (PATH)")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("psftp")), qPrintable(message));
        QCOMPARE(found, bin.filePath(QStringLiteral("psftp")));
    }

    void addresses_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::addColumn<bool>("valid");
        QTest::newRow("plain") << "192.168.1.20" << "192.168.1.20" << 0 << true;
        QTest::newRow("with port") << "pbx.example.net:2222" << "pbx.example.net" << 2222 << true;
        QTest::newRow("bare IPv6") << "fe80::1" << "fe80::1" << 0 << true;
        QTest::newRow("IPv6 with port") << "[fe80::1]:2200" << "fe80::1" << 2200 << true;
        QTest::newRow("port out of range") << "host:70000" << "" << 0 << false;
        QTest::newRow("port not a number") << "host:ssh" << "" << 0 << false;
        QTest::newRow("looks like an option") << "-oProxyCommand=x" << "" << 0 << false;
        QTest::newRow("blank inside") << "my host" << "" << 0 << false;
        QTest::newRow("empty") << "" << "" << 0 << false;
    }
    void addresses()
    {
        QFETCH(QString, address);
        QFETCH(QString, host);
        QFETCH(int, port);
        QFETCH(bool, valid);
        try {
            const THostPort hp = SplitAddress(address);
            QVERIFY(valid);
            QCOMPARE(hp.Host, host);
            QCOMPARE(hp.Port, port);
        } catch (const EKXError& e) {
            QVERIFY2(!valid, qPrintable(e.Message));
            QVERIFY(e.Message.contains(address));
        }
    }

    // The password reaches the tools only through a file of the current user.
    void passwordTravelsInAPrivateFile()
    {
        const QString password = QStringLiteral("Secr3t \"pw\" with blanks");
        const TServerLogin login{QStringLiteral("pbx:2222"), password};
        QString path;
        {
            const TPasswordFile file(password);
            path = file.Path();
            QCOMPARE(KxTest::ReadBytes(path), password.toUtf8() + '\n');
            QCOMPARE(QFile::permissions(path) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
                     QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            const QStringList psftp = PsftpArguments(login, path, QStringLiteral("/w/batchfile.scr"), true);
            QCOMPARE(psftp, (QStringList{"root@pbx", "-P", "2222", "-pwfile", path, "-b", "/w/batchfile.scr", "-bc", "-be"}));
            const QStringList plink = PlinkArguments(login, path, QStringLiteral("fs_cli -x reloadxml"));
            QCOMPARE(plink, (QStringList{"-ssh", "-no-antispoof", "-pwfile", path, "-P", "2222", "root@pbx",
                                         "fs_cli -x reloadxml"}));
        }
        QVERIFY(!QFile::exists(path));
        try {
            TPasswordFile bad(QStringLiteral("two\nlines"));
            QFAIL("no exception");
        } catch (const EKXError&) {
        }
    }

    // Each row: the file as it comes from the server, and as it goes back.
    void networkFileEdit_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        const QString a = QStringLiteral("     address 192.168.1.20");
        const QString m = QStringLiteral("     netmask 255.255.255.0");
        const QString g = QStringLiteral("     gateway 192.168.1.1");
        QTest::newRow("DHCP becomes static")
            << QStringList{"auto eth0", "iface eth0 inet dhcp"}
            << QStringList{"auto eth0", "#iface eth0 inet dhcp", "iface eth0 inet static", a, m, g};
        QTest::newRow("indented DHCP line")
            << QStringList{"allow-hotplug eth0", "  iface eth0 inet dhcp", "", "auto eth1"}
            << QStringList{"allow-hotplug eth0", "#  iface eth0 inet dhcp", "iface eth0 inet static", a, m, g, "", "auto eth1"};
        QTest::newRow("already static: new values")
            << QStringList{"auto eth0", "#iface eth0 inet dhcp", "iface eth0 inet static", "     address 10.0.0.5",
                           "     netmask 255.0.0.0", "     gateway 10.0.0.1", "     dns-nameservers 10.0.0.1"}
            << QStringList{"auto eth0", "#iface eth0 inet dhcp", "iface eth0 inet static", a, m, g,
                           "     dns-nameservers 10.0.0.1"};
        QTest::newRow("already static: other interfaces keep their values")
            << QStringList{"#iface eth0 inet dhcp", "iface eth0 inet static", "  address 10.0.0.5/8", "",
                           "# The address of the second card", "auto eth1", "iface eth1 inet static",
                           "  address 172.16.0.2", "  netmask 255.255.0.0"}
            << QStringList{"#iface eth0 inet dhcp", "iface eth0 inet static", "     address 192.168.1.20", m, g, "",
                           "# The address of the second card", "auto eth1", "iface eth1 inet static",
                           "  address 172.16.0.2", "  netmask 255.255.0.0"};
        QTest::newRow("commented DHCP line without a static block")
            << QStringList{"auto eth0", "# iface eth0 inet dhcp"}
            << QStringList{"auto eth0", "# iface eth0 inet dhcp", "iface eth0 inet static", a, m, g};
    }
    void networkFileEdit()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        RemoteTransfer::EditInterfacesLines(before, QStringLiteral("192.168.1.20"), QStringLiteral("255.255.255.0"),
                                            QStringLiteral("192.168.1.1"));
        QCOMPARE(before, after);
    }

    void networkFileWithoutDhcpLine()
    {
        QStringList lines{"auto eth0", "iface eth0 inet manual"};
        try {
            RemoteTransfer::EditInterfacesLines(lines, "1.2.3.4", "255.0.0.0", "1.0.0.1");
            QFAIL("no exception");
        } catch (const EKXError& e) {
            QCOMPARE(e.Message, QStringLiteral("Unable to find the line \"iface eth0 inet dhcp\""));
        }
    }
};

KX_TEST_MAIN(TestRemoteTransfer)
#include "tst_RemoteTransfer.moc"
