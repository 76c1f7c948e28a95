// The frame of the database interface: the password rule and the global
// configuration files.
#include "KxTest.h"

#include "core/DBInterface.h"
#include "engine/kxVarsXML.h"
#include "records/UserList.h"

class TestDBInterfaceFrame : public QObject {
    Q_OBJECT

private slots:
    void isPasswordSecure_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("secure");
        QTest::newRow("three kinds in three characters") << QStringLiteral("aB3") << true;
        QTest::newRow("digit first") << QStringLiteral("9zQ") << true;
        QTest::newRow("long, with others") << QStringLiteral("--xY7--") << true;
        QTest::newRow("no digit") << QStringLiteral("abcDEF") << false;
        QTest::newRow("no upper case") << QStringLiteral("abc123") << false;
        QTest::newRow("no lower case") << QStringLiteral("ABC123") << false;
        QTest::newRow("two characters") << QStringLiteral("a1") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("engine default 5807") << QStringLiteral("5807") << false;
        QTest::newRow("letters outside a-z do not count") << QStringLiteral("éÉ1") << false;
        QTest::newRow("accented plus plain") << QStringLiteral("éÉ1aB") << true;
    }
    void isPasswordSecure()
    {
        QFETCH(QString, password);
        QFETCH(bool, secure);
        QCOMPARE(TDBInterface::IsPasswordSecure(password), secure);
    }

    void loadGlobalsOnEmptyWorkingDirKeepsDefaults()
    {
        QTemporaryDir dir;
        TDBInterface db(QStringLiteral("office"), nullptr);
        db.ControlBlock->WorkingDir = dir.path();
        db.LoadGlobals(); // must not throw
        QCOMPARE(db.VarsXML->XMLLines(), TKesFSVarsXML().XMLLines());
        QCOMPARE(db.Users->Count(), 0);
        QCOMPARE(db.FilesNeedingCommiting->Count(), 0);
    }

    void saveGlobalsTwiceLeavesTenUploads()
    {
        QTemporaryDir dir;
        const QString w = dir.path() + u'/';
        {
            TDBInterface db(QStringLiteral("office"), nullptr);
            db.ControlBlock->WorkingDir = dir.path();
            db.VarsXML->DefaultPassword = QStringLiteral("Str0ng");
            db.SaveGlobals();
            db.SaveGlobals();
            const QStringList files = {QStringLiteral("vars.vrs"),     QStringLiteral("vars.xml"),
                                       QStringLiteral("office.dpd"),   QStringLiteral("office.xml"),
                                       QStringLiteral("office.ddm"),   QStringLiteral("office.xml"),
                                       QStringLiteral("internal.six"), QStringLiteral("internal.xml"),
                                       QStringLiteral("external.sex"), QStringLiteral("external.xml")};
            QCOMPARE(db.FilesNeedingCommiting->Count(), 10);
            for (int i = 0; i < 10; ++i) QCOMPARE(db.FilesNeedingCommiting->Items(i)->SrcFile, files[i]);
            QCOMPARE(db.FilesNeedingCommiting->Items(0)->SrcFolder, w);
            QCOMPARE(db.FilesNeedingCommiting->Items(1)->DestFolder, QStringLiteral("/etc/freeswitch/"));
            QVERIFY(QFile::exists(w + QStringLiteral("vars.vrs")));
            QVERIFY(QFile::exists(w + QStringLiteral("vars.xml")));
        }
        TDBInterface db(QStringLiteral("office"), nullptr);
        db.ControlBlock->WorkingDir = dir.path();
        db.LoadGlobals();
        QCOMPARE(db.VarsXML->DefaultPassword, QStringLiteral("Str0ng"));
        QVERIFY(TDBInterface::IsPasswordSecure(db.VarsXML->DefaultPassword));
    }
};

KX_TEST_MAIN(TestDBInterfaceFrame)
#include "tst_DBInterfaceFrame.moc"
