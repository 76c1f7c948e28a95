#pragma once
// Shared by the tests that run against the test server of
// tests/sshd/with-test-sshd.sh (they run inside its namespace, as root).
#include "KxTest.h"
#include "core/DBInterface.h"
#include "core/ProgressSink.h"

#include <QDirIterator>
#include <QProcess>
#include <functional>

namespace ServerTest {

inline QString Env(const char* name) { return qEnvironmentVariable(name); }
inline bool Available() { return !Env("KX_TEST_SERVER_HOST").isEmpty(); }
inline QString Host() { return Env("KX_TEST_SERVER_HOST"); }
inline QString Password() { return Env("KX_TEST_ROOT_PASSWORD"); }
inline QString ServerDir() { return Env("KX_TEST_SERVER_DIR"); }
inline QString Fixture() { return Env("KX_TEST_SERVER_FIXTURE"); }
inline QString CallsLog() { return ServerDir() + QStringLiteral("/calls.log"); }

inline TServerLogin Login(const QString& password = Password())
{
    return TServerLogin{Host(), password};
}

// Runs a program to its end; returns its standard output, fails the test on a non-zero status.
inline QString Run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const QByteArray err = p.readAllStandardError();
    if (p.exitCode() != 0 || p.exitStatus() != QProcess::NormalExit)
        qWarning("%s %s failed: %s", qPrintable(program), qPrintable(args.join(u' ')), err.constData());
    return out;
}

inline QString Ctl(const QStringList& args) { return Run(Env("KX_TEST_SERVER_CTL"), args).trimmed(); }

inline QString PuttyHostKeys() { return QDir::homePath() + QStringLiteral("/.putty/sshhostkeys"); }

// Back to the fixture: the tree and network file, no calls recorded, the first
// host key, no stored host key on the client, every folder writable.
inline void ResetServer()
{
    QFile mounts(QStringLiteral("/proc/self/mounts"));
    if (mounts.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : mounts.readAll().split('\n')) {
            const QList<QByteArray> f = line.split(' ');
            if (f.size() > 1 && f[1].startsWith("/etc/freeswitch/")) Ctl({QStringLiteral("writable"), QString::fromUtf8(f[1])});
        }
    }
    Run(QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"),
         QStringLiteral("rm -rf /etc/freeswitch && mkdir /etc/freeswitch && cp -r \"$0\"/. /etc/freeswitch/ "
                        "&& cp \"$0\"/../interfaces /etc/network/interfaces"),
         Fixture()});
    KxTest::WriteBytes(CallsLog(), QByteArray());
    Ctl({QStringLiteral("reload-reply")});
    if (KxTest::ReadBytes(ServerDir() + QStringLiteral("/hostkey")) != KxTest::ReadBytes(ServerDir() + QStringLiteral("/hostkey-a")))
        Ctl({QStringLiteral("restore-hostkey")});
    QFile::remove(PuttyHostKeys());
}

inline QByteArray Calls() { return KxTest::ReadBytes(CallsLog()); }

// Relative paths of every file below a folder, sorted.
inline QStringList FilesUnder(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    const QDir base(folder);
    while (it.hasNext()) files << base.relativeFilePath(it.next());
    files.sort();
    return files;
}

// Records what the model reports; OnEvents runs whenever the model lets the
// user interface breathe (also while a tool runs).
class TRecorder : public TProgressSink {
public:
    void ShowStatus(const QString& text) override { Statuses << text; }
    void StepProgress() override { ++Steps; }
    void SetProgressMax(int max) override { Max = max; }
    void AppendOutput(const QString& chunk) override { Output += chunk; }
    void ProcessEvents() override
    {
        if (OnEvents) OnEvents();
    }
    bool CancelRequested() const override { return Cancel; }

    QStringList Statuses;
    int Steps = 0;
    int Max = -1;
    QString Output;
    bool Cancel = false;
    std::function<void()> OnEvents;
};

// A database interface on a fresh, empty working directory, with the test
// server as its address.
struct TWorkspace {
    QTemporaryDir Dir;
    TRecorder Sink;
    std::unique_ptr<TDBInterface> Db;

    TWorkspace()
    {
        Db = std::make_unique<TDBInterface>(QStringLiteral("default"), &Sink);
        Db->ControlBlock->WorkingDir = Dir.path();
        Db->ControlBlock->LastIPAddress = Host();
        Db->ControlBlock->SaveToFile();
    }
    QString W() const { return Dir.path() + u'/'; }
    // Writes a local file and enters it as a pending upload.
    void Put(const QString& relFolder, const QString& file, const QByteArray& content)
    {
        const QString folder = Store::LocalFolder(Dir.path(), relFolder);
        KxTest::WriteBytes(folder + file, content);
        Db->AddFileNeedingCommiting(folder, file, Store::ServerFolder(relFolder), fnaaPut);
    }
    void Delete(const QString& relFolder, const QString& file)
    {
        Db->FilesNeedingCommiting->Add(TFileNeedingCommiting(QString(), file, Store::ServerFolder(relFolder), fnaaDelete));
    }
    QStringList Pending() const
    {
        QStringList names;
        for (int i = 0; i < Db->FilesNeedingCommiting->Count(); ++i) {
            const TFileNeedingCommiting* e = Db->FilesNeedingCommiting->Items(i);
            names << QString::number(e->ActionType) + u' ' + e->DestFolder + e->SrcFile;
        }
        return names;
    }
};

} // namespace ServerTest
