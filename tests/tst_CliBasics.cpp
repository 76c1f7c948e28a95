// The command framework of kestrix-cli: help for every command, exit status
// and one-line errors, the stored pending changes shared with the window, and
// the lock that keeps two programs from changing the store at once.
#include "KxCli.h"
#include "KxTest.h"

#include "core/DBInterface.h"
#include "core/KXCB.h"
#include "core/SessionLock.h"
#include "core/Store.h"

#include <QRegularExpression>

class TestCliBasics : public QObject {
    Q_OBJECT

private:
    static TFilesNeedingCommitingList storedPending()
    {
        // Reading consumes the files: read a copy of the folder.
        QTemporaryDir copy;
        const QString from = TDBInterface::PendingChangesFolder();
        for (const QString& n : QDir(from).entryList({QStringLiteral("*.fnc")}, QDir::Files))
            QFile::copy(from + n, copy.filePath(n));
        TFilesNeedingCommitingList list;
        list.LoadFromFolder(copy.path());
        return list;
    }

private slots:
    void init()
    {
        QDir(Store::AppConfigDir()).removeRecursively();
        QDir().mkpath(Store::AppConfigDir());
    }

    void everyCommandHasHelp()
    {
        const KxCli::TResult general = KxCli::Run({QStringLiteral("--help")});
        KXCLI_EXPECT(general, 0);
        QVERIFY(general.OutText().startsWith(QStringLiteral("Usage: kestrix-cli")));
        // The command list: two blanks, the command words, two or more blanks, the summary.
        const QString commands = general.OutText().section(QStringLiteral("Commands:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
        const QStringList lines = commands.split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(!lines.isEmpty());
        for (const QString& line : lines) {
            const QString words = line.trimmed().section(QRegularExpression(QStringLiteral("\\s{2,}")), 0, 0);
            QStringList args = words.split(u' ');
            args << QStringLiteral("--help");
            const KxCli::TResult r = KxCli::Run(args);
            KXCLI_EXPECT(r, 0);
            QVERIFY2(r.OutText().startsWith(QStringLiteral("Usage: kestrix-cli ") + words), qPrintable(r.OutText()));
            QVERIFY(r.Err.isEmpty());
        }
    }

    void mistakesEndWithOneLineAndStatus_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("no command") << QStringList{} << 2 << QStringLiteral("No command given.");
        QTest::newRow("unknown command") << QStringList{QStringLiteral("frobnicate")} << 2
                                         << QStringLiteral("Unknown command \"frobnicate\"");
        QTest::newRow("unknown option") << QStringList{QStringLiteral("pending"), QStringLiteral("--frob")} << 2
                                        << QStringLiteral("Unknown option 'frob'");
        QTest::newRow("extra argument") << QStringList{QStringLiteral("pending"), QStringLiteral("x")} << 2
                                        << QStringLiteral("Wrong number of arguments");
        QTest::newRow("missing working directory")
            << QStringList{QStringLiteral("pending"), QStringLiteral("--workdir"), QStringLiteral("/nonexistent/kx")}
            << 1 << QStringLiteral("The working directory /nonexistent/kx/ does not exist.");
        QTest::newRow("both password sources")
            << QStringList{QStringLiteral("pending"), QStringLiteral("--password-stdin"), QStringLiteral("--password-file"),
                           QStringLiteral("x")}
            << 2 << QStringLiteral("either --password-file or --password-stdin");
    }

    void mistakesEndWithOneLineAndStatus()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, message);
        const KxCli::TResult r = KxCli::Run(args);
        KXCLI_EXPECT(r, status);
        // The last line of standard error is the one-line error.
        const QStringList errLines = r.ErrText().split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(!errLines.isEmpty());
        QVERIFY2(errLines.last().startsWith(QStringLiteral("kestrix-cli: ")), qPrintable(r.ErrText()));
        QVERIFY2(errLines.last().contains(message), qPrintable(r.ErrText()));
    }

    // The window stores its pending changes as fnc/<n>.fnc when it closes and
    // reads them (deleting the files) when it starts: the command line reads
    // them the same way and leaves them stored, in their order.
    void pendingChangesStayStoredInOrder()
    {
        TFilesNeedingCommitingList list;
        for (int i = 1; i <= 12; ++i)
            list.Add(TFileNeedingCommiting(QStringLiteral("/w/directory/office/"), QString::number(100 + i) + QStringLiteral(".usr"),
                                           QStringLiteral("/etc/freeswitch/directory/office/"), i % 3 == 0 ? fnaaDelete : fnaaPut));
        list.SaveToFolder(TDBInterface::PendingChangesFolder());

        const KxCli::TResult r = KxCli::Run({QStringLiteral("pending"), QStringLiteral("--json")});
        KXCLI_EXPECT(r, 0);
        const QJsonArray a = r.Json().array();
        QCOMPARE(a.size(), 12);
        for (int i = 0; i < 12; ++i) {
            const QJsonObject o = a[i].toObject();
            QCOMPARE(o[QStringLiteral("SrcFile")].toString(), QString::number(101 + i) + QStringLiteral(".usr"));
            QCOMPARE(o[QStringLiteral("Action")].toString(),
                     (i + 1) % 3 == 0 ? QStringLiteral("delete") : QStringLiteral("upload"));
        }

        const TFilesNeedingCommitingList after = storedPending();
        QCOMPARE(after.Count(), 12);
        for (int i = 0; i < 12; ++i) QCOMPARE(after.Items(i)->SrcFile, list.Items(i)->SrcFile);

        const KxCli::TResult text = KxCli::Run({QStringLiteral("pending")});
        KXCLI_EXPECT(text, 0);
        QVERIFY(text.OutText().contains(QStringLiteral("/etc/freeswitch/directory/office/112.usr")));
    }

    // The stored working directory mirrors the server of the last
    // connection: a command for another server is refused there (its pending
    // changes would be sent to the wrong server); the first connection is
    // remembered as the window's connection dialog does.
    void oneWorkingDirectoryPerServer()
    {
        QTemporaryDir wd;
        TKXControlBlock settings;
        settings.WorkingDir = wd.path();
        settings.SaveToFile();
        KXCLI_EXPECT(KxCli::Run({QStringLiteral("users"), QStringLiteral("list"), QStringLiteral("--server"),
                                 QStringLiteral("192.0.2.1"), QStringLiteral("--domain"), QStringLiteral("office")}),
                     0);
        settings.LoadFromFile();
        QCOMPARE(settings.LastIPAddress, QStringLiteral("192.0.2.1"));
        QCOMPARE(settings.LastDomain, QStringLiteral("office"));

        const KxCli::TResult other = KxCli::Run({QStringLiteral("users"), QStringLiteral("add"), QStringLiteral("Name=Ann"),
                                                 QStringLiteral("Password=Secr3tX"), QStringLiteral("--server"),
                                                 QStringLiteral("192.0.2.2")});
        KXCLI_EXPECT(other, 2);
        QVERIFY2(other.ErrText().contains(QStringLiteral("holds the configuration of the server 192.0.2.1")),
                 qPrintable(other.ErrText()));
        QVERIFY(!QDir(wd.filePath(QStringLiteral("directory"))).exists());
        // Its own working directory is fine; so is the stored one without --server.
        QTemporaryDir own;
        KXCLI_EXPECT(KxCli::Run({QStringLiteral("users"), QStringLiteral("add"), QStringLiteral("Name=Ann"),
                                 QStringLiteral("Password=Secr3tX"), QStringLiteral("--server"), QStringLiteral("192.0.2.2"),
                                 QStringLiteral("--workdir"), own.path()}),
                     0);
        KXCLI_EXPECT(KxCli::Run({QStringLiteral("users"), QStringLiteral("add"), QStringLiteral("Name=Ann"),
                                 QStringLiteral("Password=Secr3tX")}),
                     0);
        QVERIFY(QFile::exists(wd.filePath(QStringLiteral("directory/office/100.usr"))));
        QVERIFY(QFile::exists(own.filePath(QStringLiteral("directory/office/100.usr"))));
    }

    void anotherProgramHoldingTheStoreIsNamed()
    {
        TSessionLock lock;
        QVERIFY(lock.TryLock(0));
        const KxCli::TResult r = KxCli::Run({QStringLiteral("pending")});
        KXCLI_EXPECT(r, 1);
        QVERIFY2(r.ErrText().contains(QStringLiteral("is in use by another Kestrix program")), qPrintable(r.ErrText()));
        QVERIFY2(r.ErrText().contains(QString::number(QCoreApplication::applicationPid())), qPrintable(r.ErrText()));
        lock.Unlock();
        KXCLI_EXPECT(KxCli::Run({QStringLiteral("pending")}), 0);
    }
};

KX_TEST_MAIN(TestCliBasics)
#include "tst_CliBasics.moc"
