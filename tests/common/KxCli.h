#pragma once
// Runs the real kestrix-cli executable from a test, with the test's own
// temporary home, so the program sees the same configuration folder (settings,
// Id counters, pending changes) as the model used inside the test.
#include "KxTest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

namespace KxCli {

struct TResult {
    int ExitCode = -1;
    QByteArray Out;
    QByteArray Err;
    QJsonDocument Json() const { return QJsonDocument::fromJson(Out); }
    QString ErrText() const { return QString::fromUtf8(Err); }
    QString OutText() const { return QString::fromUtf8(Out); }
};

inline QString Program() { return QStringLiteral(KX_BINARY_DIR "/kestrix-cli"); }

// HOME and the XDG folders of the test; the data folder is the one the test
// process itself resolves (QStandardPaths in test mode), so both sides agree.
inline QProcessEnvironment Environment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    env.insert(QStringLiteral("HOME"), QDir::homePath());
    env.insert(QStringLiteral("XDG_DATA_HOME"), data);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QDir::homePath() + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), QDir::homePath() + QStringLiteral("/.cache"));
    return env;
}

inline TResult Run(const QStringList& args, const QByteArray& input = {}, int timeoutMs = 120000,
                   const QProcessEnvironment& env = Environment())
{
    TResult r;
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(Program(), args);
    if (!p.waitForStarted(10000)) {
        r.Err = "could not start " + Program().toUtf8();
        return r;
    }
    if (!input.isEmpty()) p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        r.Err = "timed out";
        return r;
    }
    r.ExitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.Out = p.readAllStandardOutput();
    r.Err = p.readAllStandardError();
    return r;
}

} // namespace KxCli

// Checks an exit status, showing what the program printed when it differs.
// The result expression is evaluated once.
#define KXCLI_EXPECT(result, status)                                                               \
    do {                                                                                           \
        const KxCli::TResult kxcliR_ = (result);                                                   \
        QVERIFY2(kxcliR_.ExitCode == (status),                                                     \
                 qPrintable(QStringLiteral("exit %1, expected %2\nstdout: %3\nstderr: %4")        \
                                .arg(kxcliR_.ExitCode)                                             \
                                .arg(status)                                                       \
                                .arg(kxcliR_.OutText(), kxcliR_.ErrText())));                      \
    } while (false)
