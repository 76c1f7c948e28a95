// kestrix-cli over every record kind: add one of each, edit each, list them as
// JSON, read them in the window's model, delete each; the files on disk and the
// pending changes checked at every step. Also the dialog checks of the kinds
// other than users, and the global settings.
#include "KxCli.h"
#include "KxTest.h"

#include "core/DBInterface.h"
#include "core/Store.h"
#include "engine/SIPInternalXML.h"
#include "engine/kxVarsXML.h"
#include "records/CallGroupList.h"
#include "records/InboundRouteList.h"
#include "records/OutboundRouteList.h"
#include "records/UserList.h"
#include "records/basicdialplanentrylist.h"
#include "records/gatewaylist.h"

#include <QDirIterator>

class TestCliRoundTrip : public QObject {
    Q_OBJECT

    QTemporaryDir m_work;

    KxCli::TResult cli(QStringList args) const
    {
        args << QStringLiteral("--workdir") << m_work.path() << QStringLiteral("--domain") << QStringLiteral("office")
             << QStringLiteral("--server") << QStringLiteral("192.0.2.10");
        return KxCli::Run(args);
    }
    // Runs a command that must succeed; returns its JSON output.
    QJsonDocument ok(QStringList args) const
    {
        args << QStringLiteral("--json");
        const KxCli::TResult r = cli(args);
        if (r.ExitCode != 0)
            qWarning("%s: exit %d: %s", qPrintable(args.join(u' ')), r.ExitCode, qPrintable(r.ErrText()));
        return r.ExitCode == 0 ? r.Json() : QJsonDocument();
    }
    QString w(const QString& rel) const { return m_work.path() + u'/' + rel; }
    bool exists(const QString& rel) const { return QFile::exists(w(rel)); }

    static QStringList pending()
    {
        QTemporaryDir copy;
        const QString from = TDBInterface::PendingChangesFolder();
        for (const QString& n : QDir(from).entryList({QStringLiteral("*.fnc")}, QDir::Files))
            QFile::copy(from + n, copy.filePath(n));
        TFilesNeedingCommitingList list;
        list.LoadFromFolder(copy.path());
        QStringList lines;
        for (int i = 0; i < list.Count(); ++i)
            lines << QString::number(list.Items(i)->ActionType) + u' ' + list.Items(i)->DestFolder + list.Items(i)->SrcFile;
        return lines;
    }

    static QStringList names(const QJsonDocument& doc, const QString& key)
    {
        QStringList n;
        for (const QJsonValue& v : doc.array()) n << v.toObject().value(key).toVariant().toString();
        return n;
    }

private slots:
    void init()
    {
        QDir(Store::AppConfigDir()).removeRecursively();
        QDir(m_work.path()).removeRecursively();
        QDir().mkpath(m_work.path());
    }

