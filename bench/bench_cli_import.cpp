// Benchmark of kestrix-cli's user import: writes a CSV file of N users
// (default 10,000), runs the real executable to import it into an empty
// working directory (every record file, directory file and stored pending
// change written), then times a command run afterwards on the full store
// (adding one user) and an import of the same file again (every user
// changed in place, nothing to write). Prints elapsed and CPU time of each.
// Runs inside a temporary folder that stands in for HOME and the XDG folders.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>

namespace {

struct TRun {
    int Status = -1;
    double Wall = 0;
    double Cpu = 0;
};

double childrenCpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec + u.ru_stime.tv_usec / 1e6;
}

TRun run(const QString& program, const QStringList& args, const QProcessEnvironment& env)
{
    TRun r;
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const double cpu0 = childrenCpuSeconds();
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    p.waitForFinished(-1);
    r.Wall = t.nsecsElapsed() / 1e9;
    r.Cpu = childrenCpuSeconds() - cpu0;
    r.Status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    p.readAllStandardOutput();
    return r;
}

void report(const char* what, const TRun& r)
{
    std::printf("%-44s %8.2f s elapsed %8.2f s cpu  (status %d)\n", what, r.Wall, r.Cpu, r.Status);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/kestrix-cli");
    if (n <= 0 || !QFile::exists(program)) {
        std::fprintf(stderr, "usage: %s [users (default 10000)]; needs %s\n", argv[0], qPrintable(program));
        return 2;
    }
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/kestrix-bench-cli-XXXXXX"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/.local/share"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/.config"));
    const QString work = home.path() + QStringLiteral("/work");
    QDir().mkpath(work);

    const QString csv = home.path() + QStringLiteral("/users.csv");
    {
        QFile f(csv);
        if (!f.open(QIODevice::WriteOnly)) return 1;
        f.write("Extension,Name,Password,VMPassword,VMEnabled,CallGroup,EffectiveCallerIdName\r\n");
        for (int i = 0; i < n; ++i)
            f.write(QStringLiteral("%1,User number %2,Pw%2xYz,%3,%4,%5,\"Desk %2, floor %6\"\r\n")
                        .arg(10000 + i)
                        .arg(i)
                        .arg(1000 + i % 9000)
                        .arg(i % 2)
                        .arg(i % 3 ? QString() : QStringLiteral("Sales"))
                        .arg(i % 5)
                        .toUtf8());
    }
    const QStringList base{QStringLiteral("--workdir"), work, QStringLiteral("--domain"), QStringLiteral("bench"),
                           QStringLiteral("--server"), QStringLiteral("192.0.2.1")};
    std::printf("users: %d, working dir: %s\n", n, qPrintable(work));
    report("import into an empty working directory",
           run(program, base + QStringList{QStringLiteral("users"), QStringLiteral("import"), csv}, env));
    const int files = QDir(work + QStringLiteral("/directory/bench")).entryList(QDir::Files).size();
    const int pending = QDir(home.path() + QStringLiteral("/.local/share/Kestrix/fnc")).entryList(QDir::Files).size();
    std::printf("record and directory files: %d, stored pending changes: %d\n", files, pending);
    report("then: add one user",
           run(program,
               base + QStringList{QStringLiteral("users"), QStringLiteral("add"), QStringLiteral("Name=One more"),
                                  QStringLiteral("Password=Pw1xYz")},
               env));
    report("then: import the same file again",
           run(program, base + QStringList{QStringLiteral("users"), QStringLiteral("import"), csv}, env));
    report("then: pending", run(program, base + QStringList{QStringLiteral("pending")}, env));
    return files == 2 * n + 2 && pending == 2 * n + 2 ? 0 : 1;
}
