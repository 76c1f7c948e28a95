// Users: the record, its files, and the user operations of the database interface.
#include "KxTest.h"

#include "core/DBInterface.h"
#include "core/KXGlobalsCB.h"
#include "core/KxError.h"
#include "records/UserList.h"

#include <QDirIterator>

namespace {

const QString Domain = QStringLiteral("office");

// A database interface whose working directory is a fresh temporary folder.
struct TFixture {
    QTemporaryDir Dir;
    TDBInterface Db{Domain, nullptr};
    TFixture() { Db.ControlBlock->WorkingDir = Dir.path(); }
    QString Folder() const { return Db.UsersFolder(); }

    // Adds a user made from the defaults of ext, with a name.
    int Add(int ext, const QString& name)
    {
        auto* u = new TUser;
        u->SetDefaults(ext);
        u->Name = name;
        Db.AddUser(u);
        return u->Id;
    }
};

QStringList filesUnder(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) files << it.next();
    return files;
}

const QStringList Default100Xml = {
    QStringLiteral("<include>"),
    QStringLiteral("  <user id=\"100\">"),
    QStringLiteral("    <params>"),
    QStringLiteral("      <param name=\"password\" value=\"$${default_password}\"/>"),
    QStringLiteral("      <param name=\"vm-password\" value=\"100\"/>"),
    QStringLiteral("      <param name=\"vm-enabled\" value=\"true\"/>"),
    QStringLiteral("    </params>"),
    QStringLiteral("    <variables>"),
    QStringLiteral("      <variable name=\"toll_allow\" value=\"domestic,international,local\"/>"),
    QStringLiteral("      <variable name=\"accountcode\" value=\"100\"/>"),
    QStringLiteral("      <variable name=\"effective_caller_id_name\" value=\"Extension 100\"/>"),
    QStringLiteral("      <variable name=\"effective_caller_id_number\" value=\"100\"/>"),
    QStringLiteral("      <variable name=\"outbound_caller_id_name\" value=\"$${outbound_caller_name}\"/>"),
    QStringLiteral("      <variable name=\"outbound_caller_id_number\" value=\"$${outbound_caller_id}\"/>"),
    QStringLiteral("      <variable name=\"callgroup\" value=\"\"/>"),
    QStringLiteral("    </variables>"),
    QStringLiteral("  </user>"),
    QStringLiteral("</include>"),
};

void compareUsers(const TUser& a, const TUser& b)
{
    QCOMPARE(a.Id, b.Id);
    QCOMPARE(a.Extension, b.Extension);
    QCOMPARE(a.Name, b.Name);
    QCOMPARE(a.Password, b.Password);
    QCOMPARE(a.VMPassword, b.VMPassword);
    QCOMPARE(a.VMEnabled, b.VMEnabled);
    QCOMPARE(a.TollAllowed, b.TollAllowed);
    QCOMPARE(a.AccountCode, b.AccountCode);
    QCOMPARE(a.UserContext, b.UserContext);
    QCOMPARE(a.EffectiveCallerIdName, b.EffectiveCallerIdName);
    QCOMPARE(a.EffectiveCallerIdNumber, b.EffectiveCallerIdNumber);
    QCOMPARE(a.OutboundCallerIdName, b.OutboundCallerIdName);
    QCOMPARE(a.OutboundCallerIdNumber, b.OutboundCallerIdNumber);
    QCOMPARE(a.CallGroup, b.CallGroup);
}

} // namespace

class TestUsers : public QObject {
    Q_OBJECT

private slots:
    void init() { QFile::remove(TKXGlobalsCB::FilePath()); }

    // ---- The record ----------------------------------------------------

    void constructionAndDefaults()
    {
        TUser u;
        QCOMPARE(u.Id, -1);
        QCOMPARE(u.Extension, 0);
        QCOMPARE(u.Modified, false);
        QCOMPARE(u.VMEnabled, true);
        QVERIFY(u.Password.isEmpty());
        u.Id = 9;
        u.Name = QStringLiteral("Alice");
        u.SetDefaults(205);
        QCOMPARE(u.Id, 9);
        QCOMPARE(u.Name, QStringLiteral("Alice"));
        QCOMPARE(u.Modified, true);
        QCOMPARE(u.UserContext, QStringLiteral("default"));
        QCOMPARE(u.EffectiveCallerIdName, QStringLiteral("Extension 205"));
        QCOMPARE(u.EffectiveCallerIdNumber, QStringLiteral("205"));
    }

