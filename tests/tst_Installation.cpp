// A whole installation as the engine reads it: every kind of record and the
// engine-wide files are saved for one domain, assembled the way the engine's
// preprocessor assembles its configuration, and parsed as one XML document.
#include "FsPreprocessor.h"
#include "KxTest.h"

#include "core/DBInterface.h"
#include "engine/DialplanDomainXML.h"
#include "records/CallGroup.h"
#include "records/CallGroupList.h"
#include "records/DPEExtensionNoVM.h"
#include "records/Gateway.h"
#include "records/InboundRoute.h"
#include "records/InboundRouteDest.h"
#include "records/OutboundRoute.h"
#include "records/User.h"

#include <QDirIterator>
#include <QXmlStreamReader>

namespace {

// Our own minimal root document: the variables first, then the profiles, the
// dialplan contexts and the directory, each folder taken in whole.
const char* const RootDocument =
    "<document type=\"freeswitch/xml\">\n"
    "  <X-PRE-PROCESS cmd=\"include\" data=\"vars.xml\"/>\n"
    "  <section name=\"configuration\" description=\"Various Configuration\">\n"
    "    <configuration name=\"sofia.conf\" description=\"sofia Endpoint\">\n"
    "      <profiles>\n"
    "        <X-PRE-PROCESS cmd=\"include\" data=\"sip_profiles/*.xml\"/>\n"
    "      </profiles>\n"
    "    </configuration>\n"
    "  </section>\n"
    "  <section name=\"dialplan\" description=\"Regex/XML Dialplan\">\n"
    "    <X-PRE-PROCESS cmd=\"include\" data=\"dialplan/*.xml\"/>\n"
    "  </section>\n"
    "  <section name=\"directory\" description=\"User Directory\">\n"
    "    <X-PRE-PROCESS cmd=\"include\" data=\"directory/*.xml\"/>\n"
    "  </section>\n"
    "</document>\n";

// A file the server keeps in the dialplan folder default.
const char* const DefaultFolderSample =
    "<include>\n"
    "  <extension name=\"server_sample\">\n"
    "    <condition field=\"destination_number\" expression=\"^\\*7777$\">\n"
    "      <action application=\"answer\"/>\n"
    "    </condition>\n"
    "  </extension>\n"
    "</include>\n";

const char* const PublicContext =
    "<include>\n"
    "  <context name=\"public\">\n"
    "    <X-PRE-PROCESS cmd=\"include\" data=\"public/*.xml\"/>\n"
    "  </context>\n"
    "</include>\n";

// What the parsed document holds, by where it stands.
struct TParsed {
    QString Error;
    QMap<QString, QStringList> ExtensionsByContext; // context name -> extension names
    QMap<QString, QStringList> UsersByDomain;       // domain name -> ids of the users defined there
    QMap<QString, QStringList> GatewaysByProfile;   // profile name -> gateway names
    QStringList Profiles;
};

TParsed parse(const QString& document)
{
    TParsed result;
    QXmlStreamReader xml(document);
    QString context, domain, profile;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        const QString name = xml.name().toString();
        const QString attr = xml.attributes().value(QLatin1String("name")).toString();
        if (name == u"context") context = attr;
        else if (name == u"domain" && xml.attributes().hasAttribute(QLatin1String("name"))
                 && !xml.attributes().hasAttribute(QLatin1String("alias")))
            domain = attr;
        else if (name == u"profile") {
            profile = attr;
            result.Profiles << attr;
        } else if (name == u"extension") result.ExtensionsByContext[context] << attr;
        else if (name == u"user" && xml.attributes().value(QLatin1String("type")) != u"pointer")
            result.UsersByDomain[domain] << xml.attributes().value(QLatin1String("id")).toString();
        else if (name == u"gateway") result.GatewaysByProfile[profile] << attr;
    }
    if (xml.hasError())
        result.Error = xml.errorString() + QStringLiteral(" at line ") + QString::number(xml.lineNumber());
    return result;
}

QStringList xmlFilesUnder(const QString& root)
{
    QStringList files;
    QDirIterator it(root, {QStringLiteral("*.xml")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) files << QFileInfo(it.next()).absoluteFilePath();
    files.sort();
    return files;
}

} // namespace

