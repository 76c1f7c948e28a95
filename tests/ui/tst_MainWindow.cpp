// Drives the real main window on a test working directory in "local" mode,
// with the message boxes and modal dialogs answered by hooks.
#include "KxTest.h"

#include "core/DBInterface.h"
#include "core/KXCB.h"
#include "core/Store.h"
#include "engine/kxVarsXML.h"
#include "records/CallGroup.h"
#include "records/DPEExtensionWithVM.h"
#include "records/Gateway.h"
#include "records/InboundRoute.h"
#include "records/InboundRouteDest.h"
#include "records/OutboundRoute.h"
#include "records/User.h"
#include "records/UserList.h"
#include "records/basicdialplanentrylist.h"
#include "sync/filesneedingcommitinglist.h"
#include "ui/connect.h"
#include "ui/fmeCallGroupProperties.h"
#include "ui/fmeExtensionWithVoicemail.h"
#include "ui/fmeInboundRouteProperties.h"
#include "ui/fmeOutboundRouteProperties.h"
#include "ui/fmeTrunkProperties.h"
#include "ui/fmeUsers.h"
#include "ui/kfsProgress.h"
#include "ui/kxKeyValueGrid.h"
#include "ui/kxMessages.h"
#include "ui/main.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>

namespace {

struct TMessage {
    KxUi::TMsgKind Kind;
    QString Title;
    QString Text;
};

// Records every message box and answers it.
struct TMessageLog {
    QList<TMessage> Messages;
    QMessageBox::StandardButton Answer = QMessageBox::Yes;

    void Install()
    {
        KxUi::SetMessageHook([this](QWidget*, KxUi::TMsgKind kind, const QString& title, const QString& text,
                                    QMessageBox::StandardButtons buttons) {
            Messages.append({kind, title, text});
            if (buttons.testFlag(QMessageBox::Yes)) return Answer;
            return QMessageBox::Ok;
        });
    }
    QStringList Titles() const
    {
        QStringList t;
        for (const TMessage& m : Messages) t << m.Title;
        return t;
    }
    int Count(const QString& title) const { return int(Titles().count(title)); }
    QString TextOf(const QString& title) const
    {
        for (const TMessage& m : Messages)
            if (m.Title == title) return m.Text;
        return {};
    }
};

const QString kDomain = QStringLiteral("office");
const QString kPasswordTitle = QStringLiteral("Default Password not secure");
const QString kProblemsTitle = TfrmMain::ProblemsTitle();

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    QTemporaryDir* m_work = nullptr;
    TMessageLog m_log;

    QString wd() const { return m_work->path() + QStringLiteral("/wd"); }
    QString usersDir() const { return wd() + QStringLiteral("/directory/") + kDomain + u'/'; }

    void writeSettings(bool firstTimeRun = false, const QString& address = QStringLiteral("local"))
    {
        TKXControlBlock cb;
        cb.WorkingDir = wd();
        cb.LastIPAddress = address;
        cb.LastDomain = kDomain;
        cb.FirstTimeRun = firstTimeRun;
        cb.SaveToFile();
    }

    void writeVars(const QString& defaultPassword)
    {
        TKesFSVarsXML vars;
        vars.DefaultPassword = defaultPassword;
        vars.SaveToFile(wd() + QStringLiteral("/vars.vrs"));
    }

    void writeUser(int id, int extension, const QString& password = QStringLiteral("$${default_password}"))
    {
        TUser u;
        u.SetDefaults(extension);
        u.Id = id;
        u.Name = QStringLiteral("User %1").arg(extension);
        u.Password = password;
        u.SaveToFile(usersDir() + QString::number(extension) + QStringLiteral(".usr"));
    }

    void writeCallGroup(int id, const QString& name, const QStringList& members)
    {
        TKXCallGroup g;
        g.Id = id;
        g.Name = name;
        g.Members = members;
        g.SaveToFile(usersDir() + name + QStringLiteral(".cgp"));
    }

    void writeTrunk(int id, const QString& name, int type)
    {
        TGateway t;
        t.ApplyTemplate(type);
        t.Id = id;
        t.Name = name;
        t.SaveToFile(wd() + QStringLiteral("/sip_profiles/external/") + name + QStringLiteral(".trk"));
    }

    void writeOutboundRoute(int id, const QString& name, const QString& trunk, int type)
    {
        TOutboundRoute r;
        r.Id = id;
        r.Name = name;
        r.Trunk = trunk;
        r.GatewayType = type;
        r.DigitForOutsideLine = QStringLiteral("9");
        r.SaveToFile(wd() + QStringLiteral("/dialplan/") + kDomain + u'/' + name + QStringLiteral(".obr"));
    }

