#include "core/WriteBatch.h"
#include "core/KxError.h"
#include "core/Store.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <filesystem>
#include <system_error>

#if defined(Q_OS_LINUX)
#include <fcntl.h>
#include <unistd.h>
#elif defined(Q_OS_UNIX)
#include <fcntl.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>
#endif

namespace {
struct TBatchState {
    int Depth = 0;
    QHash<QString, QByteArray> Content; // target path -> its new content
    QStringList Order;                  // targets in the order first written
    QSet<QString> Folders;              // folders known to exist
};

thread_local TBatchState g_batch;

QString tempPathFor(const QString& path) { return path + QStringLiteral(".kxbatch"); }

std::filesystem::path fsPath(const QString& p) { return std::filesystem::path(p.toStdU16String()); }

// Makes what was written to the files durable: one flush per file system
// where the system offers it, else one per file.
void flushToDisk(const QStringList& files)
{
#if defined(Q_OS_LINUX)
    QSet<QString> folders;
    for (const QString& f : files) folders.insert(QFileInfo(f).absolutePath());
    for (const QString& folder : folders) {
        const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0) continue;
        ::syncfs(fd);
        ::close(fd);
    }
#elif defined(Q_OS_UNIX)
    for (const QString& f : files) {
        const int fd = ::open(QFile::encodeName(f).constData(), O_RDONLY);
        if (fd < 0) continue;
        ::fsync(fd);
        ::close(fd);
    }
#elif defined(Q_OS_WIN)
    for (const QString& f : files) {
        QFile file(f);
        if (!file.open(QIODevice::ReadWrite)) continue;
        FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(file.handle())));
    }
#else
    Q_UNUSED(files);
#endif
}

// Writes every batched file beside its target, makes them durable, then puts
// each in place; returns the failures. The batch is empty afterwards.
QStringList putInPlace()
{
    TBatchState& b = g_batch;
    QStringList failures;
    QStringList written; // targets whose new content lies beside them
    for (const QString& target : b.Order) {
        try {
            const QString folder = QFileInfo(target).absolutePath();
            if (!b.Folders.contains(folder)) {
                Store::EnsureDir(folder);
                b.Folders.insert(folder);
            }
        } catch (const EKXError& e) {
            failures << e.Message;
            continue;
        }
        const QByteArray data = b.Content.value(target);
        QFile file(tempPathFor(target));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size()
            || !file.flush()) {
            failures << QStringLiteral("Unable to write file %1: %2").arg(target, file.errorString());
            file.close();
            QFile::remove(tempPathFor(target));
            continue;
        }
        file.close();
        written << target;
    }
    QStringList temps;
    for (const QString& target : written) temps << tempPathFor(target);
    flushToDisk(temps);
    for (const QString& target : written) {
        const QString temp = tempPathFor(target);
        const QFileInfo old(target);
        if (old.exists()) QFile::setPermissions(temp, old.permissions());
        std::error_code ec;
        std::filesystem::rename(fsPath(temp), fsPath(target), ec);
        if (ec) {
            failures << QStringLiteral("Unable to write file %1: %2").arg(target, QString::fromLocal8Bit(ec.message()));
            QFile::remove(temp);
        }
    }
    flushToDisk(written); // the renames themselves
    b.Content.clear();
    b.Order.clear();
    return failures;
}
} // namespace

TWriteBatch::TWriteBatch() : m_outer(g_batch.Depth == 0) { ++g_batch.Depth; }

TWriteBatch::~TWriteBatch()
{
    if (m_outer && !g_batch.Order.isEmpty()) putInPlace();
    --g_batch.Depth;
}

void TWriteBatch::Commit()
{
    if (!m_outer || g_batch.Order.isEmpty()) return;
    const QStringList failures = putInPlace();
    if (!failures.isEmpty()) throw EKXError(failures.join(u'\n'));
}

bool TWriteBatch::Active() { return g_batch.Depth > 0; }

void TWriteBatch::Write(const QString& path, const QByteArray& data)
{
    TBatchState& b = g_batch;
    auto it = b.Content.find(path);
    if (it != b.Content.end()) {
        *it = data;
        return;
    }
    // A file that would not change is left as it is.
    QFile current(path);
    if (current.size() == data.size() && current.open(QIODevice::ReadOnly) && current.readAll() == data) return;
    b.Content.insert(path, data);
    b.Order << path;
}

bool TWriteBatch::Read(const QString& path, QByteArray& data)
{
    const auto it = g_batch.Content.constFind(path);
    if (it == g_batch.Content.constEnd()) return false;
    data = *it;
    return true;
}

void TWriteBatch::Forget(const QString& path)
{
    TBatchState& b = g_batch;
    if (b.Content.remove(path)) b.Order.removeOne(path);
}
