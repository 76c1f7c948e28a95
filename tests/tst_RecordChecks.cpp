// The dialogs' checks as the model offers them to the window and the command
// line: the first failing check's message and the control to focus, in the
// dialogs' order; names another record has are refused on a rename too.
#include "KxTest.h"

#include "core/DBInterface.h"
#include "core/RecordChecks.h"
#include "engine/kxVarsXML.h"
#include "records/CallGroupList.h"
#include "records/InboundRouteList.h"
#include "records/UserList.h"
#include "records/gatewaylist.h"

#include <functional>

class TestRecordChecks : public QObject {
    Q_OBJECT

    QTemporaryDir m_work;
    std::unique_ptr<TDBInterface> m_db;

private slots:
    void init()
    {
        QDir(Store::AppConfigDir()).removeRecursively();
        m_db = std::make_unique<TDBInterface>(QStringLiteral("office"), nullptr);
        m_db->ControlBlock->WorkingDir = m_work.path();
        auto* u = new TUser;
        u->SetDefaults(101);
        u->Name = QStringLiteral("Ann");
        m_db->AddUser(u);
        auto* g = new TKXCallGroup;
        g->Name = QStringLiteral("Sales");
        m_db->AddCallGroup(g);
        auto* g2 = new TKXCallGroup;
        g2->Name = QStringLiteral("Spare");
        m_db->AddCallGroup(g2);
        auto* t = new TGateway;
        t->ApplyTemplate(1);
        t->Name = QStringLiteral("Office");
        m_db->AddTrunk(t);
    }

    void firstFailingCheckAndItsControl_data()
    {
        using Check = std::function<TCheckResult(const TDBInterface&)>;
        QTest::addColumn<Check>("check");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("control");
        using namespace RecordChecks;
        const TEditMode add = TEditMode::Add, edit = TEditMode::Edit;
        QTest::newRow("user: no extension first") << Check([=](auto& db) { return CheckUser(db, add, " ", "x", ""); })
                                                  << "Please enter an extension number for this user" << "edtExtension";
        QTest::newRow("user: extension taken") << Check([=](auto& db) { return CheckUser(db, add, "101", "x", ""); })
                                               << "A user with this extension already exists." << "edtExtension";
        QTest::newRow("user: taken is fine when editing")
            << Check([=](auto& db) { return CheckUser(db, edit, "101", "aB3", ""); }) << "Please enter a name for this user"
            << "edtName";
        QTest::newRow("user: password before name") << Check([=](auto& db) { return CheckUser(db, add, "102", "abc", ""); })
                                                    << "Please enter a secure password for this user" << "edtPassword";
        QTest::newRow("user: passes") << Check([=](auto& db) { return CheckUser(db, add, "102", "aB3", "Bob"); })
                                      << "" << "";
        QTest::newRow("group: name case differs is another name")
            << Check([=](auto& db) { return CheckCallGroup(db, add, "sales"); }) << "" << "";
        QTest::newRow("group: rename onto another group")
            << Check([=](auto& db) { return CheckCallGroup(db, edit, "Spare", db.FindCallGroupIdByName("Sales")); })
            << "Please Call Group with this name already exists, please choose another name" << "edtGroupName";
        QTest::newRow("group: keeping its own name") << Check([=](auto& db) {
            return CheckCallGroup(db, edit, "Sales", db.FindCallGroupIdByName("Sales"));
        }) << "" << "";
        QTest::newRow("trunk: name in other case") << Check([=](auto& db) { return CheckTrunk(db, add, "OFFICE"); })
                                                   << "A trunk with that name already exists. Please enter a different name"
                                                   << "vleTrunkProperties";
        QTest::newRow("dialplan: number first") << Check([=](auto& db) { return CheckDialplanExtension(db, add, "", "", 15); })
                                                << "Please enter an extension" << "edtDialledNumber";
        QTest::newRow("dialplan: then extension") << Check([=](auto& db) { return CheckDialplanExtension(db, add, "201", " ", 15); })
                                                  << "Please select an extension" << "cboExtension";
        QTest::newRow("outbound: no trunk chosen")
            << Check([=](auto& db) { return CheckOutboundRoute(db, add, "National", ""); }) << "Please select the trunk to use"
            << "cboTrunkToUse";
        QTest::newRow("inbound: unsafe name") << Check([=](auto& db) { return CheckInboundRoute(db, add, "a/b"); })
                                              << "The inbound route name \"a/b\" cannot be used as a file name: it must not be "
                                                 "empty and must not contain a path separator, \"..\", a double quote, any of "
                                                 ": * ? < > | or a control character."
                                              << "edtInboundRouteName";
    }