    void writeInboundRoute(int id, const QString& name, const QString& number)
    {
        TInboundRoute r;
        r.Id = id;
        r.Name = name;
        r.DestinationNumber = number;
        r.Context = QStringLiteral("default");
        r.SaveToFile(wd() + QStringLiteral("/dialplan/public/") + name + QStringLiteral(".ibr"));
        TKXInboundRouteDest d;
        d.Id = id * 10 + 1;
        d.InboundRouteId = id;
        d.Name = name + QStringLiteral("_step1");
        d.DestinationType = 1;
        d.Destination = QStringLiteral("101");
        d.CallTimeout = 25;
        d.Position = 0;
        d.SaveToFile(wd() + QStringLiteral("/dialplan/public/") + d.Name + QStringLiteral(".ird"));
    }

    void writeDialplanEntry(int id, int number, int extension)
    {
        TDPEExtensionWithVM e;
        e.Id = id;
        e.Name = QString::number(number);
        e.NumberDialled = number;
        e.ExtToRing = extension;
        e.Call_Timeout = 20;
        e.SaveToFile(wd() + QStringLiteral("/dialplan/") + kDomain + QStringLiteral("/00_") + QString::number(number)
                     + QStringLiteral(".dpe"));
    }

    // A small installation: two users, a call group, a trunk, two routes, an entry.
    void writeStandardTree()
    {
        writeVars(QStringLiteral("Secret42"));
        writeUser(7, 201);
        writeUser(8, 202, QStringLiteral("Own9pass"));
        writeCallGroup(3, QStringLiteral("Sales"), {QStringLiteral("201"), QStringLiteral("202")});
        writeTrunk(4, QStringLiteral("Provider"), 2);
        writeOutboundRoute(2, QStringLiteral("Local"), QStringLiteral("Provider"), 2);
        writeInboundRoute(5, QStringLiteral("MainLine"), QStringLiteral("0123456"));
        writeDialplanEntry(1, 201, 201);
    }

    std::unique_ptr<TfrmMain> startWindow()
    {
        auto w = std::make_unique<TfrmMain>();
        TfrmMain::TStartOptions o;
        o.Preset = true;
        o.Address = QStringLiteral("local");
        o.Domain = kDomain;
        w->SetStartOptions(o);
        w->show();
        w->FormActivate();
        return w;
    }

    static QStringList topCaptions(const TfrmMain& w)
    {
        QStringList c;
        for (int i = 0; i < w.tvMain->topLevelItemCount(); ++i) c << w.tvMain->topLevelItem(i)->text(0);
        return c;
    }
    static int keyOf(const QTreeWidgetItem* node) { return node ? node->data(0, Qt::UserRole).toInt() : -1; }
    static QTreeWidgetItem* section(const TfrmMain& w, const QString& caption)
    {
        for (int i = 0; i < w.tvMain->topLevelItemCount(); ++i)
            if (w.tvMain->topLevelItem(i)->text(0) == caption) return w.tvMain->topLevelItem(i);
        return nullptr;
    }

private slots:
    void init()
    {
        m_work = new QTemporaryDir;
        QDir(Store::AppConfigDir()).removeRecursively();
        m_log = TMessageLog();
        m_log.Install();
        KxUi::SetModalHook([](QDialog&) { return int(QDialog::Rejected); });
        QDir().mkpath(wd());
    }
    void cleanup()
    {
        KxUi::SetMessageHook({});
        KxUi::SetModalHook({});
        delete m_work;
        m_work = nullptr;
    }