class TestInstallation : public QObject {
    Q_OBJECT
    QTemporaryDir m_work;
    QString w(const QString& rel = QString()) const { return m_work.path() + u'/' + rel; }

    // A few records of every kind for the domain office, all saved.
    void saveInstallation(TDBInterface& db)
    {
        db.LoadGlobals();
        for (int ext : {201, 202, 203}) {
            auto* u = new TUser;
            u->SetDefaults(ext);
            u->Name = QStringLiteral("Phone %1").arg(ext);
            u->Password = QStringLiteral("Pw%1xyz").arg(ext);
            db.AddUser(u);
        }
        db.SaveUsers();
        for (int ext : {201, 202, 203}) QVERIFY(db.AddDefaultDialplanEntry(ext));
        TDPEExtensionNoVM reception;
        reception.Name = QStringLiteral("Reception");
        reception.NumberDialled = 300;
        reception.ExtToRing = 202;
        db.SaveDPEExtensionNoVM(reception);

        auto* sales = new TKXCallGroup;
        sales->Name = QStringLiteral("Sales");
        sales->Members = {QStringLiteral("201"), QStringLiteral("202")};
        db.AddCallGroup(sales);
        auto* support = new TKXCallGroup;
        support->Name = QStringLiteral("Support");
        support->Members = {QStringLiteral("203")};
        db.AddCallGroup(support);
        db.SaveCallGroups();

        auto* gradwell = new TGateway;
        gradwell->ApplyTemplate(TGateway::gtGradwell);
        gradwell->Name = QStringLiteral("gradwell");
        db.AddTrunk(gradwell);
        auto* other = new TGateway;
        other->ApplyTemplate(TGateway::gtNone);
        other->Name = QStringLiteral("backup");
        other->Proxy = QStringLiteral("sip.example.net");
        db.AddTrunk(other);
        db.SaveTrunks();

        auto* local = new TOutboundRoute;
        local->Name = QStringLiteral("Local calls");
        local->Trunk = QStringLiteral("gradwell");
        local->GatewayType = TGateway::gtGradwell;
        local->EffectiveCallerIDNumber = QStringLiteral("400");
        db.AddOutboundRoute(local);
        auto* intl = new TOutboundRoute;
        intl->Name = QStringLiteral("International");
        intl->DigitExpression = QStringLiteral("00[0-9]+");
        intl->DigitForOutsideLine = QStringLiteral("9");
        intl->Trunk = QStringLiteral("backup");
        intl->GatewayType = TGateway::gtNone;
        db.AddOutboundRoute(intl);
        db.SaveOutboundRoutes();

        auto step = [](const QString& name, int type, const QString& dest, int timeout, const QString& trunk = {}) {
            auto* s = new TKXInboundRouteDest;
            s->Name = name;
            s->DestinationType = type;
            s->Destination = dest;
            s->CallTimeout = timeout;
            s->Trunk = trunk;
            return s;
        };
        auto* main = new TInboundRoute;
        main->Name = QStringLiteral("Main number");
        main->DestinationNumber = QStringLiteral("4000");
        db.AddInboundRouteDest(*main, step(QStringLiteral("Main-1"), irdGroup, QStringLiteral("Sales"), 15));
        db.AddInboundRouteDest(*main, step(QStringLiteral("Main-2"), irdMailbox, QStringLiteral("201"), 20));
        db.AddInboundRoute(main);
        auto* direct = new TInboundRoute;
        direct->Name = QStringLiteral("Direct line");
        direct->DestinationNumber = QStringLiteral("4001");
        db.AddInboundRouteDest(*direct, step(QStringLiteral("Direct-1"), irdExtension, QStringLiteral("203"), 20));
        db.AddInboundRouteDest(*direct, step(QStringLiteral("Direct-2"), irdMobile, QStringLiteral("07700900123"), 25,
                                             QStringLiteral("gradwell")));
        db.AddInboundRoute(direct);
        db.SaveInboundRoutes();

        db.SaveGlobals();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        KxTest::WriteBytes(w("freeswitch.xml"), RootDocument);
        KxTest::WriteBytes(w("dialplan/public.xml"), PublicContext);
        KxTest::WriteBytes(w("dialplan/default/01_sample.xml"), DefaultFolderSample);
        TDBInterface db(QStringLiteral("office"), nullptr);
        db.ControlBlock->WorkingDir = m_work.path();
        saveInstallation(db);
    }

