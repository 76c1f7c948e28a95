// Transfers between the working directory and the server, and commands run
// there. The work is done in the sync layer; these operations give it the
// working directory, the progress window and the pending changes.
#include "core/DBInterface.h"
#include "core/KxError.h"
#include "core/Store.h"

#include <QFile>

namespace {
const QString NetworkFolder = QStringLiteral("/etc/network/");
const QString NetworkFile = QStringLiteral("interfaces");

// Pending changes from the list and from the stored files of the last exit
// (at startup the download runs before those are read back).
std::vector<TFileNeedingCommiting> pendingChanges(const TFilesNeedingCommitingList& list)
{
    std::vector<TFileNeedingCommiting> all = RemoteTransfer::PeekStoredPendingChanges(TDBInterface::PendingChangesFolder());
    for (int i = 0; i < list.Count(); ++i) all.push_back(*list.Items(i));
    return all;
}

void append(TTransferResult& into, const TTransferResult& from)
{
    into.Ok = into.Ok && from.Ok;
    into.Cancelled = into.Cancelled || from.Cancelled;
    into.HostKeyChanged = into.HostKeyChanged || from.HostKeyChanged;
    if (from.HostKeyChanged) {
        into.HostKeyFingerprint = from.HostKeyFingerprint;
        into.HostKeyLines = from.HostKeyLines;
    }
    into.Messages += from.Messages;
    into.Failures.insert(into.Failures.end(), from.Failures.begin(), from.Failures.end());
    into.Transferred += from.Transferred;
    into.Output += from.Output;
}
} // namespace

TTransferResult TDBInterface::DownloadFile(const TServerLogin& login, const QString& remoteFolder,
                                           const QString& fileName, const QString& localFolder)
{
    return RemoteTransfer::DownloadFile({WorkingDir(), ProgressForm}, login, remoteFolder, fileName, localFolder);
}

TTransferResult TDBInterface::UploadFile(const TServerLogin& login, const QString& localFolder,
                                         const QString& fileName, const QString& remoteFolder)
{
    return RemoteTransfer::UploadFile({WorkingDir(), ProgressForm}, login, localFolder, fileName, remoteFolder);
}

TTransferResult TDBInterface::RunServerCommand(const TServerLogin& login, const QString& command)
{
    return RemoteTransfer::RunServerCommand({WorkingDir(), ProgressForm}, login, command);
}

TTransferResult TDBInterface::EditNetworkInterfaces(const TServerLogin& login, const QString& newAddress,
                                                    const QString& netmask, const QString& gateway)
{
    const QString local = WorkingDir();
    const QString path = local + NetworkFile;
    ShowStatus(QStringLiteral("Downloading network config file from server..."));
    // A copy left from an earlier run must never be edited and sent back.
    Store::DeleteFileIfExists(path);
    TTransferResult result = DownloadFile(login, NetworkFolder, NetworkFile, local);
    StepProgress();
    if (!result.Ok) return result;
    if (!QFile::exists(path))
        throw EKXError(QStringLiteral("Unable to read the network configuration: the file %1%2 did not arrive from "
                                      "the server %3.")
                           .arg(NetworkFolder, NetworkFile, login.Address));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EKXError(QStringLiteral("Unable to read %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    file.close();
    // The file goes back to a Linux server: keep its own line ends.
    const QByteArray eol = bytes.contains("\r\n") ? QByteArray("\r\n") : QByteArray("\n");
    QStringList lines = QString::fromUtf8(bytes).split(QString::fromLatin1(eol));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    RemoteTransfer::EditInterfacesLines(lines, newAddress, netmask, gateway);
    Store::WriteFileAtomically(path, (lines.join(QString::fromLatin1(eol)) + QString::fromLatin1(eol)).toUtf8());

    ShowStatus(QStringLiteral("Uploading modified network file back to server..."));
    append(result, UploadFile(login, local, NetworkFile, NetworkFolder));
    StepProgress();
    return result;
}

TTransferResult TDBInterface::DownloadConfiguration(const TServerLogin& login, const QString& remoteFolder,
                                                    const QString& localFolder)
{
    // The stored settings are read into a copy: this object's working
    // directory and address may differ from the stored ones (kestrix-cli
    // --workdir, --server) and must stay as they are.
    TKXControlBlock stored;
    stored.LoadFromFile();
    ControlBlock->MaxProgBarInitialTransfer = stored.MaxProgBarInitialTransfer;
    if (ProgressForm) ProgressForm->SetProgressMax(stored.MaxProgBarInitialTransfer);
    ShowStatus(QStringLiteral("Downloading configuration files from server..."));
    TTransferResult result = RemoteTransfer::DownloadTree({WorkingDir(), ProgressForm}, login, remoteFolder,
                                                          localFolder, pendingChanges(*FilesNeedingCommiting));
    if (!login.IsLocal() && result.Ok) {
        // The next download's progress bar is scaled by this one's output.
        stored.LoadFromFile();
        stored.MaxProgBarInitialTransfer = int(result.Output.size());
        stored.SaveToFile();
        ControlBlock->MaxProgBarInitialTransfer = stored.MaxProgBarInitialTransfer;
    }
    return result;
}

TTransferResult TDBInterface::CommitFiles(const TServerLogin& login)
{
    return RemoteTransfer::Commit({WorkingDir(), ProgressForm}, login, *FilesNeedingCommiting);
}

TTransferResult TDBInterface::SetupWizardDownload(const TServerLogin& login, TKXControlBlock& settings,
                                                  TProgressSink* progress)
{
    auto show = [progress](const QString& text) {
        if (!progress) return;
        progress->ShowStatus(text);
        progress->ProcessEvents();
    };
    if (progress) progress->SetProgressMax(387);
    show(QStringLiteral("Checking remote installation..."));
    settings.LastIPAddress = login.Address;
    settings.SaveToFile();
    show(QStringLiteral("Copying files from server (Stage 5/5)..."));
    const QString local = Store::WithTrailingDelimiter(settings.WorkingDir);
    TTransferResult result = RemoteTransfer::DownloadTree({local, progress}, login, QLatin1String(Store::ServerConfDir),
                                                          local, pendingChanges(*FilesNeedingCommiting));
    if (!login.IsLocal() && result.Ok && !QFile::exists(local + QStringLiteral("freeswitch.xml")))
        result.Fail(QStringLiteral("The server %1 has no freeswitch.xml in %2: it does not look like a FreeSWITCH "
                                   "server.")
                        .arg(login.Address, QLatin1String(Store::ServerConfDir)));
    return result;
}
