#pragma once
// One program at a time works on the configuration folder: the window keeps
// the pending changes in memory and stores them when it closes, so a command
// line run beside it would have its pending changes overwritten. Whoever
// holds this lock (a lock file in the application configuration folder) may
// read and change the store; the lock of a program that died is taken over.
#include <QLockFile>
#include <QString>
#include <memory>

class TSessionLock {
public:
    TSessionLock();
    ~TSessionLock();
    static QString LockFilePath();

    // Waits up to timeoutMs for the lock; false when another program keeps it.
    bool TryLock(int timeoutMs);
    void Unlock();
    bool IsLocked() const;
    // Why the lock could not be taken, naming the holder when known.
    QString BusyMessage() const;

private:
    std::unique_ptr<QLockFile> m_file;
};
