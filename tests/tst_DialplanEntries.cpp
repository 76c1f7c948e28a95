// Dialplan entries: the record files, the generated dialplan file of the two
// extension kinds, and the database interface's dialplan-entry operations.
#include "KxTest.h"
#include "PendingText.h"

#include "core/DBInterface.h"
#include "core/KesFSGlobalsCB.h"
#include "records/DPECallGroup.h"
#include "records/DPEExtensionNoVM.h"
#include "records/DPEExtensionWithVM.h"
#include "records/DPEVoicemailMain.h"
#include "records/basicdialplanentrylist.h"

#include <QTemporaryDir>

namespace {

const QString Server = QStringLiteral("/etc/freeswitch/dialplan/office/");

QString globalsPath() { return Store::AppConfigDir() + QStringLiteral("globals.glo"); }

QStringList expectedExtensionFile(const QString& name, const QString& number, const QString& country,
                          const QString& timeout, bool withVoicemail)
{
    QStringList l{
        QStringLiteral("<include>"),
        QStringLiteral("  <extension name=\"%1\">").arg(name),
        QStringLiteral("    <condition field=\"destination_number\" expression=\"^(%1)$\">").arg(number),
        QStringLiteral("      <action application=\"export\" data=\"dialed_extension=$1\"/>"),
        QStringLiteral("      <!-- bind_meta_app can have these args <key> [a|b|ab] [a|b|o|s] <app> -->"),
        QStringLiteral("      <action application=\"bind_meta_app\" data=\"1 b s execute_extension::dx XML features\"/>"),
        QStringLiteral("      <action application=\"bind_meta_app\" data=\"2 b s record_session::$${recordings_dir}/${caller_id_number}.${strftime(%Y-%m-%d-%H-%M-%S)}.wav\"/>"),
        QStringLiteral("      <action application=\"bind_meta_app\" data=\"3 b s execute_extension::cf XML features\"/>"),
        QStringLiteral("      <action application=\"bind_meta_app\" data=\"4 b s execute_extension::att_xfer XML features\"/>"),
        QStringLiteral("      <action application=\"set\" data=\"ringback=${") + country + QStringLiteral("-ring}\"/>"),
        QStringLiteral("      <action application=\"set\" data=\"transfer_ringback=$${hold_music}\"/>"),
        QStringLiteral("      <action application=\"set\" data=\"call_timeout=%1\"/>").arg(timeout),
        QStringLiteral("      <!-- <action application=\"set\" data=\"sip_exclude_contact=${network_addr}\"/> -->"),
        QStringLiteral("      <action application=\"set\" data=\"hangup_after_bridge=true\"/>"),
        QStringLiteral("      <!--<action application=\"set\" data=\"continue_on_fail=NORMAL_TEMPORARY_FAILURE,USER_BUSY,NO_ANSWER,TIMEOUT,NO_ROUTE_DESTINATION\"/> -->"),
        QStringLiteral("      <action application=\"set\" data=\"continue_on_fail=true\"/>"),
        QStringLiteral("      <action application=\"hash\" data=\"insert/${domain_name}-call_return/${dialed_extension}/${caller_id_number}\"/>"),
        QStringLiteral("      <action application=\"hash\" data=\"insert/${domain_name}-last_dial_ext/${dialed_extension}/${uuid}\"/>"),
        QStringLiteral("      <action application=\"set\" data=\"called_party_callgroup=${user_data(${dialed_extension}@${domain_name} var callgroup)}\"/>"),
        QStringLiteral("      <action application=\"hash\" data=\"insert/${domain_name}-last_dial_ext/${called_party_callgroup}/${uuid}\"/>"),
        QStringLiteral("      <action application=\"hash\" data=\"insert/${domain_name}-last_dial_ext/global/${uuid}\"/>"),
        QStringLiteral("      <!--<action application=\"export\" data=\"nolocal:sip_secure_media=${user_data(${dialed_extension}@${domain_name} var sip_secure_media)}\"/>-->"),
        QStringLiteral("      <action application=\"hash\" data=\"insert/${domain_name}-last_dial/${called_party_callgroup}/${uuid}\"/>"),
        QStringLiteral("      <action application=\"bridge\" data=\"user/${dialed_extension}@${domain_name}\"/>"),
        QStringLiteral("      <action application=\"answer\"/>"),
        QStringLiteral("      <action application=\"sleep\" data=\"1000\"/>"),
    };
    if (withVoicemail)
        l << QStringLiteral("      <action application=\"bridge\" data=\"loopback/app=voicemail:default ${domain_name} ${dialed_extension}\"/>");
    l << QStringLiteral("    </condition>") << QStringLiteral("  </extension>") << QStringLiteral("</include>");
    return l;
}

// A database interface for the domain office in a temporary working directory.
struct Fixture {
    QTemporaryDir dir;
    TDBInterface db{QStringLiteral("office"), nullptr};
    Fixture() { db.ControlBlock->WorkingDir = dir.path(); }
    QString folder() const { return db.DialplanEntryFolder(); }
    void writeEntry(const QString& base, const QByteArray& body) const
    {
        KxTest::WriteBytes(folder() + base + ".dpe", "[General]\r\n" + body);
    }
    QStringList files() const
    {
        QStringList names = QDir(folder()).entryList(QDir::Files);
        names.sort();
        return names;
    }
    QStringList pending() const { return KxTest::PendingTargets(*db.FilesNeedingCommiting); }
    QStringList heads() const // "Id:Number:NodeKey"
    {
        QStringList out;
        for (const auto& h : *db.BasicDialplanEntries)
            out << QStringLiteral("%1:%2:%3").arg(h->Id).arg(h->NumberDialled).arg(h->NodeKey);
        out.sort();
        return out;
    }
    void saveNew(int number, int id)
    {
        TDPEExtensionWithVM e;
        e.NumberDialled = number;
        e.ExtToRing = number;
        e.Name = QString::number(number);
        e.Id = id;
        db.SaveDPEExtensionWithVM(e);
    }
};

} // namespace

