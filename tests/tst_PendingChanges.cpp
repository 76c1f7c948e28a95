// The list of files waiting for the next commit and its stored form.
#include "KxTest.h"
#include "core/DBInterface.h"
#include "core/Store.h"
#include "sync/filesneedingcommitinglist.h"

namespace {
TFileNeedingCommiting entry(const QString& file, const QString& dest, int action = fnaaPut)
{
    return TFileNeedingCommiting(action == fnaaPut ? QStringLiteral("/w/") : QString(), file, dest, action);
}
QStringList describe(const TFilesNeedingCommitingList& list)
{
    QStringList out;
    for (int i = 0; i < list.Count(); ++i)
        out << QStringLiteral("%1 %2%3").arg(list.Items(i)->ActionType).arg(list.Items(i)->DestFolder,
                                                                           list.Items(i)->SrcFile);
    return out;
}
} // namespace

class TestPendingChanges : public QObject {
    Q_OBJECT
private slots:
    void init() { QDir(Store::AppConfigDir()).removeRecursively(); }

    void sameFileReplacesInPlace()
    {
        TFilesNeedingCommitingList list;
        const QString dir = QStringLiteral("/etc/freeswitch/directory/default/");
        list.Add(entry(QStringLiteral("100.usr"), dir));
        list.Add(entry(QStringLiteral("100.xml"), dir));
        list.Add(entry(QStringLiteral("101.usr"), dir));
        list.Add(entry(QStringLiteral("100.usr"), dir));               // saved again
        list.Add(entry(QStringLiteral("100.xml"), dir, fnaaDelete));   // then deleted
        list.Add(entry(QStringLiteral("100.usr"), QStringLiteral("/etc/freeswitch/directory/other/")));
        QCOMPARE(describe(list), QStringList({"0 " + dir + "100.usr", "1 " + dir + "100.xml", "0 " + dir + "101.usr",
                                              "0 /etc/freeswitch/directory/other/100.usr"}));
        QCOMPARE(list.Items(1)->SrcFolder, QString());
    }

    void localAddressEntersNoUploads()
    {
        TDBInterface db(QStringLiteral("default"), nullptr);
        db.ControlBlock->LastIPAddress = QStringLiteral("local");
        db.AddFileNeedingCommiting(QStringLiteral("/w/"), QStringLiteral("vars.xml"),
                                   QStringLiteral("/etc/freeswitch/"), fnaaPut);
        QCOMPARE(db.FilesNeedingCommiting->Count(), 0);
        db.ControlBlock->LastIPAddress = QStringLiteral("192.0.2.1");
        db.AddFileNeedingCommiting(QStringLiteral("/w/"), QStringLiteral("vars.xml"),
                                   QStringLiteral("/etc/freeswitch/"), fnaaPut);
        QCOMPARE(db.FilesNeedingCommiting->Count(), 1);
    }

    // With ten or more stored entries, listing order would put 10.fnc before
    // 2.fnc; they must come back in the order written.
    void storedEntriesComeBackInWrittenOrder()
    {
        const QString dest = QStringLiteral("/etc/freeswitch/directory/default/");
        TDBInterface db(QStringLiteral("default"), nullptr);
        for (int i = 0; i < 12; ++i)
            db.FilesNeedingCommiting->Add(entry(QString::number(100 + i) + QStringLiteral(".xml"), dest,
                                                i % 3 ? fnaaPut : fnaaDelete));
        const QStringList written = describe(*db.FilesNeedingCommiting);
        db.SaveFilesNeedingCommiting();
        const QString folder = TDBInterface::PendingChangesFolder();
        QCOMPARE(folder, Store::AppConfigDir() + QStringLiteral("fnc/"));
        QVERIFY(QFile::exists(folder + QStringLiteral("12.fnc")));
        KxTest::CompareLines(KxTest::ReadBytes(folder + QStringLiteral("2.fnc")),
                             {"[General]", "ActionType=0", "SrcFile=101.xml", "SrcFolder=/w/",
                              "DestFolder=" + dest});

        TDBInterface next(QStringLiteral("default"), nullptr);
        next.LoadFilesNeedingCommiting();
        QCOMPARE(describe(*next.FilesNeedingCommiting), written);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList());
    }

    void storedEntryWithoutActionTypeLoadsAsTwo()
    {
        const QString folder = TDBInterface::PendingChangesFolder();
        KxTest::WriteBytes(folder + QStringLiteral("1.fnc"), "[General]\r\nSrcFile=a.xml\r\nDestFolder=/etc/freeswitch/\r\n");
        TDBInterface db(QStringLiteral("default"), nullptr);
        db.LoadFilesNeedingCommiting();
        QCOMPARE(db.FilesNeedingCommiting->Count(), 1);
        QCOMPARE(db.FilesNeedingCommiting->Items(0)->ActionType, 2);
        QCOMPARE(db.FilesNeedingCommiting->Items(0)->SrcFolder, QString());
    }
};

KX_TEST_MAIN(TestPendingChanges)
#include "tst_PendingChanges.moc"
