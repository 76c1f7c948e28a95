// kestrix-cli users: the user dialog's checks and messages, the files and
// pending changes of add, edit and delete, and the CSV import and export.
#include "KxCli.h"
#include "KxTest.h"

#include "core/DBInterface.h"
#include "core/KXGlobalsCB.h"
#include "core/Store.h"
#include "records/UserList.h"

class TestCliUsers : public QObject {
    Q_OBJECT

    QTemporaryDir m_work;

    QStringList base() const
    {
        return {QStringLiteral("--workdir"), m_work.path(), QStringLiteral("--domain"), QStringLiteral("office"),
                QStringLiteral("--server"), QStringLiteral("192.0.2.10")};
    }
    KxCli::TResult cli(const QStringList& args, const QByteArray& input = {}) const
    {
        return KxCli::Run(base() + args, input);
    }
    QString usersFolder() const { return m_work.path() + QStringLiteral("/directory/office/"); }

    static TFilesNeedingCommitingList storedPending()
    {
        QTemporaryDir copy;
        const QString from = TDBInterface::PendingChangesFolder();
        for (const QString& n : QDir(from).entryList({QStringLiteral("*.fnc")}, QDir::Files))
            QFile::copy(from + n, copy.filePath(n));
        TFilesNeedingCommitingList list;
        list.LoadFromFolder(copy.path());
        return list;
    }

    static QStringList pendingLines()
    {
        const TFilesNeedingCommitingList list = storedPending();
        QStringList lines;
        for (int i = 0; i < list.Count(); ++i) {
            const TFileNeedingCommiting* e = list.Items(i);
            lines << QStringLiteral("%1 %2%3 <- %4").arg(e->ActionType).arg(e->DestFolder, e->SrcFile, e->SrcFolder);
        }
        return lines;
    }

    // The CSV columns of an import and the values of row i.
    static QStringList columns()
    {
        return {QStringLiteral("Extension"), QStringLiteral("Name"), QStringLiteral("Password"),
                QStringLiteral("VMPassword"), QStringLiteral("VMEnabled"), QStringLiteral("CallGroup"),
                QStringLiteral("TollAllowed"), QStringLiteral("AccountCode"), QStringLiteral("EffectiveCallerIdName"),
                QStringLiteral("EffectiveCallerIdNumber"), QStringLiteral("OutboundCallerIdName"),
                QStringLiteral("OutboundCallerIdNumber")};
    }
    static QStringList rowValues(int i)
    {
        const QString ext = QString::number(2000 + i);
        return {ext,
                i % 7 == 0 ? QStringLiteral("Zoë \"Z\" O'Neil, Sales & Co") : QStringLiteral("User %1").arg(i),
                QStringLiteral("Pw%1xY").arg(i),
                QString::number(9000 + i),
                i % 2 ? QStringLiteral("1") : QStringLiteral("0"),
                i % 3 ? QString() : QStringLiteral("Sales"),
                QStringLiteral("domestic,local"),
                QStringLiteral("AC") + ext,
                QStringLiteral("Desk <%1>").arg(i),
                ext,
                QStringLiteral("Kestrix Ltd"),
                QStringLiteral("+44 20 7946 %1").arg(i, 4, 10, QLatin1Char('0'))};
    }
    static QByteArray csvText(int rows, int badRow = -1, const QString& badPassword = QString())
    {
        auto quote = [](const QString& f) {
            if (!f.contains(u',') && !f.contains(u'"')) return f;
            return u'"' + QString(f).replace(u'"', QStringLiteral("\"\"")) + u'"';
        };
        QString text = columns().join(u',') + QStringLiteral("\r\n");
        for (int i = 0; i < rows; ++i) {
            QStringList v = rowValues(i);
            if (i == badRow) v[2] = badPassword;
            QStringList q;
            for (const QString& f : v) q << quote(f);
            text += q.join(u',') + QStringLiteral("\r\n");
        }
        return text.toUtf8();
    }

private slots:
    void init()
    {
        QDir(Store::AppConfigDir()).removeRecursively();
        QDir(m_work.path()).removeRecursively();
        QDir().mkpath(m_work.path());
    }

