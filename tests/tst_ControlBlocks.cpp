// Settings and Id counters in the application configuration folder.
#include "KxTest.h"
#include "core/IniFile.h"
#include "core/KXCB.h"
#include "core/KXGlobalsCB.h"
#include "core/KesFSGlobalsCB.h"
#include "core/Store.h"

class TestControlBlocks : public QObject {
    Q_OBJECT
private slots:
    void init() { QDir(Store::AppConfigDir()).removeRecursively(); }

    void firstStartGivesDefaults()
    {
        TKXControlBlock cb;
        cb.LoadFromFile();
        QVERIFY(QFileInfo(Store::AppConfigDir()).isDir());
        QVERIFY(cb.FirstTimeRun);
        QCOMPARE(cb.SplitterPos, 170);
        QCOMPARE(cb.TrunkKeyColWidth, 150);
        QCOMPARE(cb.OutboundRouteKeyColWidth, 150);
        QCOMPARE(cb.LastDomain, QString());
        QCOMPARE(cb.LastIPAddress, QString());
        QCOMPARE(cb.WorkingDir, Store::AppConfigDir());
        QCOMPARE(cb.FormWidth, 680);
        QCOMPARE(cb.FormHeight, 430);
    }

    void settingsRoundTripInKeyOrder()
    {
        TKXControlBlock cb;
        cb.SplitterPos = 250;
        cb.FirstTimeRun = false;
        cb.LastDomain = QStringLiteral("office");
        cb.LastIPAddress = QStringLiteral("192.0.2.10");
        cb.WorkingDir = QStringLiteral("/srv/kx");
        cb.SaveToFile();
        QCOMPARE(TKXControlBlock::SettingsFilePath(), Store::AppConfigDir() + QStringLiteral("Kestrix.cfg"));
        KxTest::CompareLines(KxTest::ReadBytes(TKXControlBlock::SettingsFilePath()),
                             {"[General]", "FirstTimeRun=0", "LastViewedTab=0", "FormTop=50", "FormLeft=50",
                              "FormWidth=680", "FormHeight=430", "SplitterPos=250", "TrunkKeyColWidth=150",
                              "OutboundRouteKeyColWidth=150", "LastDomain=office", "LastIPAddress=192.0.2.10",
                              "MaxProgBarInitialTransfer=0", "WorkingDir=/srv/kx"});
        TKXControlBlock again;
        again.LoadFromFile();
        QCOMPARE(again.SplitterPos, 250);
        QCOMPARE(again.FirstTimeRun, false);
        QCOMPARE(again.LastIPAddress, QStringLiteral("192.0.2.10"));
        QCOMPARE(again.WorkingDir, QStringLiteral("/srv/kx"));
    }

    void consecutiveIdsAndMissingGlobalsStartAtOne()
    {
        QCOMPARE(TKXGlobalsCB::TakeNextId(TIdCounter::User), 1);
        QCOMPARE(TKXGlobalsCB::TakeNextId(TIdCounter::User), 2);
        QCOMPARE(TKXGlobalsCB::TakeNextId(TIdCounter::Gateway), 1);
        TKXGlobalsCB cb;
        cb.LoadFromFile();
        QCOMPARE(cb.LastUserId, 2);
        QCOMPARE(cb.LastGatewayId, 1);
        KxTest::CompareLines(KxTest::ReadBytes(TKXGlobalsCB::FilePath()),
                             {"[General]", "FreeSWITCHConfDir=", "RingbackCountry=uk", "", "[Ids]",
                              "LastCallGroupId=0", "LastGatewayId=1", "LastInboundRouteId=0",
                              "LastInboundRouteDestId=0", "LastUserId=2"});
    }

    // A lost globals.glo must not hand out an Id that a loaded record holds.
    void nextIdStaysAboveLoadedIds()
    {
        QCOMPARE(TKXGlobalsCB::TakeNextId(TIdCounter::CallGroup, 7), 8);
        QCOMPARE(TKXGlobalsCB::TakeNextId(TIdCounter::CallGroup, 3), 9);
        TKXGlobalsCB cb;
        cb.LoadFromFile();
        QCOMPARE(cb.LastCallGroupId, 9);
    }

    void engineGlobalsKeepCounters()
    {
        QCOMPARE(TKXGlobalsCB::TakeNextId(TIdCounter::InboundRoute), 1);
        QCOMPARE(TKXGlobalsCB::TakeNextId(TIdCounter::InboundRouteDest), 1);
        TKesFSGlobalsCB g;
        g.LoadFromFile(TKXGlobalsCB::FilePath());
        QCOMPARE(g.RingbackCountry, QStringLiteral("uk"));
        g.RingbackCountry = QStringLiteral("us");
        g.SaveToFile(TKXGlobalsCB::FilePath());
        TKXGlobalsCB cb;
        cb.LoadFromFile();
        QCOMPARE(cb.RingbackCountry, QStringLiteral("us"));
        QCOMPARE(cb.LastInboundRouteId, 1);
        QCOMPARE(cb.LastInboundRouteDestId, 1);
    }
};

KX_TEST_MAIN(TestControlBlocks)
#include "tst_ControlBlocks.moc"
