#pragma once
// Transfers and commands between the working directory and the server, run
// with psftp and plink, and how their outcome is read: from the tools' exit
// status and from what they print, line by line of the script.
#include "sync/SecureShellTools.h"
#include "sync/fileneedingcommiting.h"

#include <QString>
#include <QStringList>
#include <vector>

class TProgressSink;
class TFilesNeedingCommitingList;

// One file a transfer could not move, and why.
struct TTransferFailure {
    QString File;         // bare file name
    QString ServerFolder; // "/etc/freeswitch/..."
    QString Reason;       // in the administrator's words, with the tool's own text
};

// What a transfer or server command came to, for the window or the command
// line to show.
struct TTransferResult {
    bool Ok = true;
    bool Cancelled = false;
    // The server showed a host key other than the one stored for it. Nothing
    // was sent. To go ahead, the caller shows HostKeyLines, and when the
    // administrator accepts, runs again with TServerLogin::AcceptedHostKey set
    // to HostKeyFingerprint.
    bool HostKeyChanged = false;
    QString HostKeyFingerprint;
    QStringList HostKeyLines;
    QStringList Messages;                 // for the administrator, one sentence or paragraph each
    std::vector<TTransferFailure> Failures;
    int Transferred = 0;                  // files moved (or deleted on the server)
    QStringList Output;                   // everything the tools printed

    void Fail(const QString& message)
    {
        Ok = false;
        Messages << message;
    }
    QString Text() const { return Messages.join(QStringLiteral("\n\n")); }
};

struct TTransferContext {
    QString WorkingDir;            // batchfile.scr is written here
    TProgressSink* Sink = nullptr; // status, progress, tool output, Cancel
};

namespace RemoteTransfer {

// Texts the setup wizard shows for its download.
inline constexpr const char* WizardSuccessLine = "Config files successfully downloaded from remote FreeSWITCH server";
inline constexpr const char* WizardFailureText =
    "Unable to download config files from remote FreeSWITCH server\r\rPlease check IP Address and Password";

// ---- single operations ----------------------------------------------------
TTransferResult DownloadFile(const TTransferContext& ctx, const TServerLogin& login, const QString& remoteFolder,
                             const QString& fileName, const QString& localFolder);
TTransferResult UploadFile(const TTransferContext& ctx, const TServerLogin& login, const QString& localFolder,
                           const QString& fileName, const QString& remoteFolder);
// Ok when plink reached the server and the command ended with status 0.
TTransferResult RunServerCommand(const TTransferContext& ctx, const TServerLogin& login, const QString& command);
// "fs_cli -x reloadxml"; Ok only when the engine answers "+OK [Success]".
TTransferResult ReloadEngine(const TTransferContext& ctx, const TServerLogin& login);

// ---- the commit -----------------------------------------------------------
struct TCommitScript {
    QStringList Lines;          // without the final "quit"
    std::vector<int> EntryLine; // per list entry: index of the line that decides its result
};
// Throws "Unable to determine fnaaActionType" for an entry that is neither put
// nor delete. Uploads and deletes name the full local and server paths, so a
// failing lcd or cd can never send a file to, or delete it from, another folder.
TCommitScript BuildCommitScript(const TFilesNeedingCommitingList& list);
// Sends every pending change; entries that went through leave the list, the
// others stay in their place. The engine reloads only when something was
// transferred; changed or deleted trunks are restarted.
TTransferResult Commit(const TTransferContext& ctx, const TServerLogin& login, TFilesNeedingCommitingList& list);

// ---- the configuration download --------------------------------------------
// Copies remoteFolder whole into localFolder. The files arrive in a temporary
// folder first and then replace the local copies, except files that have a
// pending change (keepLocal): a pending upload keeps its local content, a
// pending delete stays deleted.
TTransferResult DownloadTree(const TTransferContext& ctx, const TServerLogin& login, const QString& remoteFolder,
                             const QString& localFolder, const std::vector<TFileNeedingCommiting>& keepLocal);
// Stored pending changes (<n>.fnc) read without consuming them.
std::vector<TFileNeedingCommiting> PeekStoredPendingChanges(const QString& folder);

// ---- the network file -------------------------------------------------------
// Turns the DHCP configuration of eth0 into a static one, or gives an already
// static eth0 the new values. Throws "Unable to find the line "iface eth0 inet
// dhcp"" when there is neither.
void EditInterfacesLines(QStringList& lines, const QString& newAddress, const QString& netmask,
                         const QString& gateway);

} // namespace RemoteTransfer
