#include "sync/RemoteTransfer.h"
#include "core/IniFile.h"
#include "core/KxError.h"
#include "core/ProgressSink.h"
#include "core/Store.h"
#include "sync/AutoResponseProcess.h"
#include "sync/filesneedingcommitinglist.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <system_error>

using namespace SecureShell;

namespace {

const QString PsftpEcho = QStringLiteral("psftp> ");

void status(const TTransferContext& ctx, const QString& text)
{
    if (!ctx.Sink) return;
    ctx.Sink->ShowStatus(text);
    ctx.Sink->ProcessEvents();
}

void step(const TTransferContext& ctx)
{
    if (!ctx.Sink) return;
    ctx.Sink->StepProgress();
    ctx.Sink->ProcessEvents();
}

// ---- one tool run ---------------------------------------------------------

struct TToolRun {
    QStringList Output;
    TAutoResponseResult Process;
    bool Reached = false; // logged in and got to run the script or command
};

// The lines around the fingerprint that a tool prints with a host key question.
void readHostKey(const QStringList& out, QString& fingerprint, QStringList& lines)
{
    fingerprint.clear();
    lines.clear();
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (!out[i].contains(QLatin1String("key fingerprint is:"))) continue;
        lines << out[i].trimmed();
        if (i + 1 < out.size()) {
            const QString key = out[i + 1].trimmed();
            lines << key;
            const QStringList words = key.split(u' ', Qt::SkipEmptyParts);
            if (!words.isEmpty()) fingerprint = words.last();
        }
    }
}

QString lastLines(const QStringList& out, int n)
{
    QStringList shown;
    for (qsizetype i = out.size() - 1; i >= 0 && shown.size() < n; --i) {
        if (!out[i].trimmed().isEmpty()) shown.prepend(out[i].trimmed());
    }
    return shown.join(u'\n');
}

