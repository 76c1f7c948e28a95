// The main window's startup sequence and its close query.
#include "ui/main.h"

#include "core/DBInterface.h"
#include "core/KXCB.h"
#include "core/KXGlobalsCB.h"
#include "core/KesFSGlobalsCB.h"
#include "core/KxError.h"
#include "core/Store.h"
#include "records/CallGroup.h"
#include "records/Gateway.h"
#include "records/InboundRoute.h"
#include "records/OutboundRoute.h"
#include "records/User.h"
#include "sync/RemoteTransfer.h"
#include "ui/connect.h"
#include "ui/kfsProgress.h"
#include "ui/kxMessages.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QStackedWidget>

namespace {

QString canonical(const QString& path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : c;
}

// Whether `inner` is `outer` or lies inside it.
bool isInside(const QString& inner, const QString& outer)
{
    const QString i = canonical(inner), o = canonical(outer);
    return i == o || i.startsWith(o.endsWith(u'/') ? o : o + u'/');
}

} // namespace

void TfrmMain::FormActivate()
{
    if (!FirstActivation) return;
    FirstActivation = false;
    ResetSelection();
    RootPassword.clear();
    StartupProblems.clear();

    CurrentCallGroup = std::make_unique<TKXCallGroup>();
    CurrentInboundRoute = std::make_unique<TInboundRoute>();
    CurrentOutboundRoute = std::make_unique<TOutboundRoute>();
    CurrentUser = std::make_unique<TUser>();
    CurrentTrunk = std::make_unique<TGateway>();

    ControlBlock = std::make_unique<TKXControlBlock>();
    if (!Guarded([&] {
            ControlBlock->LoadFromFile();
            if (!m_startOptions.WorkingDir.isEmpty()) {
                ControlBlock->WorkingDir = m_startOptions.WorkingDir;
                ControlBlock->SaveToFile();
            }
        })) {
        close();
        return;
    }
    RestoreLayout();
    FSGlobals = std::make_unique<TKesFSGlobalsCB>();

    ServerDomain = ControlBlock->LastDomain;
    ServerAddress = ControlBlock->LastIPAddress;

    DBInterface = std::make_unique<TDBInterface>(ServerDomain, ProgressWindow);
    try {
        DBInterface->LoadGlobals();
    } catch (const EKXError&) {
        // Read again after the download below, where a failure is reported.
    }
    SetWelcomeTexts();

    const QString previousAddress = ControlBlock->LastIPAddress;
    const bool connected = ConnectToServer();

    const bool local = TfrmConnect::IsLocalAddress(ServerAddress);
    if (!Guarded([&] {
            HandleServerChange(previousAddress);
            ControlBlock->LastIPAddress = ServerAddress;
            ControlBlock->LastDomain = ServerDomain;
            ControlBlock->SaveToFile();
            DBInterface->Domain = ServerDomain;
            ControlBlock->LoadFromFile();
            // The database interface keeps a settings copy of its own: it must
            // see the address in use (no pending changes for "local").
            DBInterface->ControlBlock->LoadFromFile();
        })) {
        close();
        return;
    }

    if (!connected || ControlBlock->LastIPAddress.isEmpty() || ControlBlock->LastDomain.isEmpty()
        || (RootPassword.isEmpty() && !local)) {
        close();
        return;
    }

    if (!local) {
        // A folder made here for the server's copy may be emptied when the
        // server changes; a folder that existed before never is.
        const QString wd = ControlBlock->WorkingDir;
        if (!QDir(wd).exists()) {
            Guarded([&] {
                Store::EnsureDir(wd);
                MarkWorkingDir(wd);
            });
        }
        DownloadConfiguration();
    }

    // The global settings are read again from what is now in the working
    // directory (the copy read above may belong to an older download or to
    // another server).
    try {
        DBInterface->LoadGlobals();
    } catch (const EKXError& e) {
        StartupProblems << e.Message;
    }

    LoadRecords();

    BuildTree();
    nbMain->setCurrentIndex(pgiWelcome);

    setWindowTitle(QStringLiteral("Kestrix 0.99.3 ALPHA - ") + ControlBlock->LastDomain + u'@'
                   + ControlBlock->LastIPAddress);

    ReportStartupProblems();
    CheckDefaultPassword();

    Guarded([&] { DBInterface->LoadFilesNeedingCommiting(); });
    SetStatus(0, tr("Idle..."));
    alMainUpdate();
}

bool TfrmMain::ConnectToServer()
{
    if (m_startOptions.Preset) {
        ServerAddress = m_startOptions.Address.trimmed();
        ServerDomain = m_startOptions.Domain.trimmed();
        RootPassword = m_startOptions.Password.trimmed();
    } else {
        QString address = ServerAddress, domain = ServerDomain, password;
        TfrmConnect dialog(this);
        if (dialog.ShowModal(address, domain, password) != QDialog::Accepted) return false;
        ServerAddress = address;
        ServerDomain = domain;
        RootPassword = password;
    }
    Guarded([&] {
        ControlBlock->LastIPAddress = ServerAddress;
        ControlBlock->LastDomain = ServerDomain;
        ControlBlock->SaveToFile();
    });
    return true;
}