    void treeShowsSectionsAndRecordsInOrder()
    {
        writeSettings();
        writeStandardTree();
        auto w = startWindow();
        QCOMPARE(topCaptions(*w), (QStringList{"Users", "Dialplan", "Groups", "Trunks", "Inbound routes",
                                               "Outbound routes", "Globals"}));
        QList<int> sectionKeys;
        for (int i = 0; i < w->tvMain->topLevelItemCount(); ++i) sectionKeys << keyOf(w->tvMain->topLevelItem(i));
        QCOMPARE(sectionKeys, (QList<int>{10, 11, 12, 13, 14, 15, 16}));

        QTreeWidgetItem* users = section(*w, "Users");
        QCOMPARE(users->childCount(), 2);
        QCOMPARE(users->child(0)->text(0) + "/" + users->child(1)->text(0), QStringLiteral("201/202"));
        QCOMPARE(keyOf(users->child(0)), 107);
        QCOMPARE(keyOf(users->child(1)), 108);

        QTreeWidgetItem* groups = section(*w, "Groups");
        QCOMPARE(groups->childCount(), 1);
        QCOMPARE(groups->child(0)->text(0), QStringLiteral("CallGroups"));
        QCOMPARE(keyOf(groups->child(0)), 27);
        QCOMPARE(groups->child(0)->childCount(), 1);
        QCOMPARE(groups->child(0)->child(0)->text(0), QStringLiteral("Sales"));
        QCOMPARE(keyOf(groups->child(0)->child(0)), 273);

        QCOMPARE(section(*w, "Trunks")->child(0)->text(0), QStringLiteral("Provider"));
        QCOMPARE(keyOf(section(*w, "Trunks")->child(0)), 134);
        QCOMPARE(section(*w, "Inbound routes")->child(0)->text(0), QStringLiteral("MainLine"));
        QCOMPARE(keyOf(section(*w, "Inbound routes")->child(0)), 145);
        QCOMPARE(section(*w, "Outbound routes")->child(0)->text(0), QStringLiteral("Local"));
        QCOMPARE(keyOf(section(*w, "Outbound routes")->child(0)), 152);
        QCOMPARE(section(*w, "Dialplan")->child(0)->text(0), QStringLiteral("201"));
        QCOMPARE(keyOf(section(*w, "Dialplan")->child(0)), 111);

        QTreeWidgetItem* globals = section(*w, "Globals");
        QStringList globalsCaptions;
        QList<int> globalsKeys;
        QTreeWidgetItemIterator it(globals);
        for (++it; *it && (*it)->parent(); ++it) {
            globalsCaptions << (*it)->text(0);
            globalsKeys << keyOf(*it);
        }
        QCOMPARE(globalsCaptions, (QStringList{"Dialplan", "SIP External General", "Codecs", "TLS",
                                               "SIP Internal General", "ACL", "Codecs", "Presence", "Settings",
                                               "TLS"}));
        QCOMPARE(globalsKeys, (QList<int>{17, 18, 19, 20, 21, 22, 23, 24, 25, 26}));
        QCOMPARE(w->nbMain->currentIndex(), int(pgiWelcome));
        QVERIFY(m_log.Messages.isEmpty());
    }

    void pagesAreInIndexOrder()
    {
        TfrmMain w;
        const QStringList names = {
            "pgWelcome", "pgUsers", "pgWelcomeGroups", "pgTrunksWelcome", "pgDPGroupDial", "pgOutgoing",
            "pgGlobals", "pgWelcomeUsers", "pgExtensionWithVoicemail", "pgDialplanWelcome",
            "pgExtensionNoVoicemail", "pgTrunkProperties", "pgInboundRouteWelcome", "pgInboundRouteProperties",
            "pgOutboundRouteWelcome", "pgOutboundRouteProperties", "pgCallGroupsWelcome",
            "pgCallGroupProperties", "pgGlobalsDialplan", "pgGlobalsSIPExtGen", "pgGlobalsSIPExtCodecs",
            "pgGlobalsSIPExtTLS", "pgGlobalsSIPIntGen", "pgGlobalsSIPIntACL", "pgGlobalsSIPIntCodecs",
            "pgGlobalsSIPIntPresence", "pgGlobalsSIPIntSettings", "pgGlobalsSIPIntTLS"};
        QCOMPARE(w.nbMain->count(), names.size());
        for (int i = 0; i < names.size(); ++i) QCOMPARE(w.nbMain->widget(i)->objectName(), names[i]);
        QVERIFY(w.nbMain->widget(pgiUsers)->findChild<TframeUsers*>("frameUsers1"));
        QVERIFY(w.nbMain->widget(pgiTrunkProperties)->findChild<TframeTrunkProperties*>("frameTrunkProperties1"));
    }

