// Benchmark of the users' store: creates N users (default 10,000; N is the
// first argument), then times SaveUsers, LoadUsers and the generation of the
// directory files, and, in the same run, the bare cost of reading the bytes
// of the same record files. Runs entirely inside a temporary folder that
// stands in for HOME, the XDG folders and the working directory.
#include "core/DBInterface.h"
#include "core/KXGlobalsCB.h"
#include "core/Store.h"
#include "records/UserList.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// Best of `runs` timings of fn: elapsed time and this thread's CPU time
// (user + system), in milliseconds. The CPU time is the steadier figure on a
// busy machine.
struct TTiming {
    double Wall = 1e300;
    double Cpu = 1e300;
};

TTiming best(int runs, const std::function<void()>& fn)
{
    TTiming b;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        const double c0 = threadCpuMs();
        t.start();
        fn();
        b.Wall = std::min(b.Wall, t.nsecsElapsed() / 1e6);
        b.Cpu = std::min(b.Cpu, threadCpuMs() - c0);
    }
    return b;
}

void report(const char* what, TTiming t, int n)
{
    std::printf("%-34s %10.1f ms %8.1f us/user   cpu %10.1f ms %8.1f us/user\n", what, t.Wall,
                t.Wall * 1000.0 / n, t.Cpu, t.Cpu * 1000.0 / n);
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/kestrix-bench-XXXXXX"));
    if (!home.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 1;
    }
    const QByteArray h = home.path().toUtf8();
    qputenv("HOME", h);
    qputenv("XDG_DATA_HOME", h + "/.local/share");
    qputenv("XDG_CONFIG_HOME", h + "/.config");
    qputenv("XDG_CACHE_HOME", h + "/.cache");
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication app(argc, argv);

    const int n = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    const int runs = argc > 2 ? QByteArray(argv[2]).toInt() : 3;
    if (n <= 0 || runs <= 0) {
        std::fprintf(stderr, "usage: %s [users (default 10000)] [runs per timing (default 3)]\n", argv[0]);
        return 2;
    }

    TDBInterface db(QStringLiteral("bench.example.net"), nullptr);
    db.ControlBlock->WorkingDir = home.path() + QStringLiteral("/work");
    std::printf("users: %d, working dir: %s, best of %d runs\n", n, qPrintable(db.ControlBlock->WorkingDir),
                runs);

    const TTiming add = best(1, [&] {
        for (int i = 0; i < n; ++i) {
            auto* u = new TUser;
            u->SetDefaults(100 + i);
            u->Name = QStringLiteral("User number %1").arg(i);
            db.AddUser(u);
        }
    });
    report("AddUser (Id from globals.glo)", add, n);

    const TTiming save = best(runs, [&] {
        for (int i = 0; i < db.Users->Count(); ++i) db.Users->Items(i)->Modified = true;
        db.FilesNeedingCommiting->Clear();
        db.SaveUsers();
    });
    report("SaveUsers (2 files + 2 pending)", save, n);
    const QString folder = db.UsersFolder();
    if (db.FilesNeedingCommiting->Count() != 2 * n) {
        std::fprintf(stderr, "expected %d pending uploads, got %d\n", 2 * n, db.FilesNeedingCommiting->Count());
        return 1;
    }

    // The share of SaveUsers spent entering the pending uploads.
    const TTiming pending = best(runs, [&] {
        TFilesNeedingCommitingList list;
        for (int i = 0; i < db.Users->Count(); ++i) {
            const QString base = db.Users->Items(i)->FileBase();
            list.Add(TFileNeedingCommiting(folder, base + QStringLiteral(".usr"), db.UsersServerFolder(), fnaaPut));
            list.Add(TFileNeedingCommiting(folder, base + QStringLiteral(".xml"), db.UsersServerFolder(), fnaaPut));
        }
    });
    report("  of which pending list, 2N adds", pending, n);

    const TTiming gen = best(runs, [&] {
        for (int i = 0; i < db.Users->Count(); ++i) db.Users->Items(i)->XMLText = db.Users->Items(i)->XMLLines();
    });
    report("generation, lines only", gen, n);
    const TTiming genWrite = best(runs, [&] {
        for (int i = 0; i < db.Users->Count(); ++i) {
            TUser* u = db.Users->Items(i);
            u->GenerateXML(folder + u->FileBase() + QStringLiteral(".xml"));
        }
    });
    report("generation, GenerateXML (written)", genWrite, n);

    const TTiming load = best(runs, [&] { db.LoadUsers(); });
    report("LoadUsers", load, n);
    if (db.Users->Count() != n || !db.LoadProblems.empty()) {
        std::fprintf(stderr, "LoadUsers read %d users with %d problems\n", db.Users->Count(),
                     int(db.LoadProblems.size()));
        return 1;
    }

    qint64 bytes = 0;
    const TTiming bare = best(runs, [&] {
        bytes = 0;
        for (const QString& path : Store::ListRecordFiles(folder, QStringLiteral(".usr"))) {
            QFile f(path);
            if (f.open(QIODevice::ReadOnly)) bytes += f.readAll().size();
        }
    });
    report("bare read of the same .usr bytes", bare, n);
    std::printf("record bytes read: %lld\n", static_cast<long long>(bytes));
    std::printf("ratio LoadUsers / bare read: %.1f (elapsed), %.1f (cpu)\n", load.Wall / bare.Wall,
                load.Cpu / bare.Cpu);
    return 0;
}
