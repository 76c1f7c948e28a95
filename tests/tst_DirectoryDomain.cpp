// The directory domain file and its record file.
#include "KxTest.h"

#include "core/DBInterface.h"
#include "core/Store.h"
#include "engine/DirectoryDomainXML.h"
#include "engine/kxVarsXML.h"

class TestDirectoryDomain : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

    static QStringList expectedFor(const QString& d)
    {
        QStringList lines = Store::HeaderBlock();
        lines << R"(<include>)"
              << R"(  <!--the domain or ip (the right hand side of the @ in the addr-->)"
              << QStringLiteral(R"(  <domain name="%1">)").arg(d)
              << R"(    <params>)"
              << "      <param name=\"dial-string\" value=\"{^^:sip_invite_domain=${dialed_domain}:presence_id=${dialed_user}@${dialed_domain}}${sofia_contact(*/${dialed_user}@${dialed_domain})}\"/>"
              << R"(      <!-- These are required for Verto to function properly -->)"
              << R"(      <!-- <param name="jsonrpc-allowed-methods" value="verto"/> -->)"
              << R"(      <!-- <param name="jsonrpc-allowed-event-channels" value="demo,conference,presence"/> -->)"
              << R"(    </params>)"
              << ""
              << R"(    <variables>)"
              << R"(      <variable name="record_stereo" value="true"/>)"
              << R"(      <variable name="default_gateway" value="$${default_provider}"/>)"
              << R"(      <variable name="default_areacode" value="$${default_areacode}"/>)"
              << R"(      <variable name="transfer_fallback_extension" value="operator"/>)"
              << QStringLiteral(R"(      <variable name="user_context" value="%1"/>)").arg(d)
              << R"(    </variables>)"
              << ""
              << R"(    <groups>)"
              << QStringLiteral(R"(      <group name="%1">)").arg(d)
              << R"(        <users>)"
              << QStringLiteral("          <X-PRE-PROCESS cmd=\"include\" data=\"%1/*.xml\"/>").arg(d)
              << R"(        </users>)"
              << R"(      </group>)"
              << R"(    </groups>)"
              << R"(  </domain>)"
              << R"(</include>)";
        return lines;
    }

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void defaultDomainFile()
    {
        TKesFSVarsXML vars;
        TDirectoryDomainXML dd(&vars, QStringLiteral("default"));
        dd.GenerateXML(path("directory/default.xml"));
        const QStringList expected = expectedFor(QStringLiteral("default"));
        QCOMPARE(expected.size(), 35);
        QCOMPARE(expected.at(5), QStringLiteral("  https://kestrix.example.org support@kestrix.example.org"));
        KxTest::CompareLines(KxTest::ReadBytes(path("directory/default.xml")), expected);
        QCOMPARE(dd.XMLText, expected);
    }

    void domainValueIsEscaped()
    {
        TDirectoryDomainXML dd(nullptr, QStringLiteral("a\"b<c&d"));
        dd.GenerateXML(path("odd.xml"));
        KxTest::CompareLines(KxTest::ReadBytes(path("odd.xml")), expectedFor(QStringLiteral("a&quot;b&lt;c&amp;d")));
    }

    void recordFileRoundTrip()
    {
        TDirectoryDomainXML a(nullptr, QStringLiteral("office"));
        a.SaveToFile(path("office.ddm"));
        QCOMPARE(KxTest::ReadBytes(path("office.ddm")), QByteArray("[General]\r\nDomain=office\r\n"));
        TDirectoryDomainXML b(nullptr, QStringLiteral("other"));
        b.LoadFromFile(path("office.ddm"));
        QCOMPARE(b.Domain, QStringLiteral("office"));
        TDirectoryDomainXML c(nullptr, QStringLiteral("kept"));
        c.LoadFromFile(path("missing.ddm"));
        QCOMPARE(c.Domain, QStringLiteral("kept"));
    }

    // Whatever the record file says, loading the globals makes the file name
    // the database interface's domain.
    void loadGlobalsOverridesStoredDomain()
    {
        TDBInterface db(QStringLiteral("office"), nullptr);
        db.ControlBlock->WorkingDir = m_dir.path();
        KxTest::WriteBytes(path("directory/office.ddm"), "[General]\r\nDomain=elsewhere\r\n");
        db.LoadGlobals();
        QCOMPARE(db.DirectoryDomainXML->Domain, QStringLiteral("office"));
    }
};

KX_TEST_MAIN(TestDirectoryDomain)
#include "tst_DirectoryDomain.moc"