// Runs psftp or plink. Connection-level failures (tool missing or too old,
// server unreachable, password refused, changed host key, cancel) go into
// `result`; Reached tells whether the tool got to do its work.
TToolRun runTool(const TTransferContext& ctx, const TServerLogin& login, const QString& toolName,
                 const std::function<QStringList(const QString&)>& arguments, TTransferResult& result)
{
    const QString exe = FindTool(toolName);
    TToolRun run;
    QString seenFingerprint;
    {
        const TPasswordFile password(login.Password);
        const QStringList prompts{QLatin1String(PromptStoreKey), QLatin1String(PromptUpdateKey),
                                  QLatin1String(PromptPassword), QLatin1String(PromptPasswordKbd)};
        const QStringList responses{QStringLiteral("y"), QStringLiteral("y"), QString(), QString()};
        TAutoResponseOptions opt;
        if (QFileInfo(ctx.WorkingDir).isDir()) opt.WorkingDirectory = ctx.WorkingDir;
        opt.Sink = ctx.Sink;
        TProgressSink* sink = ctx.Sink;
        opt.CancelRequested = [sink] { return sink && sink->CancelRequested(); };
        opt.ConfirmAnswer = [&](int i, const QString& seen) {
            if (i == 0) return TAutoResponseOptions::Answer; // a key seen for the first time is stored, as always
            if (i == 1) {
                // A changed key is taken only when the administrator accepted exactly this one.
                QStringList lines;
                readHostKey(run.Output, seenFingerprint, lines);
                return !login.AcceptedHostKey.isEmpty() && seenFingerprint == login.AcceptedHostKey
                           ? TAutoResponseOptions::Answer
                           : TAutoResponseOptions::Refuse;
            }
            // The password comes from the file only: a tool that waits for one
            // more has had it refused. The same words in a finished line (a file
            // name, a command's output) are no question.
            if (seen.mid(seen.lastIndexOf(prompts[i])).contains(u'\n')) return TAutoResponseOptions::Skip;
            return TAutoResponseOptions::Refuse;
        };
        run.Process = RunAutoResponseProcess(exe, arguments(password.Path()), &run.Output, prompts, responses,
                                             [sink] {
                                                 if (sink) sink->ProcessEvents();
                                             },
                                             opt);
    } // the password file is gone from here on
    result.Output += run.Output;

    const QString host = login.Address;
    if (run.Process.Cancelled) {
        result.Cancelled = true;
        result.Fail(QStringLiteral("The transfer was cancelled. Nothing more was sent to %1.").arg(host));
        return run;
    }
    if (run.Process.RefusedPrompt == 1) {
        result.HostKeyChanged = true;
        readHostKey(run.Output, result.HostKeyFingerprint, result.HostKeyLines);
        result.Fail(QStringLiteral("The server %1 identified itself with a host key that differs from the one "
                                   "stored for it. This happens when the server was reinstalled, but it can also "
                                   "mean that another computer answers at this address. Nothing was sent, the "
                                   "password neither.\n%2\nAccept the new key only when you know why it changed.")
                        .arg(host, result.HostKeyLines.join(u'\n')));
        return run;
    }
    if (run.Process.RefusedPrompt >= 2) {
        result.Fail(QStringLiteral("The server %1 did not accept the root password.").arg(host));
        return run;
    }
    for (const QString& line : run.Output) {
        const QString l = line.trimmed();
        // Lines about files name files, whatever their names say.
        if (l.startsWith(PsftpEcho) || l.startsWith(QLatin1String("remote:")) || l.startsWith(QLatin1String("local:")))
            continue;
        if (l.contains(QLatin1String("unknown option"))) {
            result.Fail(QStringLiteral("%1 does not understand how Kestrix calls it (%2). Kestrix needs PuTTY "
                                       "0.77 or later.").arg(toolName, l));
            return run;
        }
        if (l.startsWith(QLatin1String("FATAL ERROR:")) || l.startsWith(QLatin1String("Fatal:"))) {
            const QString why = l.section(u':', 1).trimmed();
            if (why.contains(QLatin1String("password was not accepted")) || why.contains(QLatin1String("Access denied")))
                result.Fail(QStringLiteral("The server %1 did not accept the root password.").arg(host));
            else
                result.Fail(QStringLiteral("Unable to connect to the server %1: %2.").arg(host, why));
            return run;
        }
        if (l == QLatin1String("Connection abandoned.")) {
            result.Fail(QStringLiteral("The connection to %1 was abandoned at the host key question.").arg(host));
            return run;
        }
    }
    if (run.Process.Crashed) {
        result.Fail(QStringLiteral("%1 ended abnormally while working with %2.").arg(toolName, host));
        return run;
    }
    if (toolName == QLatin1String(PsftpName)
        && std::none_of(run.Output.cbegin(), run.Output.cend(), [](const QString& l) {
               return l.startsWith(QLatin1String("Remote working directory is "));
           })) {
        result.Fail(QStringLiteral("Unable to connect to the server %1 (psftp ended with exit status %2).%3")
                        .arg(host)
                        .arg(run.Process.ExitCode)
                        .arg(run.Output.isEmpty() ? QString() : QStringLiteral(" It printed:\n") + lastLines(run.Output, 4)));
        return run;
    }
    run.Reached = true;
    return run;
}

// ---- what psftp printed for each script line --------------------------------

struct TLineOutcome {
    bool Ran = false;   // psftp got to this line
    QStringList Lines;  // what it printed for it
};

// With "-bc" psftp echoes each line ("psftp> " + the line) before its output.
std::vector<TLineOutcome> outcomesPerLine(const QStringList& output, const QStringList& script)
{
    std::vector<TLineOutcome> outcomes(size_t(script.size()));
    qsizetype next = 0;
    TLineOutcome* current = nullptr;
    for (const QString& line : output) {
        if (line.startsWith(PsftpEcho)) {
            current = nullptr;
            if (next < script.size() && line.mid(PsftpEcho.size()).trimmed() == script[next].trimmed()) {
                current = &outcomes[size_t(next++)];
                current->Ran = true;
            } else {
                next = script.size(); // out of step: trust no later line
            }
        } else if (current && !line.trimmed().isEmpty()) {
            current->Lines << line.trimmed();
        }
    }
    return outcomes;
}

// Lines that are not of the expected form are psftp's error messages.
QStringList errorsAmong(const QStringList& lines, const QRegularExpression& good)
{
    QStringList errors;
    for (const QString& l : lines)
        if (!good.match(l).hasMatch()) errors << l;
    return errors;
}

const QRegularExpression& putDone()
{
    static const QRegularExpression re(QStringLiteral("^local:.* => remote:"));
    return re;
}
const QRegularExpression& getDone()
{
    static const QRegularExpression re(QStringLiteral("^remote:.* => local:"));
    return re;
}

