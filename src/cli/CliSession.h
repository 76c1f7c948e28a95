#pragma once
// One command's use of the store: the same settings, Id counters and stored
// pending changes as the window. The pending changes are read at the start
// and written back whenever a command has changed them, also when it fails
// half-way.
#include "cli/CliApp.h"
#include "core/ProgressSink.h"
#include "core/SessionLock.h"

#include <QByteArray>
#include <memory>

// Status texts and child-program output on standard error, with --verbose.
class TCliProgress : public TProgressSink {
public:
    explicit TCliProgress(bool verbose) : m_verbose(verbose) {}
    void ShowStatus(const QString& text) override;
    void StepProgress() override {}
    void SetProgressMax(int) override {}
    void AppendOutput(const QString& chunk) override;

private:
    bool m_verbose;
};

class TCliSession {
public:
    explicit TCliSession(const TCliGlobalOptions& options);
    ~TCliSession();

    // Opens the database interface (settings, pending changes); with a
    // domain also reads the global configuration files. The working
    // directory must exist unless the command is about to fill it.
    void Open(bool needDomain, bool needWorkingDir = true);
    // Reads every record kind of the working directory; records that cannot
    // be read are named in warnings and left out.
    void LoadRecords();
    TDBInterface& Db() { return *m_db; }
    bool IsOpen() const { return bool(m_db); }
    bool RecordsLoaded() const { return m_recordsLoaded; }

    // The domain and server address in use and where they came from.
    QString Domain() const { return m_domain; }
    QString Server() const { return m_server; }

    // Writes the pending changes when they differ from what is stored.
    void StorePending();

private:
    void readStoredPending();
    QByteArray pendingSignature() const;

    TCliGlobalOptions m_options;
    TSessionLock m_lock;
    std::unique_ptr<TCliProgress> m_progress;
    std::unique_ptr<TDBInterface> m_db;
    QString m_domain;
    QString m_server;
    QByteArray m_storedPending;
    bool m_pendingLoaded = false;
    bool m_recordsLoaded = false;
};