    void everyKindAddEditListDelete()
    {
        // ---- add one of each -----------------------------------------------
        QVERIFY(!ok({"users", "add", "101", "Name=Ann", "Password=Secr3tX"}).isNull());
        QVERIFY(!ok({"users", "add", "102", "Name=Bob", "Password=Secr3tX"}).isNull());
        const QJsonDocument trunk = ok({"trunks", "add", "FlowRoute", "Name=Office", "UserName=15551230000"});
        QCOMPARE(trunk.object().value("GatewayType").toInt(), 1);
        QCOMPARE(trunk.object().value("Proxy").toString().isEmpty(), false); // from the template
        QVERIFY(!ok({"dialplan", "add", "201", "ExtToRing=101"}).isNull());
        QVERIFY(!ok({"dialplan", "add", "202", "ExtToRing=102", "Call_Timeout=25", "--no-voicemail"}).isNull());
        QVERIFY(!ok({"callgroups", "add", "Sales", "Members=101,102"}).isNull());
        QVERIFY(!ok({"inbound", "add", "Main", "DestinationNumber=442079460000"}).isNull());
        QVERIFY(!ok({"inbound", "add-step", "Main", "Reception", "Type=Extension", "Destination=101", "CallTimeout=15"}).isNull());
        QVERIFY(!ok({"inbound", "add-step", "Main", "Team", "Type=Group", "Destination=Sales"}).isNull());
        QVERIFY(!ok({"inbound", "add-step", "Main", "Cell", "Type=Mobile", "Destination=+447700900123"}).isNull());
        const QJsonDocument route = ok({"outbound", "add", "National", "DigitForOutsideLine=9"});
        // The only trunk is taken; the route carries its template.
        QCOMPARE(route.object().value("Trunk").toString(), QStringLiteral("Office"));
        QCOMPARE(route.object().value("GatewayType").toInt(), 1);

        for (const char* f : {"directory/office/101.usr", "directory/office/101.xml", "sip_profiles/external/Office.trk",
                              "sip_profiles/external/Office.xml", "dialplan/office/00_201.dpe", "dialplan/office/00_201.xml",
                              "dialplan/office/00_202.dpe", "dialplan/office/00_202.xml", "directory/office/Sales.cgp",
                              "directory/office/Sales.xml", "dialplan/public/Main.ibr", "dialplan/public/Main.xml",
                              "dialplan/public/Reception.ird", "dialplan/public/Team.ird", "dialplan/public/Cell.ird",
                              "dialplan/office/National.obr", "dialplan/office/National.xml"})
            QVERIFY2(exists(QString::fromLatin1(f)), f);
        const QByteArray mainXml = KxTest::ReadBytes(w("dialplan/public/Main.xml"));
        QVERIFY(mainXml.contains("<action application=\"transfer\" data=\"101 XML Default\"/>\r\n"));
        QVERIFY(mainXml.contains("<action application=\"bridge\" data=\"group/Sales@${domain_name}\"/>\r\n"));
        QVERIFY(mainXml.contains("<action application=\"bridge\" data=\"sofia/gateway/Office/+447700900123\"/>\r\n"));
        QVERIFY(KxTest::ReadBytes(w("dialplan/office/National.xml"))
                    .contains("<condition field=\"destination_number\" expression=\"^9([0-9]+)$\">\r\n"));
        QVERIFY(KxTest::ReadBytes(w("dialplan/office/00_201.xml")).contains("loopback/app=voicemail"));
        QVERIFY(!KxTest::ReadBytes(w("dialplan/office/00_202.xml")).contains("loopback/app=voicemail"));
        // Two uploads per record (and per step), each file once.
        QCOMPARE(pending().size(), 19);
        QVERIFY(pending().contains(QStringLiteral("0 /etc/freeswitch/dialplan/public/Cell.ird")));

        // ---- edit each ----------------------------------------------------
        QCOMPARE(ok({"users", "edit", "101", "Name=Ann Lee"}).object().value("Name").toString(), QStringLiteral("Ann Lee"));
        QCOMPARE(ok({"trunks", "edit", "office", "Name=Office2", "Ping=30"}).object().value("Ping").toInt(), 30);
        QVERIFY(!exists("sip_profiles/external/Office.trk") && exists("sip_profiles/external/Office2.trk"));
        QCOMPARE(ok({"dialplan", "edit", "201", "Call_Timeout=30"}).object().value("Call_Timeout").toInt(), 30);
        QVERIFY(KxTest::ReadBytes(w("dialplan/office/00_201.xml")).contains("data=\"call_timeout=30\""));
        QCOMPARE(ok({"callgroups", "edit", "Sales", "Name=Support", "--remove-member", "101"}).object().value("Members").toArray().size(), 1);
        QVERIFY(!exists("directory/office/Sales.cgp") && exists("directory/office/Support.cgp"));
        QVERIFY(!ok({"inbound", "edit-step", "Main", "Team", "Destination=Support"}).isNull());
        QVERIFY(!ok({"inbound", "edit-step", "Main", "Cell", "Trunk=Office2"}).isNull());
        QVERIFY(!ok({"inbound", "move-step", "Main", "Cell", "up"}).isNull());
        QVERIFY(!ok({"inbound", "edit", "Main", "DestinationNumber=442079460001"}).isNull());
        QVERIFY(!ok({"outbound", "edit", "National", "DigitExpression=0[1-9][0-9]+", "Trunk=Office2"}).isNull());

        // ---- list as JSON ---------------------------------------------------
        QCOMPARE(names(ok({"users", "list"}), "Extension"), (QStringList{"101", "102"}));
        QCOMPARE(names(ok({"trunks", "list"}), "Name"), QStringList{"Office2"});
        QCOMPARE(names(ok({"dialplan", "list"}), "NumberDialled"), (QStringList{"201", "202"}));
        QCOMPARE(names(ok({"dialplan", "list"}), "DialplanEntryType"), (QStringList{"1", "2"}));
        QCOMPARE(names(ok({"callgroups", "list"}), "Name"), QStringList{"Support"});
        QCOMPARE(names(ok({"outbound", "list"}), "Trunk"), QStringList{"Office2"});
        const QJsonArray inbound = ok({"inbound", "list"}).array();
        QCOMPARE(inbound.size(), 1);
        QCOMPARE(inbound[0].toObject().value("DestinationNumber").toString(), QStringLiteral("442079460001"));
        QStringList chain;
        for (const QJsonValue& s : inbound[0].toObject().value("Destinations").toArray())
            chain << s.toObject().value("Name").toString() + u'=' + s.toObject().value("Destination").toString();
        QCOMPARE(chain, (QStringList{"Reception=101", "Cell=+447700900123", "Team=Support"}));
        const QByteArray mainAfter = KxTest::ReadBytes(w("dialplan/public/Main.xml"));
        QVERIFY(mainAfter.indexOf("sofia/gateway/Office2/") < mainAfter.indexOf("group/Support@"));

        // ---- the window's model reads the same ------------------------------
        {
            TDBInterface db(QStringLiteral("office"), nullptr);
            db.ControlBlock->WorkingDir = m_work.path();
            db.LoadUsers();
            db.LoadCallGroups();
            db.LoadTrunks();
            db.LoadInboundRoutes();
            db.LoadOutboundRoutes();
            db.LoadDialplanEntries();
            QVERIFY(db.LoadProblems.empty());
            QCOMPARE(db.Users->Count(), 2);
            QCOMPARE(db.CallGroups->Items(0)->Members, QStringList{"102"});
            QCOMPARE(db.Gateways->Items(0)->Ping, 30);
            QCOMPARE(db.InboundRoutes->Items(0)->Destinations.Count(), 3);
            QCOMPARE(db.OutboundRoutes->Items(0)->DigitExpression, QStringLiteral("0[1-9][0-9]+"));
            QCOMPARE(db.BasicDialplanEntries->Count(), 2);
        }

        // ---- delete each ---------------------------------------------------
        QVERIFY(!ok({"inbound", "delete-step", "Main", "Cell"}).isNull());
        QVERIFY(!exists("dialplan/public/Cell.ird"));
        QVERIFY(!KxTest::ReadBytes(w("dialplan/public/Main.xml")).contains("sofia/gateway"));
        for (const QStringList& del : QList<QStringList>{{"outbound", "delete", "National"},
                                                         {"inbound", "delete", "Main"},
                                                         {"callgroups", "delete", "Support"},
                                                         {"dialplan", "delete", "201"},
                                                         {"dialplan", "delete", "202"},
                                                         {"trunks", "delete", "Office2"},
                                                         {"users", "delete", "101"},
                                                         {"users", "delete", "102"}})
            QVERIFY2(!ok(del).isNull(), qPrintable(del.join(u' ')));
        QStringList left;
        QDirIterator it(m_work.path(), {"*.usr", "*.trk", "*.dpe", "*.cgp", "*.ibr", "*.ird", "*.obr", "*.xml"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) left << it.next();
        QCOMPARE(left, QStringList{});
        // Every file that went to the server is now a pending delete.
        const QStringList p = pending();
        QVERIFY(!p.isEmpty());
        for (const QString& line : p) QVERIFY2(line.startsWith(u'1'), qPrintable(line));
        for (const char* f : {"1 /etc/freeswitch/directory/office/101.usr", "1 /etc/freeswitch/directory/office/101.xml",
                              "1 /etc/freeswitch/sip_profiles/external/Office.trk",
                              "1 /etc/freeswitch/sip_profiles/external/Office2.xml", "1 /etc/freeswitch/dialplan/office/00_201.dpe",
                              "1 /etc/freeswitch/directory/office/Sales.cgp", "1 /etc/freeswitch/directory/office/Support.xml",
                              "1 /etc/freeswitch/dialplan/public/Main.ibr", "1 /etc/freeswitch/dialplan/public/Team.ird",
                              "1 /etc/freeswitch/dialplan/public/Cell.ird", "1 /etc/freeswitch/dialplan/office/National.obr"})
            QVERIFY2(p.contains(QString::fromLatin1(f)), f);
        for (const char* kind : {"users", "trunks", "dialplan", "callgroups", "inbound", "outbound"})
            QCOMPARE(ok({kind, "list"}).array().size(), 0);
    }

    // The checks of the dialogs (and the ones added where a name would break
    // the files), with their messages; nothing is written when one fails.
    void checksRefuseWithTheirMessages_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("trunk name taken, other case") << QStringList{"trunks", "add", "Gradwell", "Name=office"}
                                                      << "A trunk with that name already exists. Please enter a different name";
        QTest::newRow("trunk template unknown") << QStringList{"trunks", "add", "voiptalk"} << "is not a provider template";
        QTest::newRow("trunk name unsafe") << QStringList{"trunks", "add", "1", "Name=../x"} << "cannot be used as a file name";
        QTest::newRow("group name taken") << QStringList{"callgroups", "add", "Sales"}
                                          << "Please Call Group with this name already exists, please choose another name";
        QTest::newRow("group name empty") << QStringList{"callgroups", "add", " "} << "Please enter a group name";
        QTest::newRow("group member unknown") << QStringList{"callgroups", "add", "Support", "Members=101,999"}
                                              << "No user has the extension \"999\".";
        QTest::newRow("group rename onto another") << QStringList{"callgroups", "edit", "Sales", "Name=Spare"}
                                                   << "Please Call Group with this name already exists";
        QTest::newRow("dialplan no number") << QStringList{"dialplan", "add", " ", "ExtToRing=101"} << "Please enter an extension";
        QTest::newRow("dialplan no extension") << QStringList{"dialplan", "add", "203"} << "Please select an extension";
        QTest::newRow("dialplan number taken") << QStringList{"dialplan", "add", "201", "ExtToRing=101"}
                                               << "A dialplan entry for the number 201 already exists.";
        QTest::newRow("dialplan timeout range") << QStringList{"dialplan", "add", "203", "ExtToRing=101", "Call_Timeout=0"}
                                                << "1 to 180 seconds";
        QTest::newRow("outbound name taken") << QStringList{"outbound", "add", "National", "Trunk=Office"}
                                             << "An Outbound Route with that name already exists. Please enter a different name";
        QTest::newRow("outbound trunk unknown") << QStringList{"outbound", "add", "Intl", "Trunk=Nowhere"}
                                                << "There is no trunk named \"Nowhere\".";
        QTest::newRow("inbound name taken") << QStringList{"inbound", "add", "Main"}
                                            << "An Inbound Route with that name already exists. Please enter a different name";
        QTest::newRow("step name taken") << QStringList{"inbound", "add-step", "Main", "Reception", "Type=Mailbox", "Destination=101"}
                                         << "An Inbound Route Destination with that name already exists. Please enter a different name";
        QTest::newRow("step without type") << QStringList{"inbound", "add-step", "Main", "Two", "Destination=101"}
                                           << "Please select a destination type";
        QTest::newRow("step without extension") << QStringList{"inbound", "add-step", "Main", "Two", "Type=Extension"}
                                                << "Please select an extension";
        QTest::newRow("step without group") << QStringList{"inbound", "add-step", "Main", "Two", "Type=Group"} << "Please select a group";
        QTest::newRow("step without mailbox") << QStringList{"inbound", "add-step", "Main", "Two", "Type=Mailbox"}
                                              << "Please select a mailbox";
        QTest::newRow("step without mobile") << QStringList{"inbound", "add-step", "Main", "Two", "Type=Mobile"}
                                             << "Please enter a mobile number";
        QTest::newRow("step mobile not digits") << QStringList{"inbound", "add-step", "Main", "Two", "Type=Mobile", "Destination=07700 900"}
                                                << "holds only the digits";
        QTest::newRow("unknown global") << QStringList{"globals", "set", "Colour=red"} << "No global setting is named \"Colour\"";
        QTest::newRow("ambiguous global") << QStringList{"globals", "set", "HoldMusic=x"} << "vars.HoldMusic or internal.HoldMusic";
        QTest::newRow("global of the wrong form") << QStringList{"globals", "set", "dialplan.CallTimeout=abc"}
                                                  << "The value of CallTimeout must be a whole number, not \"abc\".";
    }

