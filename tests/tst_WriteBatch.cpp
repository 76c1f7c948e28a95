// Writing many files as one batch, and the pending list with many entries.
#include "KxTest.h"

#include "core/IniFile.h"
#include "core/KXGlobalsCB.h"
#include "core/KxError.h"
#include "core/Store.h"
#include "core/WriteBatch.h"
#include "sync/filesneedingcommitinglist.h"

#include <QDateTime>

class TestWriteBatch : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void init()
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        QDir(Store::AppConfigDir()).removeRecursively();
    }

    // Until the batch ends the files on disk keep their old content, while
    // reading through the store sees the new one; then every file is in
    // place and nothing is left beside it.
    void filesArePutInPlaceAtTheEnd()
    {
        KxTest::WriteBytes(path(QStringLiteral("a.usr")), "[General]\r\nName=old\r\n");
        {
            TWriteBatch batch;
            TIniFile a(path(QStringLiteral("a.usr")));
            a.WriteString(QStringLiteral("General"), QStringLiteral("Name"), QStringLiteral("new"));
            a.UpdateFile();
            Store::WriteGeneratedFile(path(QStringLiteral("sub/b.xml")), {QStringLiteral("<include>")});
            QCOMPARE(KxTest::ReadBytes(path(QStringLiteral("a.usr"))), QByteArray("[General]\r\nName=old\r\n"));
            QVERIFY(!QFile::exists(path(QStringLiteral("sub/b.xml"))));
            const TIniFile again(path(QStringLiteral("a.usr")));
            QCOMPARE(again.ReadString(QStringLiteral("General"), QStringLiteral("Name"), QString()), QStringLiteral("new"));
            batch.Commit();
        }
        QCOMPARE(KxTest::ReadBytes(path(QStringLiteral("a.usr"))), QByteArray("[General]\r\nName=new\r\n"));
        QCOMPARE(KxTest::ReadBytes(path(QStringLiteral("sub/b.xml"))), QByteArray("<include>\r\n"));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{QStringLiteral("a.usr")});
        QCOMPARE(QDir(path(QStringLiteral("sub"))).entryList(QDir::Files), QStringList{QStringLiteral("b.xml")});
    }

    void batchEndedWithoutCommitStillWrites()
    {
        {
            TWriteBatch batch;
            Store::WriteFileAtomically(path(QStringLiteral("c.txt")), "c");
        }
        QCOMPARE(KxTest::ReadBytes(path(QStringLiteral("c.txt"))), QByteArray("c"));
    }

    void unchangedFileIsLeftAlone()
    {
        KxTest::WriteBytes(path(QStringLiteral("same.txt")), "same");
        const QDateTime old = QDateTime::currentDateTime().addDays(-3);
        {
            QFile f(path(QStringLiteral("same.txt")));
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(old, QFileDevice::FileModificationTime));
        }
        TWriteBatch batch;
        Store::WriteFileAtomically(path(QStringLiteral("same.txt")), "same");
        batch.Commit();
        QCOMPARE(QFileInfo(path(QStringLiteral("same.txt"))).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch());
    }

    void deleteInsideBatchDropsTheWrite()
    {
        KxTest::WriteBytes(path(QStringLiteral("gone.txt")), "old");
        TWriteBatch batch;
        Store::WriteFileAtomically(path(QStringLiteral("gone.txt")), "new");
        Store::DeleteFileIfExists(path(QStringLiteral("gone.txt")));
        QByteArray data;
        QVERIFY(!Store::ReadFileBytes(path(QStringLiteral("gone.txt")), data));
        batch.Commit();
        QVERIFY(!QFile::exists(path(QStringLiteral("gone.txt"))));
    }

    // A file that cannot be put in place is named; the others still are.
    void failureNamesTheFileAndKeepsTheOthers()
    {
        KxTest::WriteBytes(path(QStringLiteral("blocker")), "a file where a folder should be");
        TWriteBatch batch;
        Store::WriteFileAtomically(path(QStringLiteral("ok1.txt")), "1");
        Store::WriteFileAtomically(path(QStringLiteral("blocker/x.txt")), "x");
        Store::WriteFileAtomically(path(QStringLiteral("ok2.txt")), "2");
        try {
            batch.Commit();
            QFAIL("no error");
        } catch (const EKXError& e) {
            QVERIFY2(e.Message.contains(QStringLiteral("blocker")), qPrintable(e.Message));
        }
        QCOMPARE(KxTest::ReadBytes(path(QStringLiteral("ok1.txt"))), QByteArray("1"));
        QCOMPARE(KxTest::ReadBytes(path(QStringLiteral("ok2.txt"))), QByteArray("2"));
    }

    // Ids taken inside a batch read back the counter written just before.
    void idsTakenInsideBatchAreConsecutive()
    {
        TWriteBatch batch;
        const int first = TKXGlobalsCB::TakeNextId(TIdCounter::User);
        const int second = TKXGlobalsCB::TakeNextId(TIdCounter::User);
        QCOMPARE(second, first + 1);
        batch.Commit();
        TKXGlobalsCB cb;
        cb.LoadFromFile();
        QCOMPARE(cb.LastUserId, second);
    }

    // Thousands of entries: a file entered again still takes its first
    // entry's place, also after a removal and after an entry was changed in
    // its place.
    void pendingListKeepsOneEntryPerFile()
    {
        TFilesNeedingCommitingList list;
        const QString d = QStringLiteral("/etc/freeswitch/directory/office/");
        for (int i = 0; i < 5000; ++i)
            list.Add(TFileNeedingCommiting(QStringLiteral("/w/"), QString::number(i) + QStringLiteral(".usr"), d, fnaaPut));
        list.Add(TFileNeedingCommiting(QString(), QStringLiteral("10.usr"), d, fnaaDelete));
        list.Add(TFileNeedingCommiting(QStringLiteral("/w/"), QStringLiteral("10.usr"), QStringLiteral("/etc/other/"), fnaaPut));
        QCOMPARE(list.Count(), 5001);
        QCOMPARE(list.Items(10)->ActionType, qint32(fnaaDelete));
        QCOMPARE(list.Items(5000)->DestFolder, QStringLiteral("/etc/other/"));

        list.Delete(3);
        list.Add(TFileNeedingCommiting(QString(), QStringLiteral("4999.usr"), d, fnaaDelete));
        QCOMPARE(list.Count(), 5000);
        QCOMPARE(list.Items(4998)->SrcFile, QStringLiteral("4999.usr"));
        QCOMPARE(list.Items(4998)->ActionType, qint32(fnaaDelete));

        list.Items(0)->SrcFile = QStringLiteral("renamed.usr");
        list.Add(TFileNeedingCommiting(QString(), QStringLiteral("0.usr"), d, fnaaDelete));
        QCOMPARE(list.Count(), 5001);
        list.Add(TFileNeedingCommiting(QString(), QStringLiteral("renamed.usr"), d, fnaaDelete));
        QCOMPARE(list.Count(), 5001);
        QCOMPARE(list.Items(0)->ActionType, qint32(fnaaDelete));
    }
};

KX_TEST_MAIN(TestWriteBatch)
#include "tst_WriteBatch.moc"
