// Loading and saving the five engine-wide configuration files together.
#include "KxTest.h"

#include "core/DBInterface.h"
#include "engine/DialplanDomainXML.h"
#include "engine/DirectoryDomainXML.h"
#include "engine/SIPExternalXML.h"
#include "engine/SIPInternalXML.h"
#include "engine/kxVarsXML.h"

class TestGlobals : public QObject {
    Q_OBJECT

    // The generated text of every global object, as a fingerprint of all its fields.
    static QStringList generatedTexts(TDBInterface& db, const QString& scratch)
    {
        QStringList all;
        db.VarsXML->GenerateXML(scratch + "/v.xml");
        all << db.VarsXML->XMLText;
        db.DialplanDomainXML->GenerateXML(scratch + "/d.xml");
        all << db.DialplanDomainXML->XMLText;
        db.DirectoryDomainXML->GenerateXML(scratch + "/dd.xml");
        all << db.DirectoryDomainXML->XMLText;
        db.SIPInternal->GenerateXML(scratch + "/i.xml");
        all << db.SIPInternal->XMLText;
        db.SIPExternal->GenerateXML(scratch + "/e.xml");
        all << db.SIPExternal->XMLText;
        return all;
    }

    static std::unique_ptr<TDBInterface> makeDb(const QString& domain, const QString& workingDir)
    {
        auto db = std::make_unique<TDBInterface>(domain, nullptr);
        db->ControlBlock->WorkingDir = workingDir;
        return db;
    }

private slots:
    void loadOnEmptyWorkingDirLeavesDefaults()
    {
        QTemporaryDir work, scratch;
        auto fresh = makeDb("office", work.path());
        fresh->DialplanDomainXML->Domain = fresh->DialplanDomainXML->ContextName = "office";
        const QStringList defaults = generatedTexts(*fresh, scratch.path());

        auto db = makeDb("office", work.path());
        db->LoadGlobals();
        QCOMPARE(generatedTexts(*db, scratch.path()), defaults);
        QCOMPARE(db->DialplanDomainXML->CallTimeout, 15);
        QCOMPARE(db->SIPInternal->rfc2833pt, 101);
        QCOMPARE(db->FilesNeedingCommiting->Count(), 0);
        QVERIFY(QDir(work.path()).isEmpty()); // reading creates nothing
    }

    void saveTwiceLeavesTenUploads()
    {
        QTemporaryDir work;
        const QString w = work.path() + u'/';
        auto db = makeDb("office", work.path());
        db->SaveGlobals();
        db->SaveGlobals();
        struct Expected { QString folder, file, server; };
        const QList<Expected> expected = {
            {w, "vars.vrs", "/etc/freeswitch/"},
            {w, "vars.xml", "/etc/freeswitch/"},
            {w + "dialplan/", "office.dpd", "/etc/freeswitch/dialplan/"},
            {w + "dialplan/", "office.xml", "/etc/freeswitch/dialplan/"},
            {w + "directory/", "office.ddm", "/etc/freeswitch/directory/"},
            {w + "directory/", "office.xml", "/etc/freeswitch/directory/"},
            {w + "sip_profiles/", "internal.six", "/etc/freeswitch/sip_profiles/"},
            {w + "sip_profiles/", "internal.xml", "/etc/freeswitch/sip_profiles/"},
            {w + "sip_profiles/", "external.sex", "/etc/freeswitch/sip_profiles/"},
            {w + "sip_profiles/", "external.xml", "/etc/freeswitch/sip_profiles/"},
        };
        QCOMPARE(db->FilesNeedingCommiting->Count(), 10);
        for (int i = 0; i < 10; ++i) {
            const TFileNeedingCommiting* f = db->FilesNeedingCommiting->Items(i);
            QCOMPARE(f->SrcFolder, expected[i].folder);
            QCOMPARE(f->SrcFile, expected[i].file);
            QCOMPARE(f->DestFolder, expected[i].server);
            QCOMPARE(f->ActionType, qint32(fnaaPut));
            QVERIFY2(QFile::exists(f->SrcFolder + f->SrcFile), qPrintable(f->SrcFile));
        }
    }

    void savedSettingsComeBack()
    {
        QTemporaryDir work, scratch;
        auto db = makeDb("office", work.path());
        db->LoadGlobals();
        db->VarsXML->DefaultCountry = "DE";
        db->DialplanDomainXML->CallTimeout = 33;
        db->DialplanDomainXML->LocalExtension = "d{3}";
        db->SIPInternal->TLSOnly = true;
        db->SIPInternal->SIPIP = "192.0.2.5";
        db->SIPExternal->AuthCalls = true;
        db->SIPExternal->SIPPort = "5090";
        db->SaveGlobals();
        const QStringList saved = generatedTexts(*db, scratch.path());

        auto again = makeDb("office", work.path());
        again->LoadGlobals();
        QCOMPARE(generatedTexts(*again, scratch.path()), saved);
        QVERIFY(again->DialplanDomainXML->XMLText.contains(
            R"~(        <action application="set" data="ringback=${DE-ring}"/>)~"));
    }

    // The domain typed at connection may differ from the one the globals were
    // loaded with; the files named after the new domain must name it inside too.
    void saveFollowsTheCurrentDomain()
    {
        QTemporaryDir work;
        auto db = makeDb("default", work.path());
        db->LoadGlobals();
        db->Domain = "office";
        db->SaveGlobals();
        const QString d = QString::fromUtf8(KxTest::ReadBytes(work.path() + "/dialplan/office.xml"));
        QVERIFY(d.contains(R"~(  <context name="office">)~"));
        QVERIFY(d.contains("    <X-PRE-PROCESS cmd=\"include\" data=\"office/*.xml\"/>"));
        const QString dd = QString::fromUtf8(KxTest::ReadBytes(work.path() + "/directory/office.xml"));
        QVERIFY(dd.contains(R"~(  <domain name="office">)~"));
        QVERIFY(dd.contains(R"~(      <variable name="user_context" value="office"/>)~"));
        QVERIFY(!QFile::exists(work.path() + "/dialplan/default.xml"));
    }

    void unusableDomainWritesNothing_data()
    {
        QTest::addColumn<QString>("domain");
        QTest::newRow("empty") << QString();
        QTest::newRow("path") << QStringLiteral("../etc");
        QTest::newRow("separator") << QStringLiteral("a/b");
    }
    void unusableDomainWritesNothing()
    {
        QFETCH(QString, domain);
        QTemporaryDir work;
        auto db = makeDb(domain, work.path());
        try {
            db->SaveGlobals();
            QFAIL("an unusable domain must be refused");
        } catch (const EKXError& e) {
            QVERIFY2(e.Message.contains(QLatin1String("domain")), qPrintable(e.Message));
        }
        QVERIFY(QDir(work.path()).isEmpty());
        QCOMPARE(db->FilesNeedingCommiting->Count(), 0);
    }
};

KX_TEST_MAIN(TestGlobals)
#include "tst_Globals.moc"