    void directoryFileFromDefaults()
    {
        QTemporaryDir dir;
        TUser u;
        u.SetDefaults(100);
        const QString path = dir.filePath(QStringLiteral("100.xml"));
        u.GenerateXML(path);
        QCOMPARE(u.XMLText, Default100Xml);
        KxTest::CompareLines(KxTest::ReadBytes(path), Default100Xml);
    }

    void recordFileKeyOrder()
    {
        QTemporaryDir dir;
        TUser u;
        u.SetDefaults(100);
        u.Id = 7;
        u.Name = QStringLiteral("Alice");
        const QString path = dir.filePath(QStringLiteral("100.usr"));
        u.SaveToFile(path);
        KxTest::CompareLines(KxTest::ReadBytes(path),
                             {QStringLiteral("[General]"), QStringLiteral("Id=7"),
                              QStringLiteral("AccountCode=100"), QStringLiteral("CallGroup="),
                              QStringLiteral("Effective_Caller_Id_Name=Extension 100"),
                              QStringLiteral("Effective_Caller_Id_Number=100"), QStringLiteral("Extension=100"),
                              QStringLiteral("Name=Alice"),
                              QStringLiteral("Outbound_Caller_Id_Name=$${outbound_caller_name}"),
                              QStringLiteral("Outbound_Caller_Id_Number=$${outbound_caller_id}"),
                              QStringLiteral("Password=$${default_password}"),
                              QStringLiteral("TollAllowed=domestic,international,local"),
                              QStringLiteral("User_Context=default"), QStringLiteral("VM_Enabled=1"),
                              QStringLiteral("VMPassword=100")});
    }