// "" when the line did its work, else why not.
QString transferProblem(const TLineOutcome& o, const QRegularExpression& done)
{
    if (!o.Ran) return QStringLiteral("psftp did not get to it");
    const QStringList errors = errorsAmong(o.Lines, done);
    if (!errors.isEmpty()) return errors.join(QStringLiteral("; "));
    for (const QString& l : o.Lines)
        if (done.match(l).hasMatch()) return QString();
    return QStringLiteral("psftp did not report the transfer");
}

QString deleteProblem(const TLineOutcome& o)
{
    if (!o.Ran) return QStringLiteral("psftp did not get to it");
    for (const QString& l : o.Lines) {
        if (l.startsWith(QLatin1String("rm ")) && l.endsWith(QLatin1String(": OK"))) return QString();
        // Already gone (never uploaded, or deleted by hand): the goal is reached.
        if (l.contains(QLatin1String("no such file or directory"), Qt::CaseInsensitive)) return QString();
    }
    return o.Lines.isEmpty() ? QStringLiteral("psftp did not report the deletion") : o.Lines.join(QStringLiteral("; "));
}

QString withSlash(const QString& folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

TToolRun runScript(const TTransferContext& ctx, const TServerLogin& login, const QStringList& script,
                   bool continueOnErrors, TTransferResult& result)
{
    const QString path = BatchScriptPath(ctx.WorkingDir);
    Store::EnsureDir(Store::WithTrailingDelimiter(ctx.WorkingDir));
    WriteBatchScript(path, script);
    return runTool(ctx, login, QLatin1String(PsftpName),
                   [&](const QString& pw) { return PsftpArguments(login, pw, path, continueOnErrors); }, result);
}

QString shellQuote(const QString& text)
{
    QString q = text;
    q.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + q + u'\'';
}

QString absoluteClean(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

// What went wrong with a cd or lcd line of a script, or an empty text when
// psftp confirmed the change of folder.
QString folderChangeProblem(const TLineOutcome& o, QLatin1String confirmation, const QString& fallback)
{
    if (o.Ran && o.Lines.join(u' ').startsWith(confirmation)) return {};
    return o.Lines.isEmpty() ? fallback : o.Lines.join(QStringLiteral("; "));
}
QString remoteFolderProblem(const TLineOutcome& o)
{
    return folderChangeProblem(o, QLatin1String("Remote directory is now"),
                               QStringLiteral("psftp did not change to the folder"));
}
QString localFolderProblem(const TLineOutcome& o)
{
    return folderChangeProblem(o, QLatin1String("New local directory is"),
                               QStringLiteral("psftp did not change to the local folder"));
}

} // namespace

namespace RemoteTransfer {

// ---- single operations ----------------------------------------------------

TTransferResult DownloadFile(const TTransferContext& ctx, const TServerLogin& login, const QString& remoteFolder,
                             const QString& fileName, const QString& localFolder)
{
    TTransferResult result;
    const QStringList script{ScriptLine(QStringLiteral("cd"), {remoteFolder}),
                             ScriptLine(QStringLiteral("lcd"), {localFolder}),
                             ScriptLine(QStringLiteral("get"), {fileName})};
    status(ctx, QStringLiteral("Downloading \"%1\" from server...").arg(fileName));
    if (login.IsLocal()) {
        result.Fail(QStringLiteral("The server address is \"local\": there is no server to download %1 from.").arg(fileName));
        return result;
    }
    const TToolRun run = runScript(ctx, login, script, false, result);
    step(ctx);
    if (!run.Reached) return result;
    const std::vector<TLineOutcome> o = outcomesPerLine(run.Output, script);
    QString problem = remoteFolderProblem(o[0]);
    if (problem.isEmpty()) problem = localFolderProblem(o[1]);
    if (problem.isEmpty()) problem = transferProblem(o[2], getDone());
    if (problem.isEmpty()) {
        result.Transferred = 1;
    } else {
        result.Failures.push_back({fileName, remoteFolder, problem});
        result.Fail(QStringLiteral("Unable to download %1%2 from %3: %4").arg(remoteFolder, fileName, login.Address, problem));
    }
    return result;
}

TTransferResult UploadFile(const TTransferContext& ctx, const TServerLogin& login, const QString& localFolder,
                           const QString& fileName, const QString& remoteFolder)
{
    TTransferResult result;
    const QStringList script{ScriptLine(QStringLiteral("lcd"), {localFolder}),
                             ScriptLine(QStringLiteral("cd"), {remoteFolder}),
                             ScriptLine(QStringLiteral("put"), {fileName})};
    status(ctx, QStringLiteral("Uploading \"%1\" to server...").arg(fileName));
    if (login.IsLocal()) {
        result.Fail(QStringLiteral("The server address is \"local\": there is no server to upload %1 to.").arg(fileName));
        return result;
    }
    const TToolRun run = runScript(ctx, login, script, false, result);
    step(ctx);
    if (!run.Reached) return result;
    const std::vector<TLineOutcome> o = outcomesPerLine(run.Output, script);
    QString problem = localFolderProblem(o[0]);
    if (problem.isEmpty()) problem = remoteFolderProblem(o[1]);
    if (problem.isEmpty()) problem = transferProblem(o[2], putDone());
    if (problem.isEmpty()) {
        result.Transferred = 1;
    } else {
        result.Failures.push_back({fileName, remoteFolder, problem});
        result.Fail(QStringLiteral("Unable to upload %1 to %2 on %3: %4").arg(fileName, remoteFolder, login.Address, problem));
    }
    return result;
}

TTransferResult RunServerCommand(const TTransferContext& ctx, const TServerLogin& login, const QString& command)
{
    TTransferResult result;
    status(ctx, QStringLiteral("Issuing command to server..."));
    if (login.IsLocal()) {
        result.Fail(QStringLiteral("The server address is \"local\": there is no server to run \"%1\" on.").arg(command));
        return result;
    }
    const TToolRun run = runTool(ctx, login, QLatin1String(PlinkName),
                                 [&](const QString& pw) { return PlinkArguments(login, pw, command); }, result);
    step(ctx);
    if (run.Reached && run.Process.ExitCode != 0) {
        result.Fail(QStringLiteral("The command \"%1\" failed on the server %2 (exit status %3).%4")
                        .arg(command, login.Address)
                        .arg(run.Process.ExitCode)
                        .arg(run.Output.isEmpty() ? QString() : QStringLiteral(" It printed:\n") + lastLines(run.Output, 6)));
    }
    return result;
}

TTransferResult ReloadEngine(const TTransferContext& ctx, const TServerLogin& login)
{
    TTransferResult result = RunServerCommand(ctx, login, QStringLiteral("fs_cli -x reloadxml"));
    if (!result.Ok) return result;
    // On a first connection plink's host key question ends without a line
    // break, so the engine's answer follows it on the same line.
    static const QRegularExpression keyQuestion(QStringLiteral("^.*(?:Store key in cache\\?|Update cached key\\?)[^)]*\\)\\s*"));
    QStringList reply;
    for (const QString& l : result.Output) {
        const QString answer = QString(l).remove(keyQuestion).trimmed();
        if (!answer.isEmpty()) reply << answer;
    }
    if (!reply.contains(QStringLiteral("+OK [Success]"))) {
        result.Fail(QStringLiteral("FreeSWITCH did not reload its configuration; it keeps running the configuration "
                                   "it had before. Its answer:\n%1")
                        .arg(reply.isEmpty() ? QStringLiteral("(nothing)") : reply.join(u'\n')));
    }
    return result;
}

// ---- the commit -----------------------------------------------------------

TCommitScript BuildCommitScript(const TFilesNeedingCommitingList& list)
{
    TCommitScript s;
    for (int i = 0; i < list.Count(); ++i) {
        const TFileNeedingCommiting& e = *list.Items(i);
        if (e.ActionType == fnaaPut) {
            s.Lines << ScriptLine(QStringLiteral("lcd"), {e.SrcFolder})
                    << ScriptLine(QStringLiteral("mkdir"), {e.DestFolder})
                    << ScriptLine(QStringLiteral("cd"), {e.DestFolder});
            s.EntryLine.push_back(int(s.Lines.size()));
            s.Lines << ScriptLine(QStringLiteral("put"), {Store::WithTrailingDelimiter(e.SrcFolder) + e.SrcFile,
                                                          withSlash(e.DestFolder) + e.SrcFile});
        } else if (e.ActionType == fnaaDelete) {
            s.Lines << ScriptLine(QStringLiteral("cd"), {e.DestFolder});
            s.EntryLine.push_back(int(s.Lines.size()));
            s.Lines << ScriptLine(QStringLiteral("del"), {withSlash(e.DestFolder) + e.SrcFile});
        } else {
            throw EKXError(QStringLiteral("Unable to determine fnaaActionType"));
        }
    }
    return s;
}

namespace {
bool sameEntry(const TFileNeedingCommiting& a, const TFileNeedingCommiting& b)
{
    return a.SrcFile == b.SrcFile && a.DestFolder == b.DestFolder && a.SrcFolder == b.SrcFolder
           && a.ActionType == b.ActionType;
}

// Stops each changed or deleted trunk's gateway by name and lets the external
// profile start the gateways it now finds; a reload alone does neither.
void restartGateways(const TTransferContext& ctx, const TServerLogin& login, const QStringList& names,
                     TTransferResult& result)
{
    QStringList kills;
    for (const QString& n : names)
        kills << QStringLiteral("fs_cli -x ") + shellQuote(QStringLiteral("sofia profile external killgw ") + n);
    status(ctx, QStringLiteral("Restarting changed trunks on server..."));
    TTransferResult stop = RunServerCommand(ctx, login, kills.join(QStringLiteral("; ")));
    result.Output += stop.Output;
    if (!stop.Ok) {
        result.Fail(QStringLiteral("The changed trunks could not be stopped: ") + stop.Text());
        return;
    }
    TTransferResult scan =
        RunServerCommand(ctx, login, QStringLiteral("fs_cli -x 'sofia profile external rescan'"));
    result.Output += scan.Output;
    bool ok = scan.Ok;
    if (ok) {
        ok = false;
        for (const QString& l : scan.Output)
            if (l.trimmed().startsWith(QLatin1String("+OK"))) ok = true;
    }
    if (!ok)
        result.Fail(QStringLiteral("FreeSWITCH did not start the changed trunks (sofia profile external rescan). "
                                   "It answered:\n%1")
                        .arg(scan.Ok ? lastLines(scan.Output, 6) : scan.Text()));
}
} // namespace

TTransferResult Commit(const TTransferContext& ctx, const TServerLogin& login, TFilesNeedingCommitingList& list)
{
    const TCommitScript script = BuildCommitScript(list); // refuses unknown actions before anything runs
    TTransferResult result;
    if (list.Count() == 0) {
        result.Messages << QStringLiteral("There is nothing to commit.");
        return result;
    }
    if (login.IsLocal()) {
        result.Messages << QStringLiteral("The server address is \"local\": nothing was sent to a server and the "
                                          "list of changes stays as it is.");
        return result;
    }
    std::vector<TFileNeedingCommiting> sent;
    for (int i = 0; i < list.Count(); ++i) sent.push_back(*list.Items(i));

    status(ctx, QStringLiteral("Uploading file(s) to server..."));
    const TToolRun run = runScript(ctx, login, script.Lines, true, result);
    step(ctx);
    if (!run.Reached) {
        result.Messages << QStringLiteral("No file was changed on the server; all %1 changes stay in the list.")
                               .arg(list.Count());
        return result;
    }

    const std::vector<TLineOutcome> outcome = outcomesPerLine(run.Output, script.Lines);
    const QString gatewayFolder = Store::ServerFolder(QStringLiteral("sip_profiles/external"));
    QStringList gateways;
    QStringList failed;
    for (size_t i = 0; i < sent.size(); ++i) {
        const TFileNeedingCommiting& e = sent[i];
        const TLineOutcome& o = outcome[size_t(script.EntryLine[i])];
        const QString problem = e.ActionType == fnaaPut ? transferProblem(o, putDone()) : deleteProblem(o);
        if (!problem.isEmpty()) {
            result.Failures.push_back({e.SrcFile, e.DestFolder, problem});
            failed << (e.ActionType == fnaaPut ? QStringLiteral("upload of %1 to %2: %3")
                                               : QStringLiteral("deletion of %1 in %2: %3"))
                          .arg(e.SrcFile, e.DestFolder, problem);
            continue;
        }
        ++result.Transferred;
        for (int k = 0; k < list.Count(); ++k) {
            if (sameEntry(*list.Items(k), e)) {
                list.Delete(k);
                break;
            }
        }
        if (withSlash(e.DestFolder) == gatewayFolder
            && (e.SrcFile.endsWith(QLatin1String(".xml")) || e.SrcFile.endsWith(QLatin1String(".trk")))) {
            const QString name = QFileInfo(e.SrcFile).completeBaseName();
            if (!gateways.contains(name)) gateways << name;
        }
    }
    if (!failed.isEmpty()) {
        result.Fail(QStringLiteral("%1 of %2 changes could not be made on the server %3 and stay in the list of "
                                   "changes, to be sent again at the next commit:\n%4")
                        .arg(failed.size())
                        .arg(sent.size())
                        .arg(login.Address, failed.join(u'\n')));
    }
    if (result.Transferred == 0) {
        result.Messages << QStringLiteral("Nothing was transferred, so FreeSWITCH was not asked to reload.");
        return result;
    }

    status(ctx, QStringLiteral("Reloading files on server..."));
    const TTransferResult reload = ReloadEngine(ctx, login);
    result.Output += reload.Output;
    if (!reload.Ok) {
        result.Ok = false;
        result.Messages += reload.Messages;
        result.Cancelled = result.Cancelled || reload.Cancelled;
        return result;
    }
    if (!gateways.isEmpty()) restartGateways(ctx, login, gateways, result);
    if (result.Ok)
        result.Messages << QStringLiteral("%1 changes were made on the server %2 and FreeSWITCH reloaded its "
                                          "configuration.")
                               .arg(result.Transferred)
                               .arg(login.Address);
    return result;
}

// ---- the configuration download --------------------------------------------

std::vector<TFileNeedingCommiting> PeekStoredPendingChanges(const QString& folder)
{
    std::vector<TFileNeedingCommiting> entries;
    const QString f = Store::WithTrailingDelimiter(folder);
    const QString g = QStringLiteral("General");
    for (const QString& name : QDir(f).entryList({QStringLiteral("*.fnc")}, QDir::Files)) {
        const TIniFile ini(f + name);
        TFileNeedingCommiting e;
        e.ActionType = ini.ReadInteger(g, QStringLiteral("ActionType"), 2);
        e.SrcFile = ini.ReadString(g, QStringLiteral("SrcFile"), QString());
        e.SrcFolder = ini.ReadString(g, QStringLiteral("SrcFolder"), QString());
        e.DestFolder = ini.ReadString(g, QStringLiteral("DestFolder"), QString());
        entries.push_back(e);
    }
    return entries;
}

TTransferResult DownloadTree(const TTransferContext& ctx, const TServerLogin& login, const QString& remoteFolder,
                             const QString& localFolder, const std::vector<TFileNeedingCommiting>& keepLocal)
{
    TTransferResult result;
    if (login.IsLocal()) {
        result.Messages << QStringLiteral("The server address is \"local\": nothing was downloaded.");
        return result;
    }
    const QString local = Store::WithTrailingDelimiter(localFolder);
    const QString remote = withSlash(remoteFolder);
    Store::EnsureDir(local);

    // Files whose pending change must survive: by the upload's own path and by
    // the server path mapped into the local folder.
    QSet<QString> keep;
    for (const TFileNeedingCommiting& e : keepLocal) {
        if (e.SrcFile.isEmpty()) continue;
        if (e.ActionType == fnaaPut && !e.SrcFolder.isEmpty())
            keep.insert(absoluteClean(Store::WithTrailingDelimiter(e.SrcFolder) + e.SrcFile));
        const QString dest = withSlash(e.DestFolder);
        if (dest.startsWith(remote)) keep.insert(absoluteClean(local + dest.mid(remote.size()) + e.SrcFile));
    }

    // Everything arrives in a folder of its own first: a failed or partial
    // download never leaves half-replaced files behind it. Such a folder left
    // by a run that was killed is removed first.
    const QString stagingPrefix = QStringLiteral(".kestrix-download-");
    for (const QString& old : QDir(local).entryList({stagingPrefix + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        QDir(local + old).removeRecursively();
    QTemporaryDir staging(local + stagingPrefix + QStringLiteral("XXXXXX"));
    if (!staging.isValid())
        throw EKXError(QStringLiteral("Unable to create a temporary folder in %1: %2").arg(local, staging.errorString()));
    const QStringList script{ScriptLine(QStringLiteral("get -r"), {remote, staging.path()})};
    // psftp takes "get -r" as one command with its option; quoting keeps the two paths apart.
    const TToolRun run = runScript(ctx, login, script, false, result);
    if (!run.Reached) return result;

    const std::vector<TLineOutcome> o = outcomesPerLine(run.Output, script);
    QStringList errors = o[0].Ran ? errorsAmong(o[0].Lines, getDone()) : QStringList{QStringLiteral("psftp did not get to the download")};

    int copied = 0;
    QStringList kept;
    const QDir stagingDir(staging.path());
    QDirIterator it(staging.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString rel = stagingDir.relativeFilePath(from);
        const QString to = local + rel;
        if (keep.contains(absoluteClean(to))) {
            kept << rel;
            continue;
        }
        try {
            Store::EnsureDir(QFileInfo(to).absolutePath());
        } catch (const EKXError& e) {
            errors << e.Message;
            continue;
        }
        std::error_code ec;
        std::filesystem::rename(std::filesystem::path(from.toStdU16String()), std::filesystem::path(to.toStdU16String()), ec);
        if (ec) {
            errors << QStringLiteral("Unable to replace %1: %2").arg(to, QString::fromLocal8Bit(ec.message().c_str()));
            continue;
        }
        ++copied;
    }
    result.Transferred = copied;
    if (!kept.isEmpty()) {
        kept.sort();
        result.Messages << QStringLiteral("These files have changes that are not yet committed and kept their local "
                                          "content:\n%1")
                               .arg(kept.join(u'\n'));
    }
    if (!errors.isEmpty())
        result.Fail(QStringLiteral("Some files could not be downloaded from %1%2:\n%3")
                        .arg(login.Address, remote, errors.join(u'\n')));
    return result;
}

// ---- the network file -------------------------------------------------------

namespace {
QString firstWord(const QString& line) { return line.trimmed().section(u' ', 0, 0, QString::SectionSkipEmpty); }

// A line that begins a new stanza of the interfaces file ends the one before.
bool beginsStanza(const QString& line)
{
    const QString w = firstWord(line);
    return w == QLatin1String("iface") || w == QLatin1String("auto") || w == QLatin1String("mapping")
           || w == QLatin1String("source") || w == QLatin1String("source-directory") || w.startsWith(QLatin1String("allow-"));
}

QStringList staticBlock(const QString& address, const QString& netmask, const QString& gateway)
{
    return {QStringLiteral("iface eth0 inet static"), QStringLiteral("     address ") + address,
            QStringLiteral("     netmask ") + netmask, QStringLiteral("     gateway ") + gateway};
}
} // namespace

void EditInterfacesLines(QStringList& lines, const QString& newAddress, const QString& netmask,
                         const QString& gateway)
{
    const QString dhcp = QStringLiteral("iface eth0 inet dhcp");
    bool found = false;
    int commentedAt = -1;
    const qsizetype n = lines.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (!lines[i].contains(dhcp)) continue;
        found = true;
        if (lines[i].trimmed().startsWith(u'#')) {
            if (commentedAt < 0) commentedAt = int(i); // already made static once
            continue;
        }
        lines[i] = u'#' + lines[i];
        const QStringList block = staticBlock(newAddress, netmask, gateway);
        for (qsizetype k = 0; k < block.size(); ++k) lines.insert(i + 1 + k, block[k]);
    }
    if (!found) throw EKXError(QStringLiteral("Unable to find the line \"iface eth0 inet dhcp\""));
    if (commentedAt < 0) return;

    // Already static: give the eth0 stanza the new values; only its own lines
    // change, so other interfaces keep theirs.
    bool stanzaFound = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed() != QLatin1String("iface eth0 inet static")) continue;
        stanzaFound = true;
        const QStringList keys{QStringLiteral("address"), QStringLiteral("netmask"), QStringLiteral("gateway")};
        const QStringList values{newAddress, netmask, gateway};
        QList<bool> seen{false, false, false};
        qsizetype last = i;
        qsizetype j = i + 1;
        for (; j < lines.size() && !beginsStanza(lines[j]); ++j) {
            const QString w = firstWord(lines[j]);
            if (w.startsWith(u'#') || w.isEmpty()) continue;
            last = j;
            const qsizetype k = keys.indexOf(w);
            if (k >= 0) {
                lines[j] = QStringLiteral("     ") + keys[k] + u' ' + values[k];
                seen[k] = true;
            }
        }
        for (qsizetype k = 0; k < keys.size(); ++k) {
            if (seen[k]) continue;
            lines.insert(++last, QStringLiteral("     ") + keys[k] + u' ' + values[k]);
        }
        i = last;
    }
    if (!stanzaFound) {
        const QStringList block = staticBlock(newAddress, netmask, gateway);
        for (qsizetype k = 0; k < block.size(); ++k) lines.insert(commentedAt + 1 + k, block[k]);
    }
}

} // namespace RemoteTransfer