    void dialogChecksRefuseWithItsMessages_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("duplicate extension")
            << QStringList{QStringLiteral("101"), QStringLiteral("Name=Other"), QStringLiteral("Password=Secr3tX")}
            << QStringLiteral("A user with this extension already exists.");
        QTest::newRow("insecure password, no upper case")
            << QStringList{QStringLiteral("102"), QStringLiteral("Name=Bob"), QStringLiteral("Password=abc1")}
            << QStringLiteral("Please enter a secure password for this user");
        // The engine's default password (5807 until changed) is what a new
        // user refers to when no password is given: not a secure one.
        QTest::newRow("default password") << QStringList{QStringLiteral("102"), QStringLiteral("Name=Bob")}
                                          << QStringLiteral("Please enter a secure password for this user");
        QTest::newRow("no name") << QStringList{QStringLiteral("102"), QStringLiteral("Password=Secr3tX")}
                                 << QStringLiteral("Please enter a name for this user");
        QTest::newRow("blank name")
            << QStringList{QStringLiteral("102"), QStringLiteral("Name=  "), QStringLiteral("Password=Secr3tX")}
            << QStringLiteral("Please enter a name for this user");
        QTest::newRow("extension not a number")
            << QStringList{QStringLiteral("1o2"), QStringLiteral("Name=Bob"), QStringLiteral("Password=Secr3tX")}
            << QStringLiteral("The extension \"1o2\" is not a number");
        QTest::newRow("Boolean of the wrong form")
            << QStringList{QStringLiteral("102"), QStringLiteral("Name=Bob"), QStringLiteral("Password=Secr3tX"),
                           QStringLiteral("VMEnabled=maybe")}
            << QStringLiteral("The value of VMEnabled must be 1 or 0");
        QTest::newRow("unknown field")
            << QStringList{QStringLiteral("102"), QStringLiteral("Nmae=Bob")} << QStringLiteral("Unknown field \"Nmae\"");
    }

    void dialogChecksRefuseWithItsMessages()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        KXCLI_EXPECT(cli({QStringLiteral("users"), QStringLiteral("add"), QStringLiteral("101"), QStringLiteral("Name=Ann"),
                          QStringLiteral("Password=Secr3tX")}),
                     0);
        const QStringList before = pendingLines();
        const KxCli::TResult r = cli(QStringList{QStringLiteral("users"), QStringLiteral("add")} + args);
        QVERIFY(r.ExitCode != 0);
        QVERIFY2(r.ErrText().contains(message), qPrintable(r.ErrText()));
        QCOMPARE(r.ErrText().count(u'\n'), 1);
        QVERIFY(!QFile::exists(usersFolder() + QStringLiteral("102.usr")));
        QCOMPARE(pendingLines(), before);
    }

    // Add, edit and delete leave the files and the pending changes the
    // window's actions leave.
    void addEditDeleteFilesAndPending()
    {
        KXCLI_EXPECT(cli({QStringLiteral("users"), QStringLiteral("add"), QStringLiteral("Name= Ann Lee "),
                          QStringLiteral("Password=Secr3tX"), QStringLiteral("OutboundCallerIdName=FreeSWITCH")}),
                     0);
        // The first free extension is 100; the name is trimmed; a caller name
        // equal to the global's value is stored as the reference to it.
        const TIniFile ini(usersFolder() + QStringLiteral("100.usr"));
        QCOMPARE(ini.ReadString(QStringLiteral("General"), QStringLiteral("Name"), QString()), QStringLiteral("Ann Lee"));
        QCOMPARE(ini.ReadString(QStringLiteral("General"), QStringLiteral("Outbound_Caller_Id_Name"), QString()),
                 QStringLiteral("$${outbound_caller_name}"));
        QCOMPARE(ini.ReadInteger(QStringLiteral("General"), QStringLiteral("Id"), 0), 1);
        QVERIFY(KxTest::ReadBytes(usersFolder() + QStringLiteral("100.xml"))
                    .contains("<param name=\"password\" value=\"Secr3tX\"/>"));

        const KxCli::TResult edit = cli({QStringLiteral("users"), QStringLiteral("edit"), QStringLiteral("100"),
                                         QStringLiteral("VMEnabled=no"), QStringLiteral("--json")});
        KXCLI_EXPECT(edit, 0);
        QCOMPARE(edit.Json().object()[QStringLiteral("VMEnabled")].toBool(), false);
        QVERIFY(KxTest::ReadBytes(usersFolder() + QStringLiteral("100.xml"))
                    .contains("<param name=\"vm-enabled\" value=\"false\"/>"));
        const KxCli::TResult changeExt = cli({QStringLiteral("users"), QStringLiteral("edit"), QStringLiteral("100"),
                                              QStringLiteral("Extension=101")});
        QCOMPARE(changeExt.ExitCode, 2);

        const QString d = QStringLiteral("/etc/freeswitch/directory/office/");
        const QString l = usersFolder();
        QCOMPARE(pendingLines(), (QStringList{QStringLiteral("0 ") + d + QStringLiteral("100.usr <- ") + l,
                                              QStringLiteral("0 ") + d + QStringLiteral("100.xml <- ") + l}));

        KXCLI_EXPECT(cli({QStringLiteral("users"), QStringLiteral("delete"), QStringLiteral("100")}), 0);
        QVERIFY(!QFile::exists(usersFolder() + QStringLiteral("100.usr")));
        QVERIFY(!QFile::exists(usersFolder() + QStringLiteral("100.xml")));
        // The deletes take the uploads' places: the .usr entry came first.
        QCOMPARE(pendingLines(), (QStringList{QStringLiteral("1 ") + d + QStringLiteral("100.usr <- "),
                                              QStringLiteral("1 ") + d + QStringLiteral("100.xml <- ")}));
        const KxCli::TResult missing = cli({QStringLiteral("users"), QStringLiteral("show"), QStringLiteral("100")});
        KXCLI_EXPECT(missing, 1);
        QVERIFY(missing.ErrText().contains(QStringLiteral("There is no user with the extension 100.")));
    }

    // One bad row among 500: every bad row is named by its line, nothing is
    // written, no Id is taken, nothing is entered as pending.
    void importWithOneBadRowWritesNothing()
    {
        const QString csv = m_work.path() + QStringLiteral("/../users-bad.csv");
        KxTest::WriteBytes(csv, csvText(500, 249, QStringLiteral("password")));
        const KxCli::TResult r = cli({QStringLiteral("users"), QStringLiteral("import"), csv});
        KXCLI_EXPECT(r, 1);
        // Header on line 1, row i on line i + 2.
        const QStringList err = r.ErrText().split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(err.size(), 2);
        QCOMPARE(err[0], QStringLiteral("line 251: Please enter a secure password for this user"));
        QVERIFY2(err[1].startsWith(QStringLiteral("kestrix-cli: 1 of 500 rows of ")), qPrintable(err[1]));
        QVERIFY(err[1].endsWith(QStringLiteral("are invalid; nothing was imported.")));
        QVERIFY(!QDir(usersFolder()).exists() || QDir(usersFolder()).isEmpty());
        QVERIFY(pendingLines().isEmpty());
        TKXGlobalsCB counters;
        counters.LoadFromFile();
        QCOMPARE(counters.LastUserId, 0);
    }

    void importReportsEveryKindOfBadRow()
    {
        KXCLI_EXPECT(cli({QStringLiteral("users"), QStringLiteral("add"), QStringLiteral("100"), QStringLiteral("Name=Ann"),
                          QStringLiteral("Password=Secr3tX")}),
                     0);
        const QString csv = m_work.path() + QStringLiteral("/../users-mixed.csv");
        KxTest::WriteBytes(csv, "Extension,Name,Password,VMEnabled\n"
                                "101,Bob,Secr3tX,1\n"
                                "102,,Secr3tX,1\n"            // line 3: no name
                                "101,Bob again,Secr3tX,1\n"   // line 4: extension twice in the file
                                "abc,Carl,Secr3tX,1\n"        // line 5: not a number
                                "103,Dan,Secr3tX\n"           // line 6: a value missing
                                "\n"
                                "104,Eve,Secr3tX,perhaps\n"   // line 8: not a Boolean
                                "\"105\",\"Fay\nFoo\",Secr3tX,1\n" // line 9: a line break in a value
                                "100,Ann Lee,Secr3tX,0\n");   // line 11: changes user 100, valid
        const KxCli::TResult r = cli({QStringLiteral("users"), QStringLiteral("import"), csv});
        KXCLI_EXPECT(r, 1);
        const QStringList err = r.ErrText().split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(err.mid(0, err.size() - 1),
                 (QStringList{QStringLiteral("line 3: Please enter a name for this user"),
                              QStringLiteral("line 4: the extension 101 is on line 2 already."),
                              QStringLiteral("line 5: The extension \"abc\" is not a number: please enter the extension "
                                             "as a whole number."),
                              QStringLiteral("line 6: 3 values for 4 columns."),
                              QStringLiteral("line 8: The value of VMEnabled must be 1 or 0 (true or false), not \"perhaps\"."),
                              QStringLiteral("line 9: The value of Name must not contain a line break.")}));
        QVERIFY2(err.last().contains(QStringLiteral("6 of 8 rows")), qPrintable(err.last()));
        QVERIFY(!QFile::exists(usersFolder() + QStringLiteral("101.usr")));
        const TIniFile ini(usersFolder() + QStringLiteral("100.usr"));
        QCOMPARE(ini.ReadString(QStringLiteral("General"), QStringLiteral("Name"), QString()), QStringLiteral("Ann"));

        const QString header = m_work.path() + QStringLiteral("/../users-header.csv");
        KxTest::WriteBytes(header, "Extension;Name;Colour\n101;Bob;red\n");
        const KxCli::TResult h = cli({QStringLiteral("users"), QStringLiteral("import"), header});
        KXCLI_EXPECT(h, 1);
        QVERIFY2(h.ErrText().startsWith(QStringLiteral("line 1: \"Colour\" is not a column that can be imported")),
                 qPrintable(h.ErrText()));

        // A spreadsheet's Latin-1 export would turn names into garbage: refused.
        const QString latin1 = m_work.path() + QStringLiteral("/../users-latin1.csv");
        KxTest::WriteBytes(latin1, "Extension,Name,Password\n101,Zo\xeb,Secr3tX\n");
        const KxCli::TResult l = cli({QStringLiteral("users"), QStringLiteral("import"), latin1});
        KXCLI_EXPECT(l, 1);
        QVERIFY2(l.ErrText().contains(QStringLiteral("is not UTF-8 text")), qPrintable(l.ErrText()));
        QVERIFY(!QFile::exists(usersFolder() + QStringLiteral("101.usr")));
    }

    // A valid import loads in the window's model with every value as given;
    // importing again changes users by extension; export and import again
    // changes nothing.
    void importedUsersLoadUnchanged()
    {
        const QString csv = m_work.path() + QStringLiteral("/../users.csv");
        KxTest::WriteBytes(csv, csvText(500));
        const KxCli::TResult r = cli({QStringLiteral("users"), QStringLiteral("import"), csv, QStringLiteral("--json")});
        KXCLI_EXPECT(r, 0);
        QCOMPARE(r.Json().object()[QStringLiteral("Added")].toInt(), 500);

        TDBInterface db(QStringLiteral("office"), nullptr);
        db.ControlBlock->WorkingDir = m_work.path();
        db.LoadUsers();
        QVERIFY(db.LoadProblems.empty());
        QCOMPARE(db.Users->Count(), 500);
        QSet<int> ids;
        for (const auto& u : *db.Users) {
            const int i = u->Extension - 2000;
            QVERIFY(i >= 0 && i < 500);
            const QStringList v = rowValues(i);
            QCOMPARE(u->Name, v[1]);
            QCOMPARE(u->Password, v[2]);
            QCOMPARE(u->VMPassword, v[3]);
            QCOMPARE(u->VMEnabled, v[4] == u"1");
            QCOMPARE(u->CallGroup, v[5]);
            QCOMPARE(u->TollAllowed, v[6]);
            QCOMPARE(u->AccountCode, v[7]);
            QCOMPARE(u->EffectiveCallerIdName, v[8]);
            QCOMPARE(u->EffectiveCallerIdNumber, v[9]);
            QCOMPARE(u->OutboundCallerIdName, v[10]);
            QCOMPARE(u->OutboundCallerIdNumber, v[11]);
            QCOMPARE(u->UserContext, QStringLiteral("default"));
            ids << u->Id;
        }
        QCOMPARE(ids.size(), 500);
        QCOMPARE(storedPending().Count(), 1000);
        // The generated file carries the values escaped.
        QVERIFY(KxTest::ReadBytes(usersFolder() + QStringLiteral("2007.xml"))
                    .contains("<variable name=\"effective_caller_id_name\" value=\"Desk &lt;7&gt;\"/>"));

        // Changing users by extension: only the columns given change.
        const QString change = m_work.path() + QStringLiteral("/../change.csv");
        KxTest::WriteBytes(change, "extension,vmenabled\n2001,0\n2002,1\n");
        KXCLI_EXPECT(cli({QStringLiteral("users"), QStringLiteral("import"), change}), 0);
        db.LoadUsers();
        QCOMPARE(db.Users->Count(), 500);
        for (const auto& u : *db.Users) {
            if (u->Extension == 2001) {
                QCOMPARE(u->VMEnabled, false);
                QCOMPARE(u->Name, QStringLiteral("User 1"));
            }
            if (u->Extension == 2002) QCOMPARE(u->VMEnabled, true);
        }

        // Export and import again: the same users, nothing new.
        const QString exported = m_work.path() + QStringLiteral("/../exported.csv");
        KXCLI_EXPECT(cli({QStringLiteral("users"), QStringLiteral("export"), exported}), 0);
        const QByteArray before = KxTest::ReadBytes(usersFolder() + QStringLiteral("2007.usr"));
        const KxCli::TResult again = cli({QStringLiteral("users"), QStringLiteral("import"), exported, QStringLiteral("--json")});
        KXCLI_EXPECT(again, 0);
        QCOMPARE(again.Json().object()[QStringLiteral("Updated")].toInt(), 500);
        QCOMPARE(KxTest::ReadBytes(usersFolder() + QStringLiteral("2007.usr")), before);
        QCOMPARE(QDir(usersFolder()).entryList({QStringLiteral("*.usr")}).size(), 500);
    }
};

KX_TEST_MAIN(TestCliUsers)
#include "tst_CliUsers.moc"
