// download, commit, reload: the server operations of the window, with the
// root password from a prompt, a file or standard input.
#include "cli/CliRecords.h"
#include "cli/CliSession.h"
#include "core/DBInterface.h"
#include "core/Store.h"
#include "sync/RemoteTransfer.h"

#include <QDir>

namespace {

const QCommandLineOption AcceptHostKey(QStringLiteral("accept-host-key"),
                                       QStringLiteral("Accept this changed host key of the server (the SHA256:... "
                                                      "fingerprint shown when it changed)."),
                                       QStringLiteral("FINGERPRINT"));

TServerLogin login(TCliContext& ctx)
{
    TServerLogin l;
    l.Address = ctx.Session().Server();
    if (l.Address.isEmpty())
        throw ECliUsage(QStringLiteral("No server address is stored from an earlier connection: give one with --server."));
    if (!l.IsLocal()) l.Password = ctx.RootPassword();
    l.AcceptedHostKey = ctx.Args.value(AcceptHostKey);
    return l;
}

QJsonObject resultJson(const TTransferResult& r)
{
    QJsonArray failures;
    for (const TTransferFailure& f : r.Failures)
        failures.append(QJsonObject{{QStringLiteral("File"), f.File},
                                    {QStringLiteral("ServerFolder"), f.ServerFolder},
                                    {QStringLiteral("Reason"), f.Reason}});
    QJsonObject o{{QStringLiteral("Ok"), r.Ok},
                  {QStringLiteral("Transferred"), r.Transferred},
                  {QStringLiteral("Messages"), QJsonArray::fromStringList(r.Messages)},
                  {QStringLiteral("Failures"), failures}};
    if (r.HostKeyChanged) {
        o.insert(QStringLiteral("HostKeyChanged"), true);
        o.insert(QStringLiteral("HostKeyFingerprint"), r.HostKeyFingerprint);
        o.insert(QStringLiteral("HostKeyLines"), QJsonArray::fromStringList(r.HostKeyLines));
    }
    return o;
}

// Prints the outcome; a failure ends the command with a non-zero status.
void report(TCliContext& ctx, const TTransferResult& r, QJsonObject extra = {})
{
    if (ctx.Json()) {
        QJsonObject o = resultJson(r);
        for (auto it = extra.begin(); it != extra.end(); ++it) o.insert(it.key(), it.value());
        CliOut::PrintJson(o);
    }
    if (r.HostKeyChanged) {
        QStringList details = r.HostKeyLines;
        throw ECliFailure(QStringLiteral("The host key of the server %1 is not the one stored for it: nothing was sent. "
                                         "If the server was replaced, run the command again with --accept-host-key %2.")
                              .arg(ctx.Session().Server(), r.HostKeyFingerprint),
                          details);
    }
    if (r.Cancelled) throw ECliFailure(QStringLiteral("The operation was cancelled."));
    if (!r.Ok) {
        QStringList details;
        for (const QString& m : r.Messages) details += m.split(u'\n');
        throw ECliFailure(QStringLiteral("The operation on the server %1 failed (see above).").arg(ctx.Session().Server()),
                          details);
    }
    if (!ctx.Json())
        for (const QString& m : r.Messages) CliOut::Print(m);
}

void runCommit(TCliContext& ctx)
{
    TDBInterface& db = ctx.DbWithoutRecords();
    if (db.FilesNeedingCommiting->Count() == 0) {
        if (ctx.Json())
            CliOut::PrintJson(QJsonObject{{QStringLiteral("Ok"), true}, {QStringLiteral("Transferred"), 0},
                                          {QStringLiteral("Pending"), 0}});
        else CliOut::Print(QStringLiteral("Nothing is waiting to be committed."));
        return;
    }
    const TServerLogin l = login(ctx);
    TTransferResult r = db.CommitFiles(l);
    // What did not go through stays in the list, stored for the next commit.
    ctx.Finish();
    report(ctx, r, {{QStringLiteral("Pending"), db.FilesNeedingCommiting->Count()}});
}

void runReload(TCliContext& ctx)
{
    TDBInterface& db = ctx.DbWithoutRecords();
    const TServerLogin l = login(ctx);
    if (l.IsLocal()) throw ECliFailure(QStringLiteral("The server address is \"local\": there is no server to reload."));
    TCliProgress progress(ctx.Options.Verbose);
    report(ctx, RemoteTransfer::ReloadEngine({db.WorkingDir(), &progress}, l));
    if (!ctx.Json()) CliOut::Print(QStringLiteral("FreeSWITCH on %1 reloaded its configuration.").arg(l.Address));
}

void runDownload(TCliContext& ctx)
{
    TCliSession& session = ctx.Session();
    session.Open(false, false);
    TDBInterface& db = session.Db();
    const TServerLogin l = login(ctx);
    if (l.IsLocal())
        throw ECliFailure(QStringLiteral("The server address is \"local\": the working directory is the configuration "
                                         "itself, there is nothing to download."));
    const QString wd = db.WorkingDir();
    const TTransferResult r = db.DownloadConfiguration(l, QString::fromLatin1(Store::ServerConfDir), wd);
    if (!r.Ok || r.HostKeyChanged) report(ctx, r);
    // What the window would now show: records that cannot be read are named.
    if (Store::IsSafeFileBase(session.Domain())) {
        db.Domain = session.Domain();
        db.LoadGlobals();
        session.LoadRecords();
    }
    report(ctx, r, {{QStringLiteral("WorkingDir"), wd}});
    if (!ctx.Json())
        CliOut::Print(QStringLiteral("Downloaded the configuration of %1 into %2.").arg(l.Address, QDir::toNativeSeparators(wd)));
}

} // namespace

void Cli::RegisterServerCommands(TCliApp& app)
{
    using CliRecords::Command;
    const QString password = QStringLiteral(
        "The root password is asked for on the terminal, or read with --password-file FILE or\n--password-stdin; "
        "it never goes on the command line.");
    TCliCommand download = Command(
        QStringLiteral("download"), QString(), QString(), 0, 0,
        QStringLiteral("Download the server's /etc/freeswitch/ into the working directory."),
        QStringLiteral("As the window does at every start. Files with a pending change keep their local content.\n")
            + password,
        runDownload);
    download.Options = {AcceptHostKey};
    app.Add(download);
    TCliCommand commit = Command(
        QStringLiteral("commit"), QString(), QString(), 0, 0,
        QStringLiteral("Send the pending changes to the server and make FreeSWITCH reload."),
        QStringLiteral("As the window's Commit. Changes that did not go through stay pending (and are named), and\n"
                       "the status is then non-zero; FreeSWITCH reloads only when something was sent.\n")
            + password,
        runCommit);
    commit.Options = {AcceptHostKey};
    app.Add(commit);
    TCliCommand reload = Command(QStringLiteral("reload"), QString(), QString(), 0, 0,
                                 QStringLiteral("Make FreeSWITCH reload its configuration (fs_cli -x reloadxml)."),
                                 password, runReload);
    reload.Options = {AcceptHostKey};
    app.Add(reload);
}