    void assemblesIntoOneWellFormedDocument()
    {
        KxTest::FsPreprocessor pre;
        const QString document = pre.Assemble(w("freeswitch.xml"));
        QVERIFY2(pre.Problems.isEmpty(), qPrintable(pre.Problems.join(u'\n')));
        QVERIFY2(pre.Undefined.isEmpty(), qPrintable(pre.Undefined.join(u'\n')));

        // Every file of the tree is read, none twice and none left out.
        const QStringList files = xmlFilesUnder(m_work.path());
        QVERIFY(files.size() >= 20);
        QCOMPARE(QStringList(pre.Reads.keys()), files);
        for (auto it = pre.Reads.cbegin(); it != pre.Reads.cend(); ++it)
            QVERIFY2(it.value() == 1, qPrintable(it.key() + QStringLiteral(" read %1 times").arg(it.value())));

        const TParsed parsed = parse(document);
        QVERIFY2(parsed.Error.isEmpty(), qPrintable(parsed.Error));
        QCOMPARE(parsed.Profiles, QStringList({"external", "internal"}));
        QCOMPARE(parsed.GatewaysByProfile.value("external"), QStringList({"backup", "gradwell"}));

        // The domain's context holds the engine-wide rules and, from the
        // domain's own folder, the dialplan entries and the outbound routes.
        const QStringList office = parsed.ExtensionsByContext.value("office");
        QCOMPARE(office.count("Local_Extension"), 1);
        QCOMPARE(office.count("echo"), 1);
        QCOMPARE(office.count("server_sample"), 1);
        for (const char* entry : {"Local Extension", "Reception", "Local calls", "International"})
            QVERIFY2(office.contains(QString::fromLatin1(entry)), entry);
        QCOMPARE(office.count("Local Extension"), 3);
        // ...and they come before the catch-all local extension rule.
        QVERIFY(office.lastIndexOf("International") < office.indexOf("Local_Extension"));
        QCOMPARE(parsed.ExtensionsByContext.value("public").size(), 2);

        QCOMPARE(parsed.UsersByDomain.value("office"), QStringList({"201", "202", "203"}));

        // The variables the generated files rely on come from vars.xml.
        QCOMPARE(pre.Vars.value("domain"), QStringLiteral("192.0.2.1"));
        QVERIFY(document.contains(QLatin1String("<param name=\"sip-port\" value=\"5060\"/>")));
        QVERIFY(document.contains(QLatin1String("ringback=${US-ring}")));
    }

    // The assembly acts on a directive inside a comment as the engine does,
    // so a commented include written whole would read the folder twice.
    void directiveInsideCommentIsActedOn()
    {
        QTemporaryDir dir;
        KxTest::WriteBytes(dir.filePath("root.xml"),
                           "<document>\n"
                           "  <X-PRE-PROCESS cmd=\"include\" data=\"default/*.xml\"/>\n"
                           "  <!--<X-PRE-PROCESS cmd=\"include\" data=\"default/*.xml\"/>-->\n"
                           "  <!--<X-PRE- PROCESS cmd=\"include\" data=\"default/*.xml\"/>-->\n"
                           "</document>\n");
        KxTest::WriteBytes(dir.filePath("default/00_1.xml"), "<include>\n  <extension name=\"x\"/>\n</include>\n");
        KxTest::FsPreprocessor pre;
        const QString document = pre.Assemble(dir.filePath("root.xml"));
        QCOMPARE(pre.Reads.value(QFileInfo(dir.filePath("default/00_1.xml")).absoluteFilePath()), 2);
        QVERIFY(document.contains(QLatin1String("X-PRE- PROCESS")));
        QVERIFY(!document.contains(QLatin1String("<include>")));
    }
};

KX_TEST_MAIN(TestInstallation)
#include "tst_Installation.moc"