TfrmMain::TWorkDirOutcome TfrmMain::PrepareWorkingDirForServer(const QString& workingDir,
                                                                 const QString& previousAddress,
                                                                 const QString& newAddress, QStringList& failures)
{
    if (newAddress == previousAddress) return wdUnchanged;
    // The live configuration of this machine is never emptied.
    if (TfrmConnect::IsLocalAddress(newAddress) || TfrmConnect::IsLocalAddress(previousAddress))
        return wdUnchanged;
    const QString wd = Store::WithTrailingDelimiter(workingDir);
    if (!QDir(wd).exists()) return wdUnchanged;

    const QString appDir = Store::AppConfigDir();
    if (canonical(wd) == canonical(appDir)) {
        // The default working directory is the application's own folder: the
        // settings, the Id counters and the stored pending changes stay.
        const QStringList keep = {QFileInfo(TKXControlBlock::SettingsFilePath()).fileName(),
                                  QFileInfo(TKXGlobalsCB::FilePath()).fileName(), QStringLiteral("fnc")};
        QDir dir(wd);
        for (const QFileInfo& fi :
             dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            if (keep.contains(fi.fileName(), Qt::CaseInsensitive)) continue;
            const bool ok = fi.isDir() && !fi.isSymLink() ? QDir(fi.absoluteFilePath()).removeRecursively()
                                                          : QFile::remove(fi.absoluteFilePath());
            if (!ok) failures << QDir::toNativeSeparators(fi.absoluteFilePath());
        }
        return wdEmptied;
    }
    // Only a folder this system made as a working directory is emptied; one
    // the administrator chose (or one holding the settings) is kept.
    if (isInside(appDir, wd) || !IsMarkedWorkingDir(wd)) return wdKeptNotOurs;
    if (!QDir(wd).removeRecursively()) failures << QDir::toNativeSeparators(wd);
    Store::EnsureDir(wd);
    MarkWorkingDir(wd);
    return wdEmptied;
}

void TfrmMain::HandleServerChange(const QString& previousAddress)
{
    QStringList failures;
    const TWorkDirOutcome outcome =
        PrepareWorkingDirForServer(ControlBlock->WorkingDir, previousAddress, ServerAddress, failures);
    for (const QString& f : failures) StartupProblems << tr("Could not delete %1 (left from the previous server)").arg(f);
    if (outcome == wdKeptNotOurs)
        KxUi::Inform(this,
                     tr("The server address changed from \"%1\" to \"%2\".\r\rThe working directory "
                        "\"%3\" was not created by Kestrix, so it has not been emptied. Files from the new "
                        "server are downloaded into it; records left there from the previous server may "
                        "still be shown.")
                         .arg(previousAddress, ServerAddress,
                              QDir::toNativeSeparators(ControlBlock->WorkingDir)),
                     tr("Working directory kept"));
}

void TfrmMain::DownloadConfiguration()
{
    TServerLogin login;
    login.Address = ServerAddress;
    login.Password = RootPassword;
    TTransferResult result;
    try {
        for (;;) {
            RunServerOperation([&] {
                ProgressWindow->ClearLog();
                result = DBInterface->DownloadConfiguration(login, QString::fromLatin1(Store::ServerConfDir),
                                                            ControlBlock->WorkingDir);
            });
            // A server key other than the one stored: only the administrator
            // can tell whether the server was replaced or someone is in between.
            if (result.HostKeyChanged && login.AcceptedHostKey.isEmpty()
                && KxUi::Confirm(this, tr("Server key changed"),
                                 result.HostKeyLines.join(u'\r')
                                     + tr("\r\rAccept the new key of %1 and download?").arg(ServerAddress))) {
                login.AcceptedHostKey = result.HostKeyFingerprint;
                continue;
            }
            break;
        }
    } catch (const EKXError& e) {
        result = TTransferResult();
        result.Fail(e.Message);
    }
    ProgressWindow->hide();
    if (!result.Ok)
        StartupProblems << tr("The configuration could not be downloaded from %1; the working directory "
                              "holds the copy of an earlier download, if any.\r%2")
                               .arg(ServerAddress, result.Text());
}

QString TfrmMain::ProblemsTitle() { return tr("Not everything could be loaded"); }

void TfrmMain::ReportStartupProblems()
{
    if (StartupProblems.isEmpty()) return;
    KxUi::Warn(this, ProblemsTitle(),
               tr("Kestrix shows what it could read from the working directory %1.\r"
                  "Not loaded:\r\r")
                       .arg(QDir::toNativeSeparators(ControlBlock->WorkingDir))
                   + StartupProblems.join(QStringLiteral("\r\r")));
}

bool TfrmMain::FormCloseQuery()
{
    if (ServerRunActive()) {
        SetStatus(0, tr("Please wait until the transfer has finished."));
        return false;
    }
    Guarded([&] { StoreLayout(); });
    if (DBInterface && DBInterface->FilesNeedingCommiting->Count() > 0) {
        if (!KxUi::Confirm(this, tr("Files need commiting"),
                           tr("Files need to be commited. Do you want to exit WITHOUT commiting files?")))
            return false;
        // The list is offered again at the next start; if it cannot be
        // stored the window stays open so nothing is lost.
        if (!Guarded([&] { DBInterface->SaveFilesNeedingCommiting(); })) return false;
    }
    return true;
}