    void recordFileRoundTripKeepsForeignKeys()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("321.usr"));
        KxTest::WriteBytes(path, "[General]\r\nNote=keep me\r\nId=1\r\n[Other]\r\nX=1\r\n");
        TUser u;
        u.Id = 12;
        u.Extension = 321;
        u.Name = QStringLiteral("Bob Smith");
        u.Password = QStringLiteral("Pa55word");
        u.VMPassword = QStringLiteral("9876");
        u.VMEnabled = false;
        u.TollAllowed = QStringLiteral("local");
        u.AccountCode = QStringLiteral("acc-1");
        u.UserContext = QStringLiteral("default");
        u.EffectiveCallerIdName = QStringLiteral("Reception");
        u.EffectiveCallerIdNumber = QStringLiteral("5550100");
        u.OutboundCallerIdName = QStringLiteral("Smith Ltd");
        u.OutboundCallerIdNumber = QStringLiteral("01234567890");
        u.CallGroup = QStringLiteral("sales");
        u.SaveToFile(path);

        TUser back;
        back.LoadFromFile(path);
        compareUsers(back, u);
        const TIniFile ini(path);
        QCOMPARE(ini.ReadString(QStringLiteral("General"), QStringLiteral("Note"), {}), QStringLiteral("keep me"));
        QCOMPARE(ini.ReadString(QStringLiteral("Other"), QStringLiteral("X"), {}), QStringLiteral("1"));
    }

    void missingKeysKeepConstructionValues()
    {
        const TIniFile ini = TIniFile::FromText(QStringLiteral("[general]\nid=3\nEXTENSION=150\nVM_Enabled=\n"));
        TUser u;
        u.LoadFromIni(ini);
        QCOMPARE(u.Id, 3);
        QCOMPARE(u.Extension, 150);
        QCOMPARE(u.VMEnabled, true);
        QVERIFY(u.EffectiveCallerIdNumber.isEmpty());
    }

    // Field values holding XML-reserved characters must not break the directory file
    // (the engine would refuse the whole configuration on reload).
    void directoryFileEscapesValues()
    {
        QTemporaryDir dir;
        TUser u;
        u.SetDefaults(100);
        u.EffectiveCallerIdName = QStringLiteral("Smith & Sons <\"Sales\">");
        u.Password = QStringLiteral("a\"b&c");
        u.CallGroup = QStringLiteral("${uuid}");
        const QString path = dir.filePath(QStringLiteral("100.xml"));
        u.GenerateXML(path);
        QStringList expected = Default100Xml;
        expected[3] = QStringLiteral("      <param name=\"password\" value=\"a&quot;b&amp;c\"/>");
        expected[10] = QStringLiteral("      <variable name=\"effective_caller_id_name\" "
                                      "value=\"Smith &amp; Sons &lt;&quot;Sales&quot;&gt;\"/>");
        expected[14] = QStringLiteral("      <variable name=\"callgroup\" value=\"${uuid}\"/>");
        KxTest::CompareLines(KxTest::ReadBytes(path), expected);
    }

    // ---- The database interface ------------------------------------------

    void addSaveLoad()
    {
        TFixture f;
        QCOMPARE(f.Db.NextExtension(), QStringLiteral("100"));
        const int a = f.Add(100, QStringLiteral("Alice"));
        const int b = f.Add(101, QStringLiteral("Bob"));
        QCOMPARE(a, 1);
        QCOMPARE(b, 2);
        QCOMPARE(f.Db.Users->Count(), 2);
        QVERIFY(f.Db.Users->Items(0)->Modified);
        QVERIFY(filesUnder(f.Dir.path()).isEmpty()); // nothing written before Save

        f.Db.SaveUsers();
        const QString folder = f.Dir.path() + QStringLiteral("/directory/office/");
        QCOMPARE(f.Folder(), folder);
        const QStringList names = {QStringLiteral("100.usr"), QStringLiteral("100.xml"),
                                   QStringLiteral("101.usr"), QStringLiteral("101.xml")};
        QCOMPARE(f.Db.FilesNeedingCommiting->Count(), 4);
        for (int i = 0; i < 4; ++i) {
            const TFileNeedingCommiting* e = f.Db.FilesNeedingCommiting->Items(i);
            QCOMPARE(e->SrcFile, names[i]);
            QCOMPARE(e->SrcFolder, folder);
            QCOMPARE(e->DestFolder, QStringLiteral("/etc/freeswitch/directory/office/"));
            QCOMPARE(e->ActionType, qint32(fnaaPut));
            QVERIFY(QFile::exists(folder + names[i]));
        }
        QVERIFY(!f.Db.Users->Items(0)->Modified);
        KxTest::CompareLines(KxTest::ReadBytes(folder + QStringLiteral("100.xml")), Default100Xml);

        // Nothing modified: nothing written, nothing entered.
        QFile::remove(folder + QStringLiteral("101.xml"));
        f.Db.FilesNeedingCommiting->Clear();
        f.Db.SaveUsers();
        QCOMPARE(f.Db.FilesNeedingCommiting->Count(), 0);
        QVERIFY(!QFile::exists(folder + QStringLiteral("101.xml")));

        TUser before;
        QVERIFY(!f.Db.GetUserByNodeKey(12345, before));
        before = *f.Db.Users->Items(1);
        f.Db.LoadUsers();
        QCOMPARE(f.Db.Users->Count(), 2);
        const TUser* bob = f.Db.Users->FindById(b);
        QVERIFY(bob);
        QCOMPARE(bob->NodeKey, 102);
        QVERIFY(!bob->Modified);
        compareUsers(*bob, before);
        QCOMPARE(f.Db.NextExtension(), QStringLiteral("102"));
        QVERIFY(f.Db.UserExtensionExists(101));
        QVERIFY(!f.Db.UserExtensionExists(102));
    }

    void addRefusesTakenExtension()
    {
        TFixture f;
        f.Add(100, QStringLiteral("Alice"));
        auto* dup = new TUser;
        dup->SetDefaults(100);
        QVERIFY_THROWS_EXCEPTION(EKXError, f.Db.AddUser(dup));
        QCOMPARE(f.Db.Users->Count(), 1);
        QCOMPARE(f.Db.NextUserId(), 2); // the refused add took no Id
    }

    void getAndUpdate()
    {
        TFixture f;
        const int id = f.Add(100, QStringLiteral("Alice"));
        f.Db.SaveUsers();
        f.Db.LoadUsers();
        const QString usr = f.Folder() + QStringLiteral("100.usr");
        const QByteArray savedBytes = KxTest::ReadBytes(usr);

        TUser scratch;
        scratch.XMLText = QStringList{QStringLiteral("mine")};
        QVERIFY(f.Db.GetUserByNodeKey(Store::MakeNodeKey(Store::nsUsers, id), scratch));
        QCOMPARE(scratch.Name, QStringLiteral("Alice"));
        QCOMPARE(scratch.NodeKey, 101);
        QCOMPARE(scratch.XMLText, QStringList{QStringLiteral("mine")});

        scratch.Name = QStringLiteral("Alice Jones");
        scratch.EffectiveCallerIdName = QStringLiteral("Front desk");
        scratch.VMEnabled = false;
        scratch.Extension = 555;   // not copied
        scratch.NodeKey = 999;     // not copied
        f.Db.UpdateUser(scratch.Id, scratch);
        const TUser* listed = f.Db.Users->FindById(id);
        QVERIFY(listed->Modified);
        QCOMPARE(listed->Name, QStringLiteral("Alice Jones"));
        QCOMPARE(listed->VMEnabled, false);
        QCOMPARE(listed->Extension, 100);
        QCOMPARE(listed->NodeKey, 101);
        QCOMPARE(KxTest::ReadBytes(usr), savedBytes); // disk unchanged until Save

        f.Db.SaveUsers();
        TUser onDisk;
        onDisk.LoadFromFile(usr);
        QCOMPARE(onDisk.Name, QStringLiteral("Alice Jones"));
        QCOMPARE(onDisk.EffectiveCallerIdName, QStringLiteral("Front desk"));

        QVERIFY_THROWS_EXCEPTION(EKXError, f.Db.UpdateUser(id + 50, scratch));
    }

    void deleteUser()
    {
        TFixture f;
        const int a = f.Add(100, QStringLiteral("Alice"));
        const int b = f.Add(101, QStringLiteral("Bob"));
        f.Db.SaveUsers();
        const QString folder = f.Folder();

        f.Db.DeleteUser(a, true);
        QCOMPARE(f.Db.Users->Count(), 1);
        QVERIFY(!QFile::exists(folder + QStringLiteral("100.usr")));
        QVERIFY(!QFile::exists(folder + QStringLiteral("100.xml")));
        QVERIFY(QFile::exists(folder + QStringLiteral("101.usr")));

        // An Id no user has changes nothing (and never deletes "<folder>.usr").
        KxTest::WriteBytes(folder + QStringLiteral(".usr"), "x");
        try {
            f.Db.DeleteUser(a, true);
            QFAIL("deleting an unknown Id must fail");
        } catch (const EKXError& e) {
            QCOMPARE(e.Message, QStringLiteral("There is no user with Id %1.").arg(a));
        }
        QVERIFY(QFile::exists(folder + QStringLiteral(".usr")));
        QCOMPARE(f.Db.Users->Count(), 1);

        // A file that cannot be deleted (here a folder in its place) stops
        // Delete with the message; the record file is already gone.
        QFile::remove(folder + QStringLiteral("101.xml"));
        KxTest::WriteBytes(folder + QStringLiteral("101.xml/inside"), "x");
        try {
            f.Db.DeleteUser(b, true);
            QFAIL("an undeletable file must stop Delete");
        } catch (const EKXError& e) {
            QVERIFY2(e.Message.startsWith(QStringLiteral("Unable to delete file ") + folder + QStringLiteral("101.xml")),
                     qPrintable(e.Message));
        }
        QCOMPARE(f.Db.Users->Count(), 0);
        QVERIFY(!QFile::exists(folder + QStringLiteral("101.usr")));

        // Without deleteFiles the files stay.
        const int c = f.Add(102, QStringLiteral("Carol"));
        f.Db.SaveUsers();
        f.Db.DeleteUser(c, false);
        QCOMPARE(f.Db.Users->Count(), 0);
        QVERIFY(QFile::exists(folder + QStringLiteral("102.usr")));
    }

    void nextExtension_data()
    {
        QTest::addColumn<QList<int>>("extensions");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << QList<int>{} << QStringLiteral("100");
        QTest::newRow("100 and 205") << QList<int>{100, 205} << QStringLiteral("206");
        QTest::newRow("205 before 100") << QList<int>{205, 100} << QStringLiteral("206");
        QTest::newRow("only 42") << QList<int>{42} << QStringLiteral("100");
        QTest::newRow("99") << QList<int>{99} << QStringLiteral("100");
        QTest::newRow("100") << QList<int>{100} << QStringLiteral("101");
    }
    void nextExtension()
    {
        QFETCH(QList<int>, extensions);
        QFETCH(QString, expected);
        TFixture f;
        for (int ext : extensions) {
            auto* u = new TUser;
            u->Extension = ext;
            f.Db.Users->Add(u);
        }
        QCOMPARE(f.Db.NextExtension(), expected);
    }

    void findUserIdByName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("expected");
        QTest::newRow("exact") << QStringLiteral("Bob Smith") << 2;
        QTest::newRow("other case") << QStringLiteral("bOB smITH") << 2;
        QTest::newRow("first of two equal names") << QStringLiteral("alice") << 1;
        QTest::newRow("accented letters ignore case") << QStringLiteral("ÉLODIE") << 4;
        QTest::newRow("no such name") << QStringLiteral("Bob") << -1;
        QTest::newRow("empty") << QString() << -1;
    }
    void findUserIdByName()
    {
        QFETCH(QString, name);
        QFETCH(int, expected);
        TFixture f;
        const QStringList names = {QStringLiteral("Alice"), QStringLiteral("Bob Smith"),
                                   QStringLiteral("ALICE"), QStringLiteral("élodie")};
        for (int i = 0; i < names.size(); ++i) {
            auto* u = new TUser;
            u->Id = i + 1;
            u->Name = names[i];
            f.Db.Users->Add(u);
        }
        QCOMPARE(f.Db.FindUserIdByName(name), expected);
    }

    // ---- Mended faults -------------------------------------------------

    // With globals.glo lost (new PC, or wiped on a change of server) the
    // counter restarts; the next Id must still be above every loaded Id.
    void noIdCollisionAfterGlobalsLoss()
    {
        TFixture f;
        f.Add(100, QStringLiteral("Alice"));
        f.Add(101, QStringLiteral("Bob"));
        f.Add(102, QStringLiteral("Carol"));
        f.Db.SaveUsers();
        QVERIFY(QFile::remove(TKXGlobalsCB::FilePath()));

        f.Db.LoadUsers();
        const int id = f.Add(103, QStringLiteral("Dave"));
        QCOMPARE(id, 4);
        QCOMPARE(f.Db.NextUserId(), 5); // consecutive, and stored
        TKXGlobalsCB cb;
        cb.LoadFromFile();
        QCOMPARE(cb.LastUserId, 5);
    }

    // One unreadable record file must not hide the others.
    void badRecordFilesSkippedAndReported()
    {
        TFixture f;
        for (int ext : {100, 101, 102}) f.Add(ext, QStringLiteral("User %1").arg(ext));
        f.Db.SaveUsers();
        const QString folder = f.Folder();
        KxTest::WriteBytes(folder + QStringLiteral("200.usr"), "[General]\r\nId=abc\r\nExtension=200\r\n");
        KxTest::WriteBytes(folder + QStringLiteral("201.usr"), "[General]\r\nExtension=201\r\n");
        KxTest::WriteBytes(folder + QStringLiteral("202.usr"), QByteArray("\x00\x01garbage\xff", 10));

        f.Db.LoadUsers(); // must not throw
        QCOMPARE(f.Db.Users->Count(), 3);
        for (int ext : {100, 101, 102}) QVERIFY(f.Db.UserExtensionExists(ext));
        QCOMPARE(int(f.Db.LoadProblems.size()), 3);
        const QString texts = f.Db.LoadProblemTexts().join(u'\n');
        QVERIFY2(texts.contains(folder + QStringLiteral("200.usr: its Id \"abc\" is not a number")), qPrintable(texts));
        QVERIFY2(texts.contains(folder + QStringLiteral("201.usr: it has no Id")), qPrintable(texts));
        QVERIFY2(texts.contains(folder + QStringLiteral("202.usr: ")), qPrintable(texts));

        // A second load reports each problem once.
        QFile::remove(folder + QStringLiteral("202.usr"));
        f.Db.LoadUsers();
        QCOMPARE(int(f.Db.LoadProblems.size()), 2);
    }

    // A name that would leave the users' folder, or break the transfer
    // script, is refused before any file is written or entered.
    void unsafeNamesRefusedBeforeWriting_data()
    {
        QTest::addColumn<QString>("domain");
        QTest::addColumn<int>("extension");
        QTest::newRow("negative extension") << Domain << -5;
        QTest::newRow("domain with ..") << QStringLiteral("..") << 100;
        QTest::newRow("domain with separator") << QStringLiteral("a/../../b") << 100;
        QTest::newRow("domain with quote") << QStringLiteral("off\"ice") << 100;
        QTest::newRow("empty domain") << QString() << 100;
    }
    void unsafeNamesRefusedBeforeWriting()
    {
        QFETCH(QString, domain);
        QFETCH(int, extension);
        TFixture f;
        f.Db.Domain = domain;
        f.Add(150, QStringLiteral("Fine")); // listed first: must not be written either
        auto* u = new TUser;
        u->SetDefaults(extension);
        u->Id = 99;
        u->Modified = true;
        f.Db.Users->Add(u);
        try {
            f.Db.SaveUsers();
            QFAIL("an unsafe name must be refused");
        } catch (const EKXError& e) {
            QVERIFY2(e.Message.contains(extension < 0 ? QStringLiteral("extension") : QStringLiteral("domain")),
                     qPrintable(e.Message));
        }
        QCOMPARE(filesUnder(f.Dir.path()), QStringList());
        QCOMPARE(filesUnder(QFileInfo(f.Dir.path()).absolutePath() + QStringLiteral("/b")), QStringList());
        QCOMPARE(f.Db.FilesNeedingCommiting->Count(), 0);
        QVERIFY(f.Db.Users->Items(0)->Modified);
    }
};

KX_TEST_MAIN(TestUsers)
#include "tst_Users.moc"
