#include "cli/CliSession.h"
#include "cli/CliOutput.h"
#include "core/DBInterface.h"
#include "core/KXCB.h"
#include "core/KxError.h"
#include "core/Store.h"
#include "core/WriteBatch.h"

#include <QCoreApplication>
#include <filesystem>

#include <QDir>
#include <QFileInfo>

void TCliProgress::ShowStatus(const QString& text)
{
    if (m_verbose && !text.isEmpty()) CliOut::Warn(text);
}

void TCliProgress::AppendOutput(const QString& chunk)
{
    if (!m_verbose || chunk.isEmpty()) return;
    const QByteArray bytes = chunk.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

TCliSession::TCliSession(const TCliGlobalOptions& options)
    : m_options(options), m_progress(std::make_unique<TCliProgress>(options.Verbose))
{
}

TCliSession::~TCliSession() = default;

void TCliSession::Open(bool needDomain, bool needWorkingDir)
{
    if (m_db) return;
    if (!m_lock.TryLock(5000)) throw ECliFailure(m_lock.BusyMessage());

    TKXControlBlock settings;
    settings.LoadFromFile();
    m_domain = m_options.Domain.isEmpty() ? settings.LastDomain : m_options.Domain;
    m_server = m_options.Server.isEmpty() ? settings.LastIPAddress : m_options.Server;
    if (needDomain) {
        if (m_domain.isEmpty())
            throw ECliUsage(QStringLiteral("No domain is stored from an earlier connection: give one with --domain."));
        Store::CheckSafeFileBase(m_domain, QStringLiteral("domain"));
    }

    // One working directory mirrors one server: its pending changes and
    // files belong to the server the window connected to last.
    const auto canonical = [](const QString& dir) {
        const QFileInfo fi(dir);
        const QString c = fi.canonicalFilePath();
        return Store::WithTrailingDelimiter(c.isEmpty() ? QDir::cleanPath(fi.absoluteFilePath()) : c);
    };
    const bool storedWorkingDir =
        m_options.WorkingDir.isEmpty() || canonical(m_options.WorkingDir) == canonical(settings.WorkingDir);
    if (storedWorkingDir && !m_options.Server.isEmpty() && m_options.Server != settings.LastIPAddress) {
        if (!settings.LastIPAddress.isEmpty())
            throw ECliUsage(QStringLiteral("The working directory %1 holds the configuration of the server %2 (the last "
                                           "connection), not of %3. Give --workdir DIR for a working directory of its "
                                           "own, or connect the window to %3 first.")
                                .arg(QDir::toNativeSeparators(Store::WithTrailingDelimiter(settings.WorkingDir)),
                                     settings.LastIPAddress, m_options.Server));
        // The first connection: remembered as the window's connection dialog does.
        settings.LastIPAddress = m_options.Server;
        if (settings.LastDomain.isEmpty()) settings.LastDomain = m_domain;
        settings.SaveToFile();
    }

    m_db = std::make_unique<TDBInterface>(m_domain, m_progress.get());
    if (!m_options.WorkingDir.isEmpty())
        m_db->ControlBlock->WorkingDir = QDir::cleanPath(QFileInfo(m_options.WorkingDir).absoluteFilePath());
    // Pending uploads follow the server this command talks to ("local": none).
    m_db->ControlBlock->LastIPAddress = m_server;
    if (needWorkingDir && !QFileInfo(m_db->WorkingDir()).isDir())
        throw ECliFailure(QStringLiteral("The working directory %1 does not exist.").arg(m_db->WorkingDir()));

    readStoredPending();
    if (needDomain) m_db->LoadGlobals();
}

void TCliSession::LoadRecords()
{
    if (m_recordsLoaded) return;
    TDBInterface& db = *m_db;
    db.LoadProblems.clear();
    // The window's startup order.
    db.LoadUsers();
    db.LoadCallGroups();
    db.LoadTrunks();
    db.LoadInboundRoutes();
    db.LoadInboundRouteDests();
    db.LoadOutboundRoutes();
    db.LoadDialplanEntries();
    m_recordsLoaded = true;
    for (const QString& problem : db.LoadProblemTexts())
        CliOut::Warn(QStringLiteral("warning: skipped unreadable record file ") + problem);
}

void TCliSession::readStoredPending()
{
    // The window reads the stored pending changes once, deleting their files,
    // and stores its list again when it closes. A command reads them through
    // the same reader from links to the files (no copy of the data), so the
    // stored files stay as they are until the command changes the list.
    const QString folder = TDBInterface::PendingChangesFolder();
    Store::EnsureDir(folder);
    const QString snapshot = Store::AppConfigDir()
                             + QStringLiteral("fnc-read-%1/").arg(QCoreApplication::applicationPid());
    QDir(snapshot).removeRecursively();
    Store::EnsureDir(snapshot);
    try {
        for (const QString& name : QDir(folder).entryList({QStringLiteral("*.fnc")}, QDir::Files)) {
            std::error_code ec;
            std::filesystem::create_hard_link(std::filesystem::path((folder + name).toStdU16String()),
                                              std::filesystem::path((snapshot + name).toStdU16String()), ec);
            if (ec && !QFile::copy(folder + name, snapshot + name))
                throw EKXError(QStringLiteral("Unable to read the pending change %1%2").arg(folder, name));
        }
        m_db->FilesNeedingCommiting->LoadFromFolder(snapshot);
    } catch (...) {
        QDir(snapshot).removeRecursively();
        throw;
    }
    QDir(snapshot).removeRecursively();
    m_pendingLoaded = true;
    m_storedPending = pendingSignature();
}

QByteArray TCliSession::pendingSignature() const
{
    QByteArray sig;
    const TFilesNeedingCommitingList& list = *m_db->FilesNeedingCommiting;
    for (int i = 0; i < list.Count(); ++i) {
        const TFileNeedingCommiting* e = list.Items(i);
        sig += QByteArray::number(e->ActionType) + '\0' + e->SrcFile.toUtf8() + '\0' + e->SrcFolder.toUtf8()
               + '\0' + e->DestFolder.toUtf8() + '\n';
    }
    return sig;
}

void TCliSession::StorePending()
{
    if (!m_db || !m_pendingLoaded) return;
    const QByteArray sig = pendingSignature();
    if (sig == m_storedPending) return;
    TWriteBatch batch;
    m_db->SaveFilesNeedingCommiting();
    batch.Commit();
    // The files 1..n now hold the list; a longer list stored before leaves
    // files numbered above n, which no longer belong to it.
    const int count = m_db->FilesNeedingCommiting->Count();
    const QString folder = TDBInterface::PendingChangesFolder();
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.fnc")}, QDir::Files);
    for (const QString& name : names) {
        bool ok = false;
        const int n = name.chopped(4).toInt(&ok);
        if (ok && n >= 1 && n <= count && name == QString::number(n) + QStringLiteral(".fnc")) continue;
        Store::DeleteFileIfExists(QDir(folder).filePath(name));
    }
    m_storedPending = sig;
}
