#include "core/SessionLock.h"
#include "core/Store.h"

TSessionLock::TSessionLock() = default;

TSessionLock::~TSessionLock() { Unlock(); }

QString TSessionLock::LockFilePath()
{
    return Store::AppConfigDir() + QString::fromLatin1(Store::ApplicationName) + QStringLiteral(".lock");
}

bool TSessionLock::TryLock(int timeoutMs)
{
    Store::EnsureDir(Store::AppConfigDir());
    if (!m_file) {
        m_file = std::make_unique<QLockFile>(LockFilePath());
        // A live holder may keep the lock for hours (an open window); only a
        // holder that no longer runs gives it up.
        m_file->setStaleLockTime(0);
    }
    if (m_file->isLocked()) return true;
    return m_file->tryLock(timeoutMs);
}

void TSessionLock::Unlock()
{
    if (m_file && m_file->isLocked()) m_file->unlock();
}

bool TSessionLock::IsLocked() const { return m_file && m_file->isLocked(); }

QString TSessionLock::BusyMessage() const
{
    qint64 pid = 0;
    QString host, app;
    QString holder = QStringLiteral("another Kestrix program");
    if (m_file && m_file->getLockInfo(&pid, &host, &app))
        holder = QStringLiteral("another Kestrix program (%1, process %2)").arg(app.isEmpty() ? QStringLiteral("?") : app).arg(pid);
    return QStringLiteral("The configuration folder %1 is in use by %2. Close it or wait until it has finished, "
                          "then try again.")
        .arg(Store::AppConfigDir(), holder);
}
