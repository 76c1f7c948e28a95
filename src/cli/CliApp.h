#pragma once
// The command framework of kestrix-cli: commands are a group word and a verb
// ("users add") or one word ("commit"); global options may stand before or
// after the command words; every command has its own --help.
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class TCliContext;
class TCliSession;
class TDBInterface;

struct TCliCommand {
    QString Group;     // "users"; the command word of a one-word command
    QString Verb;      // "add"; empty for a one-word command
    QString Arguments; // synopsis of the positional arguments, e.g. "EXTENSION [FIELD=VALUE ...]"
    QString Summary;   // one line for the command lists
    QString Details;   // the rest of the help text
    std::vector<QCommandLineOption> Options;
    std::function<void(TCliContext&)> Run;
    int MinArgs = 0;
    int MaxArgs = 0;   // -1: any number

    QString Words() const { return Verb.isEmpty() ? Group : Group + u' ' + Verb; }
};

// The options every command accepts.
struct TCliGlobalOptions {
    QString WorkingDir;   // empty: the stored setting
    QString Domain;       // empty: the stored LastDomain
    QString Server;       // empty: the stored LastIPAddress
    QString PasswordFile;
    bool PasswordStdin = false;
    bool Json = false;
    bool Verbose = false;
};

// What a running command sees: its arguments, the global options and the
// session (opened on first use).
class TCliContext {
public:
    TCliContext(const TCliCommand& command, const QCommandLineParser& parser, TCliGlobalOptions options);
    ~TCliContext();

    const TCliCommand& Command;
    const QCommandLineParser& Args;
    const TCliGlobalOptions Options;

    QStringList Positional() const;
    bool Json() const { return Options.Json; }

    // The database interface with every record kind loaded, for the domain.
    TDBInterface& Db();
    // The same without the records and without needing a domain.
    TDBInterface& DbWithoutRecords();
    TCliSession& Session();
    // The root password of the server, asked for on first use.
    QString RootPassword();
    // Stores what a command changed (pending changes); run on success and
    // on failure alike, so nothing done before a failure is lost.
    void Finish();

private:
    std::unique_ptr<TCliSession> m_session;
    bool m_passwordKnown = false;
    QString m_password;
};

class TCliApp {
public:
    TCliApp();
    void Add(TCliCommand command);
    // Runs the command line; returns the exit status.
    int Run(const QStringList& arguments);

    QString GeneralHelp() const;
    QString CommandHelp(const TCliCommand& command) const;
    QString GroupHelp(const QString& group) const;

private:
    const TCliCommand* find(const QString& group, const QString& verb) const;
    bool isGroup(const QString& word) const;
    int dispatch(const QStringList& arguments);

    std::vector<TCliCommand> m_commands;
    std::vector<QCommandLineOption> m_global;
};

namespace Cli {
// Registration of every command family (one function per source file).
void RegisterPendingCommands(TCliApp& app);
void RegisterUserCommands(TCliApp& app);
void RegisterDialplanCommands(TCliApp& app);
void RegisterCallGroupCommands(TCliApp& app);
void RegisterTrunkCommands(TCliApp& app);
void RegisterInboundRouteCommands(TCliApp& app);
void RegisterOutboundRouteCommands(TCliApp& app);
void RegisterGlobalsCommands(TCliApp& app);
void RegisterServerCommands(TCliApp& app);
} // namespace Cli
