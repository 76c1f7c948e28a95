// The test server itself: reachable with the real PuTTY tools and the test
// password, serving the fixture tree, with the stand-ins first on root's PATH.
#include "KxTest.h"

#include <QProcess>
#include <unistd.h>

namespace {
QString env(const char* name) { return qEnvironmentVariable(name); }

// Runs a program in a session of its own with the given input, returns its output.
QByteArray run(const QString& program, const QStringList& args, const QByteArray& input, int* exitCode)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setChildProcessModifier([] { ::setsid(); });
    p.start(program, args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(30000);
    *exitCode = p.exitCode();
    return p.readAll();
}
} // namespace

class TestTestServer : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_pwfile;

private slots:
    void initTestCase()
    {
        if (env("KX_TEST_SERVER_HOST").isEmpty()) QSKIP("runs only inside tests/sshd/with-test-sshd.sh");
        m_pwfile = m_dir.filePath(QStringLiteral("pw"));
        KxTest::WriteBytes(m_pwfile, env("KX_TEST_ROOT_PASSWORD").toUtf8() + '\n');
    }

    void standInsAnswerOverPlink()
    {
        int rc = -1;
        const QByteArray out = run(QStringLiteral("plink"),
                                   {QStringLiteral("-pwfile"), m_pwfile, QStringLiteral("root@127.0.0.1"),
                                    QStringLiteral("fs_cli -x reloadxml; reboot; cat /etc/network/interfaces")},
                                   "y\n", &rc);
        QVERIFY2(out.contains("+OK [Success]"), out.constData());
        QVERIFY2(out.contains("iface eth0 inet dhcp"), out.constData());
        QCOMPARE(rc, 0);
        QCOMPARE(KxTest::ReadBytes(env("KX_TEST_SERVER_DIR") + QStringLiteral("/calls.log")),
                 QByteArray("fs_cli -x reloadxml\nreboot\n"));
    }

    void fixtureTreeOverPsftpOnTheSecondPort()
    {
        const QString script = m_dir.filePath(QStringLiteral("b.scr"));
        KxTest::WriteBytes(script, "get \"/etc/freeswitch/freeswitch.xml\" \"" + m_dir.filePath(QStringLiteral("fs.xml")).toUtf8() + "\"\nquit\n");
        int rc = -1;
        const QByteArray out = run(QStringLiteral("psftp"),
                                   {QStringLiteral("-P"), env("KX_TEST_SERVER_ALT_PORT"), QStringLiteral("-pwfile"), m_pwfile,
                                    QStringLiteral("-b"), script, QStringLiteral("root@127.0.0.1")},
                                   "y\n", &rc);
        QCOMPARE(rc, 0);
        QCOMPARE(KxTest::ReadBytes(m_dir.filePath(QStringLiteral("fs.xml"))),
                 KxTest::ReadBytes(env("KX_TEST_SERVER_FIXTURE") + QStringLiteral("/freeswitch.xml")));
        Q_UNUSED(out);
    }

    void wrongPasswordIsRefused()
    {
        const QString bad = m_dir.filePath(QStringLiteral("bad"));
        KxTest::WriteBytes(bad, "not the password\n");
        int rc = -1;
        const QByteArray out = run(QStringLiteral("plink"),
                                   {QStringLiteral("-pwfile"), bad, QStringLiteral("root@127.0.0.1"), QStringLiteral("true")},
                                   "y\n", &rc);
        QVERIFY2(out.contains("Configured password was not accepted"), out.constData());
        QVERIFY(rc != 0);
    }
};

KX_TEST_MAIN(TestTestServer)
#include "tst_TestServer.moc"