    void firstFailingCheckAndItsControl()
    {
        using Check = std::function<TCheckResult(const TDBInterface&)>;
        QFETCH(Check, check);
        QFETCH(QString, message);
        QFETCH(QString, control);
        const TCheckResult r = check(*m_db);
        QCOMPARE(r.Message, message);
        QCOMPARE(r.Control, control);
        QCOMPARE(r.Ok(), message.isEmpty());
    }

    void destinationChecksByType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("trunk");
        QTest::addColumn<QString>("message");
        QTest::newRow("no type") << 0 << "101" << "" << "Please select a destination type";
        QTest::newRow("extension") << 1 << "101" << "" << "";
        QTest::newRow("extension nobody has") << 1 << "105" << "" << "No user has the extension \"105\".";
        QTest::newRow("group") << 2 << "Sales" << "" << "";
        QTest::newRow("group in other case") << 2 << "sales" << "" << "There is no call group named \"sales\".";
        QTest::newRow("mailbox missing") << 3 << "" << "" << "Please select a mailbox";
        QTest::newRow("mobile") << 4 << "+447700900123" << "Office" << "";
        QTest::newRow("mobile without trunk") << 4 << "+447700900123" << "" << "Please select the trunk that calls the mobile number";
        QTest::newRow("mobile with letters") << 4 << "0770x" << "Office" << "A mobile number holds only the digits 0 to 9 and \"+\", not \"0770x\".";
    }

    void destinationChecksByType()
    {
        QFETCH(int, type);
        QFETCH(QString, destination);
        QFETCH(QString, trunk);
        QFETCH(QString, message);
        TInboundRoute route;
        route.Reset();
        TKXInboundRouteDest step;
        step.Name = QStringLiteral("Step");
        step.DestinationType = type;
        step.Destination = destination;
        step.Trunk = trunk;
        QCOMPARE(RecordChecks::CheckInboundRouteDest(*m_db, TEditMode::Add, route, step).Message, message);
        // A second step of the same route with the same name is refused.
        route.Destinations.AddCopy(step);
        step.Id = 99;
        QCOMPARE(RecordChecks::CheckInboundRouteDest(*m_db, TEditMode::Add, route, step).Message,
                 QStringLiteral("An Inbound Route Destination with that name already exists. Please enter a different name"));
    }

    // The user dialog shows the engine's globals in place of references and
    // stores the references back.
    void userReferenceFields()
    {
        TUser u;
        u.SetDefaults(102);
        QCOMPARE(RecordChecks::ShownUserPassword(*m_db, u), m_db->VarsXML->DefaultPassword);
        QCOMPARE(RecordChecks::ShownOutboundCallerIdName(*m_db, u), m_db->VarsXML->OutboundCallerName);
        RecordChecks::StoreUserShownFields(*m_db, u, QStringLiteral(" %1 ").arg(m_db->VarsXML->DefaultPassword),
                                           QStringLiteral("Reception"), m_db->VarsXML->OutboundCallerID);
        QCOMPARE(u.Password, QStringLiteral("$${default_password}"));
        QCOMPARE(u.OutboundCallerIdName, QStringLiteral("Reception"));
        QCOMPARE(u.OutboundCallerIdNumber, QStringLiteral("$${outbound_caller_id}"));
        QCOMPARE(u.UserContext, QStringLiteral("default"));
    }
};

KX_TEST_MAIN(TestRecordChecks)
#include "tst_RecordChecks.moc"