class TestDialplanEntries : public QObject {
    Q_OBJECT

private slots:
    void init() { QFile::remove(globalsPath()); }

    void createDefaults()
    {
        const TBasicDialplanEntry head;
        QCOMPARE(head.Id, -1);
        QCOMPARE(head.NodeKey, -1);
        QCOMPARE(head.DialplanEntryType, 0);
        const TDPEExtensionWithVM with;
        QCOMPARE(with.Id, -1);
        QCOMPARE(with.Call_Timeout, 15);
        QCOMPARE(with.DialplanEntryType, 1);
        QCOMPARE(with.ExtToRing, -1);
        QCOMPARE(with.NumberDialled, 0);
        QCOMPARE(TDPEExtensionNoVM().DialplanEntryType, 2);
        const TDPECallGroup group;
        QCOMPARE(group.LegTimeout, 15);
        QCOMPARE(group.DialplanEntryType, 4);
        QCOMPARE(group.RingType, 0);
        const TDPEVoicemailMain vm;
        QCOMPARE(vm.DialplanEntryType, 5);
        QCOMPARE(vm.Name, QStringLiteral("VMMain"));
    }

    // The dialplan file of entry 2001 with and without voicemail; the
    // ring-back country comes from globals.glo each time a file is written.
    void extensionFile_data()
    {
        QTest::addColumn<bool>("withVoicemail");
        QTest::addColumn<QString>("country");
        QTest::newRow("without voicemail, default country") << false << "";
        QTest::newRow("with voicemail, default country") << true << "";
        QTest::newRow("with voicemail, country from globals.glo") << true << "us";
    }
    void extensionFile()
    {
        QFETCH(bool, withVoicemail);
        QFETCH(QString, country);
        if (!country.isEmpty()) {
            TKesFSGlobalsCB globals;
            globals.RingbackCountry = country;
            globals.SaveToFile(globalsPath());
        }
        const QString expectedCountry = country.isEmpty() ? QStringLiteral("uk") : country;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("00_2001.xml"));
        QStringList lines;
        if (withVoicemail) {
            TDPEExtensionWithVM e;
            e.Name = QStringLiteral("Reception");
            e.NumberDialled = 2001;
            e.Call_Timeout = 20;
            e.GenerateXML(path);
            lines = e.XMLText;
        } else {
            TDPEExtensionNoVM e;
            e.Name = QStringLiteral("Reception");
            e.NumberDialled = 2001;
            e.Call_Timeout = 20;
            e.GenerateXML(path);
            lines = e.XMLText;
        }
        const QStringList expected =
            expectedExtensionFile(QStringLiteral("Reception"), QStringLiteral("2001"), expectedCountry, QStringLiteral("20"), withVoicemail);
        QCOMPARE(expected.size(), withVoicemail ? 30 : 29);
        QCOMPARE(expected.at(2), QStringLiteral("    <condition field=\"destination_number\" expression=\"^(2001)$\">"));
        KxTest::CompareLines(KxTest::ReadBytes(path), expected);
        QCOMPARE(lines, expected);
    }

    void nameIsEscaped()
    {
        QTemporaryDir dir;
        TDPEExtensionNoVM e;
        e.Name = QStringLiteral("Sales & \"Support\" <1>");
        e.GenerateXML(dir.filePath(QStringLiteral("x.xml")));
        QCOMPARE(e.XMLText.at(1),
                 QStringLiteral("  <extension name=\"Sales &amp; &quot;Support&quot; &lt;1&gt;\">"));
    }

    // Saving writes the record file with its keys in order and the dialplan
    // file, enters both as uploads, and lists the entry.
    void saveWritesRecordFileAndPendingUploads()
    {
        Fixture f;
        TDPEExtensionNoVM e;
        e.Id = f.db.NextDialplanEntryId();
        e.NumberDialled = 205;
        e.ExtToRing = 201;
        e.Name = QStringLiteral("205");
        e.Call_Timeout = 25;
        f.db.SaveDPEExtensionNoVM(e);
        KxTest::CompareLines(KxTest::ReadBytes(f.folder() + "00_205.dpe"), {
            QStringLiteral("[General]"), QStringLiteral("Id=1"), QStringLiteral("Call_Timeout=25"),
            QStringLiteral("DialplanEntryType=2"), QStringLiteral("ExtToRing=201"), QStringLiteral("Name=205"),
            QStringLiteral("NumberDialled=205"), QStringLiteral("Ringback=")});
        QCOMPARE(KxTest::ReadBytes(f.folder() + "00_205.xml").count("\r\n"), 29);
        QCOMPARE(f.pending(), (QStringList{"put " + Server + "00_205.dpe", "put " + Server + "00_205.xml"}));
        QCOMPARE(f.db.FilesNeedingCommiting->Items(0)->SrcFolder, f.dir.path() + "/dialplan/office/");
        QCOMPARE(f.heads(), QStringList{"1:205:111"});

        f.db.LoadDialplanEntries();
        QCOMPARE(f.heads(), QStringList{"1:205:111"});
        QCOMPARE(f.db.GetDialplanEntryTypeByNodeKey(111), 2);
        QCOMPARE(f.db.GetDialplanEntryTypeByNodeKey(999), 0);
        QCOMPARE(f.db.GetDialplanEntryNumberById(1), QStringLiteral("205"));
        QCOMPARE(f.db.GetDialplanEntryNumberById(2), QString());

        TDPEExtensionNoVM back;
        f.db.LoadDPEExtensionNoVM(205, back);
        QCOMPARE(back.Id, 1);
        QCOMPARE(back.ExtToRing, 201);
        QCOMPARE(back.Call_Timeout, 25);
    }

    void nextDialplanEntryId_data()
    {
        QTest::addColumn<QList<int>>("ids");
        QTest::addColumn<int>("next");
        QTest::newRow("empty") << QList<int>{} << 1;
        QTest::newRow("3 and 7") << QList<int>{3, 7} << 8;
        QTest::newRow("7 and 3") << QList<int>{7, 3} << 8;
        QTest::newRow("only 0") << QList<int>{0} << 1;
        QTest::newRow("unusable Ids get 8 and 9") << QList<int>{-1, 7, 7} << 10;
    }
    void nextDialplanEntryId()
    {
        QFETCH(QList<int>, ids);
        QFETCH(int, next);
        Fixture f;
        int number = 300;
        for (int id : ids)
            f.writeEntry(QStringLiteral("00_%1").arg(++number),
                         QStringLiteral("Id=%1\r\nNumberDialled=%2\r\nDialplanEntryType=1\r\n").arg(id).arg(number).toUtf8());
        f.db.LoadDialplanEntries();
        QCOMPARE(f.db.NextDialplanEntryId(), next);
    }

    // Every listed entry has a distinct, non-negative Id and a valid node key,
    // also the kinds whose files carry no Id; bad files are skipped and named.
    void loadGivesUsableIdsAndSkipsBadFiles()
    {
        Fixture f;
        f.writeEntry("00_200", "Id=4\r\nNumberDialled=200\r\nDialplanEntryType=1\r\nName=200\r\n");
        f.writeEntry("00_201", "Id=-1\r\nNumberDialled=201\r\nDialplanEntryType=1\r\nName=Local Extension\r\n");
        f.writeEntry("00_500", "NumberDialled=500\r\nDialplanEntryType=4\r\nCallGroupToRing=Sales\r\n");
        f.writeEntry("00_Star98", "NumberDialled=*98\r\nDialplanEntryType=5\r\n");
        f.writeEntry("00_bad1", "Id=x\r\nNumberDialled=1\r\nDialplanEntryType=1\r\n");
        f.writeEntry("00_bad2", "Id=9\r\nDialplanEntryType=1\r\n");
        f.writeEntry("00_bad3", "Id=9\r\nNumberDialled=3\r\nDialplanEntryType=3\r\n");
        KxTest::WriteBytes(f.folder() + "00_bad4.dpe", "\x7f\x45garbage");
        f.db.LoadDialplanEntries();

        QCOMPARE(f.db.BasicDialplanEntries->Count(), 4);
        QSet<int> ids;
        for (const auto& h : *f.db.BasicDialplanEntries) {
            QVERIFY(h->Id >= 0);
            QCOMPARE(h->NodeKey, (QStringLiteral("11") + QString::number(h->Id)).toInt());
            ids.insert(h->Id);
        }
        QCOMPARE(ids.size(), 4);
        QVERIFY(ids.contains(4));
        QCOMPARE(f.db.LoadProblems.size(), size_t(4));
        const QString problems = f.db.LoadProblemTexts().join(u'\n');
        for (const char* name : {"00_bad1.dpe", "00_bad2.dpe", "00_bad3.dpe", "00_bad4.dpe"})
            QVERIFY2(problems.contains(f.folder() + name), qPrintable(problems));
        f.db.LoadDialplanEntries();
        QCOMPARE(f.db.LoadProblems.size(), size_t(4));

        // The read-only kinds load by number; voicemail main by its file-safe name.
        TDPECallGroup group;
        f.db.LoadDPECallGroup(500, group);
        QCOMPARE(group.CallGroupToRing, QStringLiteral("Sales"));
        TDPEVoicemailMain vm;
        f.db.LoadDPEVoicemailMain(QStringLiteral("*98"), vm);
        QCOMPARE(vm.NumberDialled, QStringLiteral("*98"));
        QCOMPARE(vm.DialplanEntryType, 5);

        // An entry listed without a stored Id gets a real one when it is saved.
        TDPEExtensionWithVM legacy;
        f.db.LoadDPEExtensionWithVM(201, legacy);
        QCOMPARE(legacy.Id, -1);
        f.db.SaveDPEExtensionWithVM(legacy);
        QVERIFY(legacy.Id > 4);
        f.db.LoadDialplanEntries();
        QCOMPARE(f.db.GetDialplanEntryNumberById(legacy.Id), QStringLiteral("201"));
    }

    void fileBase_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("base");
        QTest::newRow("digits") << "200" << "00_200";
        QTest::newRow("star") << "*98" << "00_Star98";
        QTest::newRow("star hash 9") << "*#9" << "00_StarHash9";
    }
    void fileBase()
    {
        QFETCH(QString, number);
        QFETCH(QString, base);
        QCOMPARE(TBasicDialplanEntry::FileBase(number), base);
        Fixture f;
        QVERIFY(!f.db.DialplanEntryFileExists(number));
        f.writeEntry(base, "NumberDialled=" + number.toUtf8() + "\r\nDialplanEntryType=5\r\n");
        QVERIFY(f.db.DialplanEntryFileExists(number));
    }

    // Writing an entry under a new number removes the old number's files here
    // and, through pending deletes, on the server.
    void renumberRemovesOldFiles()
    {
        Fixture f;
        f.saveNew(200, 1);
        f.db.LoadDialplanEntries();
        f.db.FilesNeedingCommiting->Clear();
        TDPEExtensionWithVM e;
        f.db.LoadDPEExtensionWithVM(200, e);
        e.NumberDialled = 210;
        f.db.SaveDPEExtensionWithVM(e);
        QCOMPARE(f.files(), (QStringList{"00_210.dpe", "00_210.xml"}));
        QCOMPARE(f.pending(), (QStringList{"put " + Server + "00_210.dpe", "put " + Server + "00_210.xml",
                                           "del " + Server + "00_200.dpe", "del " + Server + "00_200.xml"}));
        QCOMPARE(f.heads(), QStringList{"1:210:111"});
        f.db.LoadDialplanEntries();
        QCOMPARE(f.heads(), QStringList{"1:210:111"});

        // Also when the caller built the entry itself and only its Id tells
        // which entry it is.
        TDPEExtensionNoVM fresh;
        fresh.Id = 1;
        fresh.NumberDialled = 220;
        f.db.SaveDPEExtensionNoVM(fresh);
        QCOMPARE(f.files(), (QStringList{"00_220.dpe", "00_220.xml"}));
    }

    // A number whose files belong to another entry is refused before anything
    // is written: saving would replace that entry.
    void numberOfAnotherEntryRefused()
    {
        Fixture f;
        f.saveNew(200, 1);
        f.saveNew(201, 2);
        const QByteArray before = KxTest::ReadBytes(f.folder() + "00_201.dpe");
        f.db.FilesNeedingCommiting->Clear();

        TDPEExtensionWithVM added;
        added.Id = f.db.NextDialplanEntryId();
        added.NumberDialled = 201;
        QVERIFY_THROWS_EXCEPTION(EKXError, f.db.SaveDPEExtensionWithVM(added));

        TDPEExtensionWithVM moved;
        f.db.LoadDPEExtensionWithVM(200, moved);
        moved.NumberDialled = 201;
        QVERIFY_THROWS_EXCEPTION(EKXError, f.db.SaveDPEExtensionWithVM(moved));

        QCOMPARE(KxTest::ReadBytes(f.folder() + "00_201.dpe"), before);
        QCOMPARE(f.files(), (QStringList{"00_200.dpe", "00_200.xml", "00_201.dpe", "00_201.xml"}));
        QCOMPARE(f.db.FilesNeedingCommiting->Count(), 0);

        // Saving an entry again under its own number is an edit, not a clash.
        TDPEExtensionWithVM same;
        f.db.LoadDPEExtensionWithVM(201, same);
        same.Call_Timeout = 40;
        f.db.SaveDPEExtensionWithVM(same);
        QCOMPARE(same.Id, 2);
    }

    void deleteRemovesFilesAndEntersDeletes()
    {
        Fixture f;
        f.saveNew(200, 1);
        f.saveNew(201, 2);
        f.writeEntry("00_Star98", "NumberDialled=*98\r\nDialplanEntryType=5\r\n");
        KxTest::WriteBytes(f.folder() + "00_Star98.xml", "<include/>\r\n");
        f.db.LoadDialplanEntries();
        f.db.FilesNeedingCommiting->Clear();

        f.db.DeleteDialplanEntry(QStringLiteral("200"));
        QCOMPARE(f.pending(), (QStringList{"del " + Server + "00_200.dpe", "del " + Server + "00_200.xml"}));
        QCOMPARE(f.db.FilesNeedingCommiting->Items(0)->SrcFolder, QString());

        // The voicemail-main entry's files carry the file-safe number.
        f.db.DeleteDialplanEntry(QStringLiteral("*98"));
        QCOMPARE(f.files(), (QStringList{"00_201.dpe", "00_201.xml"}));
        QCOMPARE(f.db.BasicDialplanEntries->Count(), 1);
        QCOMPARE(f.pending().last(), "del " + Server + "00_Star98.xml");

        // A number not listed is still deleted from disk and the server.
        f.db.BasicDialplanEntries->Clear();
        f.db.DeleteDialplanEntry(QStringLiteral("201"));
        QVERIFY(f.files().isEmpty());
        QCOMPARE(f.pending().size(), 6);

        // A file that cannot be deleted (a folder in its place) stops it.
        KxTest::WriteBytes(f.folder() + "00_300.dpe/inside", "x");
        try {
            f.db.DeleteDialplanEntry(QStringLiteral("300"));
            QFAIL("the delete should have failed");
        } catch (const EKXError& e) {
            QVERIFY2(e.Message.startsWith("Unable to delete the file \"" + f.folder() + "00_300.dpe\"\n\n"),
                     qPrintable(e.Message));
        }
    }

    void unsafeNumberRefused_data()
    {
        QTest::addColumn<QString>("number");
        QTest::newRow("parent folder") << "/../../../escaped";
        QTest::newRow("separator") << "2/00";
        QTest::newRow("double quote") << "20\"0";
        QTest::newRow("control character") << "20\n0";
    }
    void unsafeNumberRefused()
    {
        QFETCH(QString, number);
        Fixture f;
        QVERIFY_THROWS_EXCEPTION(EKXError, f.db.DeleteDialplanEntry(number));
        TDPEVoicemailMain vm;
        QVERIFY_THROWS_EXCEPTION(EKXError, f.db.LoadDPEVoicemailMain(number, vm));
        QCOMPARE(f.db.FilesNeedingCommiting->Count(), 0);
    }

    // First run: every user without an entry file gets one ringing its
    // extension with voicemail, each with a real, distinct Id that follows
    // the Ids already on disk.
    void defaultEntriesGetRealIds()
    {
        Fixture f;
        f.writeEntry("00_101", "Id=4\r\nNumberDialled=101\r\nDialplanEntryType=2\r\nName=Kept\r\n");
        QVERIFY(f.db.AddDefaultDialplanEntry(100));
        QVERIFY(!f.db.AddDefaultDialplanEntry(101));
        QVERIFY(f.db.AddDefaultDialplanEntry(102));
        QCOMPARE(f.pending(), (QStringList{"put " + Server + "00_100.dpe", "put " + Server + "00_100.xml",
                                           "put " + Server + "00_102.dpe", "put " + Server + "00_102.xml"}));
        TDPEExtensionWithVM e;
        f.db.LoadDPEExtensionWithVM(102, e);
        QCOMPARE(e.Name, QStringLiteral("Local Extension"));
        QCOMPARE(e.Call_Timeout, 30);
        QCOMPARE(e.ExtToRing, 102);
        QCOMPARE(e.DialplanEntryType, 1);

        f.db.LoadDialplanEntries();
        QCOMPARE(f.heads(), (QStringList{"4:101:114", "5:100:115", "6:102:116"}));
    }
};

KX_TEST_MAIN(TestDialplanEntries)
#include "tst_DialplanEntries.moc"