    void checksRefuseWithTheirMessages()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        for (const QStringList& setup : QList<QStringList>{{"users", "add", "101", "Name=Ann", "Password=Secr3tX"},
                                                           {"trunks", "add", "FlowRoute", "Name=Office"},
                                                           {"callgroups", "add", "Sales"},
                                                           {"callgroups", "add", "Spare"},
                                                           {"dialplan", "add", "201", "ExtToRing=101"},
                                                           {"outbound", "add", "National"},
                                                           {"inbound", "add", "Main"},
                                                           {"inbound", "add-step", "Main", "Reception", "Type=Extension",
                                                            "Destination=101"}})
            QVERIFY2(!ok(setup).isNull(), qPrintable(setup.join(u' ')));
        const QStringList before = pending();
        const QByteArray vars = KxTest::ReadBytes(w("vars.xml"));
        const KxCli::TResult r = cli(args);
        QVERIFY(r.ExitCode != 0);
        QCOMPARE(r.ErrText().count(u'\n'), 1);
        QVERIFY2(r.ErrText().contains(message), qPrintable(r.ErrText()));
        QCOMPARE(pending(), before);
        QCOMPARE(KxTest::ReadBytes(w("vars.xml")), vars);
    }

    // Global settings by field name, written as the window's Save writes them.
    void globalSettingsAreSetAndSaved()
    {
        const QJsonDocument set = ok({"globals", "set", "DefaultPassword= Xy7secret ", "internal.SIPPort=5070",
                                      "dialplan.CallTimeout=25", "vars.ZRTPSecureMedia=false"});
        QCOMPARE(set.object().value("vars.DefaultPassword").toString(), QStringLiteral("Xy7secret"));
        QVERIFY(KxTest::ReadBytes(w("vars.xml")).contains("<X-PRE-PROCESS cmd=\"set\" data=\"default_password=Xy7secret\"/>\r\n"));
        QVERIFY(KxTest::ReadBytes(w("sip_profiles/internal.xml")).contains("<param name=\"sip-port\" value=\"5070\"/>\r\n"));
        QVERIFY(exists("dialplan/office.dpd") && exists("dialplan/office.xml") && exists("directory/office.ddm"));
        QCOMPARE(pending(), (QStringList{"0 /etc/freeswitch/vars.vrs", "0 /etc/freeswitch/vars.xml",
                                         "0 /etc/freeswitch/dialplan/office.dpd", "0 /etc/freeswitch/dialplan/office.xml",
                                         "0 /etc/freeswitch/directory/office.ddm", "0 /etc/freeswitch/directory/office.xml",
                                         "0 /etc/freeswitch/sip_profiles/internal.six", "0 /etc/freeswitch/sip_profiles/internal.xml",
                                         "0 /etc/freeswitch/sip_profiles/external.sex", "0 /etc/freeswitch/sip_profiles/external.xml"}));
        const QJsonObject all = ok({"globals", "show"}).object();
        QCOMPARE(all.value("vars").toObject().value("ZRTPSecureMedia").toBool(), false);
        QCOMPARE(all.value("internal").toObject().value("SIPPort").toString(), QStringLiteral("5070"));
        QCOMPARE(all.value("dialplan").toObject().value("CallTimeout").toInt(), 25);
        QVERIFY(all.contains("external"));

        // The window's model reads them back.
        TDBInterface db(QStringLiteral("office"), nullptr);
        db.ControlBlock->WorkingDir = m_work.path();
        db.LoadGlobals();
        QCOMPARE(db.VarsXML->DefaultPassword, QStringLiteral("Xy7secret"));
        QCOMPARE(db.SIPInternal->SIPPort, QStringLiteral("5070"));

        // A user may now leave the password at the engine's (secure) default.
        const QJsonDocument u = ok({"users", "add", "101", "Name=Ann"});
        QCOMPARE(u.object().value("Password").toString(), QStringLiteral("$${default_password}"));
    }
};

KX_TEST_MAIN(TestCliRoundTrip)
#include "tst_CliRoundTrip.moc"