    void selectionEnablesEditAndDelete_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("enabledPair"); // action name stem, or empty for none
        QTest::newRow("user") << 107 << "User";
        QTest::newRow("users section") << 10 << "";
        QTest::newRow("dialplan entry") << 111 << "DialplanEntry";
        QTest::newRow("dialplan section") << 11 << "";
        QTest::newRow("groups section") << 12 << "";
        QTest::newRow("call group") << 273 << "CallGroup";
        QTest::newRow("callgroups section") << 27 << "";
        QTest::newRow("trunk") << 134 << "Trunk";
        QTest::newRow("trunks section") << 13 << "";
        QTest::newRow("inbound route") << 145 << "InboundRoute";
        QTest::newRow("inbound section") << 14 << "";
        QTest::newRow("outbound route") << 152 << "OutboundRoute";
        QTest::newRow("outbound section") << 15 << "";
        QTest::newRow("globals") << 16 << "";
        QTest::newRow("globals child") << 23 << "";
    }
    void selectionEnablesEditAndDelete()
    {
        QFETCH(int, key);
        QFETCH(QString, enabledPair);
        writeSettings();
        writeStandardTree();
        auto w = startWindow();
        w->SelectNodeByKey(key);
        QCOMPARE(keyOf(w->tvMain->currentItem()), key);
        w->alMainUpdate();
        for (const QString stem : {"User", "DialplanEntry", "CallGroup", "Trunk", "InboundRoute", "OutboundRoute"}) {
            const bool expected = stem == enabledPair;
            for (const QString verb : {"actEdit", "actDelete"}) {
                auto* a = w->findChild<QAction*>(verb + stem);
                QVERIFY2(a, qPrintable(verb + stem));
                QVERIFY2(a->isEnabled() == expected, qPrintable(verb + stem));
            }
        }
        QVERIFY(m_log.Messages.isEmpty());
    }

    void userPageShowsTheEngineDefaultPassword()
    {
        writeSettings();
        writeStandardTree();
        auto w = startWindow();
        w->SelectNodeByKey(107);
        QCOMPARE(w->nbMain->currentIndex(), int(pgiUsers));
        QCOMPARE(w->frameUsers1->edtPassword->text(), QStringLiteral("Secret42"));
        QCOMPARE(w->frameUsers1->edtExtension->text(), QStringLiteral("201"));
        QCOMPARE(w->frameUsers1->edtName->text(), QStringLiteral("User 201"));
        // The outbound caller fields follow the same rule.
        QCOMPARE(w->frameUsers1->edtOutboundCallerIdName->text(), w->DBInterface->VarsXML->OutboundCallerName);
        QVERIFY(!w->frameUsers1->edtPassword->isEnabled());
        QVERIFY(!w->frameUsers1->chkVMEnabled->isEnabled());
        QCOMPARE(w->CurrentUser->Extension, 201);

        // A password of its own shows as stored.
        w->SelectNodeByKey(108);
        QCOMPARE(w->frameUsers1->edtPassword->text(), QStringLiteral("Own9pass"));
    }

    void recordPagesShowTheSelectedRecord()
    {
        writeSettings();
        writeStandardTree();
        writeTrunk(6, QStringLiteral("Second"), 2); // same template as Provider, listed after it
        writeOutboundRoute(9, QStringLiteral("ViaSecond"), QStringLiteral("Second"), 2);
        auto w = startWindow();

        w->SelectNodeByKey(134);
        QCOMPARE(w->nbMain->currentIndex(), int(pgiTrunkProperties));
        TKeyValueGrid* grid = w->frameTrunkProperties1->vleTrunkProperties;
        QCOMPARE(grid->Value("Trunk name"), QStringLiteral("Provider"));
        QVERIFY(grid->HasKey("Caller-Id-In-From"));
        QCOMPARE(grid->PickList(grid->FindRow("Caller-Id-In-From")), (QStringList{"true", "false"}));
        QVERIFY(!grid->isEnabled());
        QVERIFY(!w->frameTrunkProperties1->cboTrunkType->isEnabled());
        QCOMPARE(w->frameTrunkProperties1->cboTrunkType->currentData().toInt(), 2);

        w->SelectNodeByKey(273);
        QCOMPARE(w->nbMain->currentIndex(), int(pgiCallGroupProperties));
        QCOMPARE(w->frameCallGroupProperties1->edtName->text(), QStringLiteral("Sales"));
        QCOMPARE(w->frameCallGroupProperties1->chkMembers->count(), 2);
        QCOMPARE(w->frameCallGroupProperties1->chkMembers->item(1)->text(), QStringLiteral("202"));

        w->SelectNodeByKey(145);
        QCOMPARE(w->nbMain->currentIndex(), int(pgiInboundRouteProperties));
        QTableWidget* steps = w->frameInboundRouteProperties1->gridMain;
        QCOMPARE(steps->rowCount(), 1);
        QCOMPARE(steps->item(0, 1)->text(), QStringLiteral("Extension"));
        QCOMPARE(steps->item(0, 2)->text(), QStringLiteral("101"));
        QCOMPARE(steps->item(0, 3)->text(), QStringLiteral("25 sec"));
        QCOMPARE(steps->item(0, 0)->data(Qt::UserRole).toInt(), 51);
        QCOMPARE(w->frameInboundRouteProperties1->cboContext->currentText(), QStringLiteral("default"));

        // A route shows the trunk it names, not the first of the same template.
        w->SelectNodeByKey(159);
        QCOMPARE(w->nbMain->currentIndex(), int(pgiOutboundRouteProperties));
        QCOMPARE(w->frameOutboundRouteProperties1->cboTrunkToUse->currentText(), QStringLiteral("Second"));
        QVERIFY(!w->frameOutboundRouteProperties1->edtOutboundRouteName->isEnabled());

        w->SelectNodeByKey(111);
        QCOMPARE(w->nbMain->currentIndex(), int(pgiExtensionWithVoicemail));
        QCOMPARE(w->frameExtensionWithVoicemail1->edtDialledNumber->text(), QStringLiteral("201"));
        QCOMPARE(w->frameExtensionWithVoicemail1->cboExtension->currentText(), QStringLiteral("201"));
        QCOMPARE(w->frameExtensionWithVoicemail1->spSeconds->value(), 20);
        QCOMPARE(w->SelectedEntryNumber, QStringLiteral("201"));
        QVERIFY(m_log.Messages.isEmpty());
    }

    void commitIsEnabledExactlyWhenChangesArePending()
    {
        writeSettings();
        writeStandardTree();
        auto w = startWindow();
        QVERIFY(!w->actCommit->isEnabled());
        w->DBInterface->FilesNeedingCommiting->Add(TFileNeedingCommiting(
            wd() + "/", QStringLiteral("vars.xml"), QStringLiteral("/etc/freeswitch/"), fnaaPut));
        {
            // The enabling rules run when the event loop waits for input.
            QEventLoop loop;
            QTimer::singleShot(30, &loop, &QEventLoop::quit);
            loop.exec();
        }
        QVERIFY(w->actCommit->isEnabled());
        w->DBInterface->FilesNeedingCommiting->Clear();
        w->alMainUpdate();
        QVERIFY(!w->actCommit->isEnabled());
    }

    void closingWithPendingChangesAsksAndStoresThem()
    {
        writeSettings();
        writeStandardTree();
        auto w = startWindow();
        auto* list = w->DBInterface->FilesNeedingCommiting.get();
        list->Add(TFileNeedingCommiting(usersDir(), "201.usr", "/etc/freeswitch/directory/office/", fnaaPut));
        list->Add(TFileNeedingCommiting(QString(), "old.xml", "/etc/freeswitch/directory/office/", fnaaDelete));
        const QString fncDir = TDBInterface::PendingChangesFolder();

        m_log.Answer = QMessageBox::No;
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
        QCOMPARE(m_log.Count("Files need commiting"), 1);
        QCOMPARE(m_log.TextOf("Files need commiting"),
                 QStringLiteral("Files need to be commited. Do you want to exit WITHOUT commiting files?"));
        QCOMPARE(m_log.Messages.first().Kind, KxUi::TMsgKind::Confirmation);
        QVERIFY(QDir(fncDir).entryList({"*.fnc"}, QDir::Files).isEmpty());

        m_log.Answer = QMessageBox::Yes;
        QVERIFY(w->close());
        QCOMPARE(QDir(fncDir).entryList({"*.fnc"}, QDir::Files, QDir::Name),
                 (QStringList{"1.fnc", "2.fnc"}));

        // They are offered again at the next start.
        auto again = startWindow();
        QCOMPARE(again->DBInterface->FilesNeedingCommiting->Count(), 2);
        QCOMPARE(again->DBInterface->FilesNeedingCommiting->Items(1)->SrcFile, QStringLiteral("old.xml"));
        QVERIFY(again->actCommit->isEnabled() || (again->alMainUpdate(), again->actCommit->isEnabled()));
    }

    void closingWithoutPendingChangesAsksNothing()
    {
        writeSettings();
        writeStandardTree();
        auto w = startWindow();
        QVERIFY(w->close());
        QVERIFY(m_log.Messages.isEmpty());
    }

    void layoutIsStoredAndRestored()
    {
        writeSettings();
        writeStandardTree();
        {
            auto w = startWindow();
            w->resize(1000, 660);
            w->splitMain->setSizes({260, 700});
            w->frameTrunkProperties1->vleTrunkProperties->SetKeyColWidth(177);
            w->frameOutboundRouteProperties1->vleOutboundRouteOptions->SetKeyColWidth(133);
            QVERIFY(w->close());
        }
        TKXControlBlock cb;
        cb.LoadFromFile();
        QCOMPARE(cb.SplitterPos, 260);
        QCOMPARE(cb.TrunkKeyColWidth, 177);
        QCOMPARE(cb.OutboundRouteKeyColWidth, 133);
        auto w = startWindow();
        QCOMPARE(w->splitMain->sizes().value(0), 260);
        QCOMPARE(w->frameTrunkProperties1->vleTrunkProperties->KeyColWidth(), 177);
        QCOMPARE(w->frameOutboundRouteProperties1->vleOutboundRouteOptions->KeyColWidth(), 133);
    }

    void firstRunCreatesOneDialplanEntryPerUser()
    {
        writeSettings(/*firstTimeRun=*/true);
        writeVars(QStringLiteral("Secret42"));
        writeUser(7, 201);
        writeUser(8, 202);
        writeUser(9, 203);
        writeDialplanEntry(4, 203, 203); // 203 has one already
        const QByteArray stock = "<include>\r\n"
                                 "  <context name=\"default\">\r\n"
                                 "    <extension name=\"Local_Extension\">\r\n"
                                 "      <condition field=\"destination_number\" expression=\"^(10[01][0-9])$\">\r\n"
                                 "      </condition>\r\n"
                                 "    </extension>\r\n"
                                 "\r\n"
                                 "    <extension name=\"echo\">\r\n"
                                 "    </extension>\r\n"
                                 "  </context>\r\n"
                                 "</include>\r\n";
        KxTest::WriteBytes(wd() + "/dialplan/default.xml", stock);
        auto w = startWindow();

        QTreeWidgetItem* dialplan = section(*w, "Dialplan");
        QCOMPARE(dialplan->childCount(), 3);
        QSet<int> keys;
        QStringList numbers;
        for (int i = 0; i < dialplan->childCount(); ++i) {
            const int key = keyOf(dialplan->child(i));
            QCOMPARE(TfrmMain::SectionOfKey(key), 11);
            QVERIFY2(TfrmMain::RecordIdFromKey(key) > 0, qPrintable(QString::number(key)));
            keys << key;
            numbers << dialplan->child(i)->text(0);
        }
        QCOMPARE(keys.size(), 3);
        numbers.sort();
        QCOMPARE(numbers, (QStringList{"201", "202", "203"}));
        // Each new entry can be selected and shows its user's extension.
        w->SelectNodeByKey(keyOf(dialplan->child(0)));
        QCOMPARE(w->frameExtensionWithVoicemail1->edtDialledNumber->text(),
                 w->frameExtensionWithVoicemail1->cboExtension->currentText());

        // The stock block ringing every local extension is gone, the rest kept.
        KxTest::CompareLines(KxTest::ReadBytes(wd() + "/dialplan/default.xml"),
                             {"<include>", "  <context name=\"default\">", "    <extension name=\"echo\">",
                              "    </extension>", "  </context>", "</include>"});
        TKXControlBlock cb;
        cb.LoadFromFile();
        QVERIFY(!cb.FirstTimeRun);
        QVERIFY(m_log.Messages.isEmpty());
    }

    void unreadableRecordIsReportedAndTheOthersShow()
    {
        writeSettings();
        writeStandardTree();
        KxTest::WriteBytes(usersDir() + "999.usr", "this is not a record file\r\n");
        KxTest::WriteBytes(wd() + "/sip_profiles/external/Broken.trk", "[General]\r\nId=abc\r\n");
        auto w = startWindow();
        QCOMPARE(m_log.Count(kProblemsTitle), 1);
        const QString text = m_log.TextOf(kProblemsTitle);
        QVERIFY2(text.contains("999.usr"), qPrintable(text));
        QVERIFY2(text.contains("Broken.trk"), qPrintable(text));
        QCOMPARE(section(*w, "Users")->childCount(), 2);
        QCOMPARE(section(*w, "Trunks")->childCount(), 1);
        QCOMPARE(section(*w, "Outbound routes")->childCount(), 1);
        QCOMPARE(section(*w, "Dialplan")->childCount(), 1);
    }

    void insecureDefaultPasswordWarnsAndShowsGlobals()
    {
        writeSettings();
        writeVars(QStringLiteral("1234"));
        auto w = startWindow();
        QCOMPARE(m_log.Count(kPasswordTitle), 1);
        QCOMPARE(m_log.TextOf(kPasswordTitle),
                 QStringLiteral("The default password that Kestrix is using is NOT secure.\r\rPlease choose a "
                                "secure password that contains at least one uppercase and lowercase letter "
                                "and a number."));
        QCOMPARE(keyOf(w->tvMain->currentItem()), 16);
        QCOMPARE(w->nbMain->currentIndex(), int(pgiGlobals));
    }

    void localStartupDownloadsNothing()
    {
        writeSettings();
        writeStandardTree();
        auto w = startWindow();
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("Kestrix 0.99.3 ALPHA - office@local"));
        QCOMPARE(w->StatusText(0), QStringLiteral("Idle..."));
        QVERIFY(!w->ProgressWindow->isVisible());
        QVERIFY(w->ProgressWindow->memMain->toPlainText().isEmpty());
        QVERIFY(!QFile::exists(wd() + "/batchfile.scr"));
        // "local" is the live configuration: never marked as ours.
        QVERIFY(!TfrmMain::IsMarkedWorkingDir(wd()));
        // A save in local mode enters no pending change.
        w->DBInterface->AddFileNeedingCommiting(wd() + "/", "vars.xml", "/etc/freeswitch/", fnaaPut);
        QCOMPARE(w->DBInterface->FilesNeedingCommiting->Count(), 0);
        // A second activation does nothing.
        w->FormActivate();
        QCOMPARE(section(*w, "Users")->childCount(), 2);
    }

    void cancellingTheConnectDialogClosesTheWindow()
    {
        writeSettings(false, QString());
        TfrmMain w;
        int shown = 0;
        KxUi::SetModalHook([&](QDialog& d) {
            shown += qobject_cast<TfrmConnect*>(&d) != nullptr;
            return int(QDialog::Rejected);
        });
        w.show();
        w.FormActivate();
        QCOMPARE(shown, 1);
        QVERIFY(!w.isVisible());
        QVERIFY(w.tvMain->topLevelItemCount() == 0);
    }

    void connectDialogOpensTheWindowOnLocal()
    {
        writeSettings();
        writeStandardTree();
        TfrmMain w;
        QString focused;
        KxUi::SetModalHook([&](QDialog& d) {
            auto* c = qobject_cast<TfrmConnect*>(&d);
            if (!c) return int(QDialog::Rejected);
            // Address and domain come from the settings; no password for local.
            if (c->edtIPAddress->text() != "local" || c->edtDomain->text() != kDomain) return int(QDialog::Rejected);
            c->btnOK->click();
            return c->result();
        });
        w.show();
        w.FormActivate();
        QVERIFY(w.isVisible());
        QCOMPARE(section(w, "Users")->childCount(), 2);
    }

    void serverRunDisablesModelActions()
    {
        writeSettings();
        writeStandardTree();
        auto w = startWindow();
        w->SelectNodeByKey(107);
        w->DBInterface->FilesNeedingCommiting->Add(
            TFileNeedingCommiting(wd() + "/", "vars.xml", "/etc/freeswitch/", fnaaPut));
        w->alMainUpdate();
        QVERIFY(w->actEditUser->isEnabled());
        bool ran = false;
        w->RunServerOperation([&] {
            ran = true;
            QCoreApplication::processEvents();
            QVERIFY(w->ServerRunActive());
            for (QAction* a : {w->actAddUser, w->actEditUser, w->actDeleteUser, w->actCommit, w->actSave,
                               w->actSettings, w->actNewInstall, w->actChangeIPAddress, w->actAddTrunk,
                               w->actExit})
                QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
            QVERIFY(w->ProgressWindow->isVisible());
            QVERIFY(w->ProgressWindow->btnCancel->isEnabled());
            QVERIFY(!w->close()); // not while a run is under way
            // Reading stays possible.
            w->SelectNodeByKey(108);
            QCOMPARE(w->frameUsers1->edtExtension->text(), QStringLiteral("202"));
        });
        QVERIFY(ran);
        QVERIFY(!w->ServerRunActive());
        QVERIFY(w->actCommit->isEnabled());
        QVERIFY(w->actAddUser->isEnabled());
        QVERIFY(!w->ProgressWindow->btnCancel->isEnabled());
    }

    void nodeRoutines()
    {
        writeSettings();
        writeStandardTree();
        auto w = startWindow();
        QCOMPARE(TfrmMain::RecordIdFromKey(107), 7);
        QCOMPARE(TfrmMain::RecordIdFromKey(27123), 123);
        w->SelectNodeByKey(107);
        // An unknown key selects nothing and leaves the page.
        w->SelectNodeByKey(1099);
        QCOMPARE(keyOf(w->tvMain->currentItem()), 107);
        QCOMPARE(w->nbMain->currentIndex(), int(pgiUsers));
        // Removing a node takes its children with it.
        w->RemoveNodeByKey(12);
        QVERIFY(!w->FindNodeByKey(27));
        QVERIFY(!w->FindNodeByKey(273));
        w->RebuildTree();
        QVERIFY(w->FindNodeByKey(273));
        // Home, then the welcome button of the section already selected, shows it again.
        w->SelectNodeByKey(10);
        w->actHome->trigger();
        QCOMPARE(w->nbMain->currentIndex(), int(pgiWelcome));
        w->actWelcomeUsers->trigger();
        QCOMPARE(w->nbMain->currentIndex(), int(pgiWelcomeUsers));
    }

    void removeTextBlock_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("trailing");
        QTest::addColumn<QStringList>("expected");
        const QStringList base = {"a", "<EXTENSION name=\"X\">", "b", "</extension>", "", "c"};
        QTest::newRow("block and trailing line") << base << true << QStringList{"a", "c"};
        QTest::newRow("block only") << base << false << QStringList{"a", "", "c"};
        QTest::newRow("no start") << QStringList{"a", "</extension>"} << true << QStringList{"a", "</extension>"};
        QTest::newRow("no end after start") << QStringList{"</extension>", "<extension name=\"x\">", "b"} << true
                                            << QStringList{"</extension>", "<extension name=\"x\">", "b"};
        QTest::newRow("only the first block")
            << QStringList{"<extension name=\"x\">", "</extension>", "<extension name=\"x\">", "</extension>"}
            << false << QStringList{"<extension name=\"x\">", "</extension>"};
        QTest::newRow("end on the last line with trailing")
            << QStringList{"a", "<extension name=\"x\">", "</extension>"} << true << QStringList{"a"};
    }
    void removeTextBlock()
    {
        QFETCH(QStringList, lines);
        QFETCH(bool, trailing);
        QFETCH(QStringList, expected);
        TfrmMain::RemoveTextBlock(lines, "<extension name=\"x\">", trailing, "</extension>");
        QCOMPARE(lines, expected);
    }

    void workingDirectoryOnServerChange_data()
    {
        QTest::addColumn<QString>("kind"); // marked, unmarked, appdir
        QTest::addColumn<QString>("previous");
        QTest::addColumn<QString>("next");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<bool>("mirrorGone");
        QTest::newRow("marked, new server") << "marked" << "10.0.0.1" << "10.0.0.2" << int(TfrmMain::wdEmptied) << true;
        QTest::newRow("marked, same server") << "marked" << "10.0.0.1" << "10.0.0.1" << int(TfrmMain::wdUnchanged) << false;
        QTest::newRow("unmarked, new server") << "unmarked" << "10.0.0.1" << "10.0.0.2" << int(TfrmMain::wdKeptNotOurs) << false;
        QTest::newRow("marked, to local") << "marked" << "10.0.0.1" << "local" << int(TfrmMain::wdUnchanged) << false;
        QTest::newRow("marked, from local") << "marked" << "local" << "10.0.0.2" << int(TfrmMain::wdUnchanged) << false;
        QTest::newRow("application folder") << "appdir" << "10.0.0.1" << "10.0.0.2" << int(TfrmMain::wdEmptied) << true;
    }
    void workingDirectoryOnServerChange()
    {
        QFETCH(QString, kind);
        QFETCH(QString, previous);
        QFETCH(QString, next);
        QFETCH(int, outcome);
        QFETCH(bool, mirrorGone);
        writeSettings();
        const QString dir = kind == "appdir" ? Store::AppConfigDir() : wd();
        KxTest::WriteBytes(dir + "/freeswitch.xml", "<document/>\n");
        KxTest::WriteBytes(dir + "/directory/office/201.usr", "[General]\r\nId=1\r\n");
        if (kind == "marked") TfrmMain::MarkWorkingDir(dir);
        KxTest::WriteBytes(Store::AppConfigDir() + "fnc/1.fnc", "[General]\r\n");
        KxTest::WriteBytes(Store::AppConfigDir() + "globals.glo", "[General]\r\nLastUserId=9\r\n");
        QStringList failures;
        QCOMPARE(int(TfrmMain::PrepareWorkingDirForServer(dir, previous, next, failures)), outcome);
        QVERIFY(failures.isEmpty());
        QCOMPARE(!QFile::exists(dir + "/freeswitch.xml"), mirrorGone);
        QCOMPARE(!QFile::exists(dir + "/directory/office/201.usr"), mirrorGone);
        QVERIFY(QDir(dir).exists());
        if (kind == "marked") QVERIFY(TfrmMain::IsMarkedWorkingDir(dir));
        // The application's own files always stay.
        QVERIFY(QFile::exists(TKXControlBlock::SettingsFilePath()));
        QVERIFY(QFile::exists(Store::AppConfigDir() + "fnc/1.fnc"));
        QVERIFY(QFile::exists(Store::AppConfigDir() + "globals.glo"));
    }
};

KX_TEST_GUI_MAIN(TestMainWindow)
#include "tst_MainWindow.moc"
