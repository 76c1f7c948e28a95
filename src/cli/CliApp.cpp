#include "cli/CliApp.h"
#include "cli/CliOutput.h"
#include "cli/CliPassword.h"
#include "cli/CliSession.h"
#include "core/DBInterface.h"
#include "core/KxError.h"
#include "core/Store.h"

#include <algorithm>

namespace {
const QString ProgramName = QStringLiteral("kestrix-cli");

QString optionSynopsis(const QCommandLineOption& o)
{
    QStringList names;
    for (const QString& n : o.names()) names << (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n;
    QString s = names.join(QStringLiteral(", "));
    if (!o.valueName().isEmpty()) s += u' ' + o.valueName();
    return s;
}

QString formatOptions(const std::vector<QCommandLineOption>& options)
{
    qsizetype width = 0;
    for (const auto& o : options) width = std::max(width, optionSynopsis(o).size());
    QString text;
    for (const auto& o : options)
        text += QStringLiteral("  ") + optionSynopsis(o).leftJustified(width) + QStringLiteral("  ") + o.description()
                + u'\n';
    return text;
}
} // namespace

// ---- Context --------------------------------------------------------------

TCliContext::TCliContext(const TCliCommand& command, const QCommandLineParser& parser, TCliGlobalOptions options)
    : Command(command), Args(parser), Options(std::move(options))
{
}

TCliContext::~TCliContext() = default;

QStringList TCliContext::Positional() const { return Args.positionalArguments(); }

TCliSession& TCliContext::Session()
{
    if (!m_session) m_session = std::make_unique<TCliSession>(Options);
    return *m_session;
}

TDBInterface& TCliContext::Db()
{
    TCliSession& s = Session();
    s.Open(true);
    s.LoadRecords();
    return s.Db();
}

TDBInterface& TCliContext::DbWithoutRecords()
{
    TCliSession& s = Session();
    s.Open(false);
    return s.Db();
}

QString TCliContext::RootPassword()
{
    if (m_passwordKnown) return m_password;
    if (!Options.PasswordFile.isEmpty()) m_password = CliPassword::FromFile(Options.PasswordFile);
    else if (Options.PasswordStdin) m_password = CliPassword::FromStdin();
    else if (CliPassword::CanPrompt()) {
        const QString server = m_session ? m_session->Server() : QString();
        m_password = CliPassword::Prompt(server.isEmpty() ? QStringLiteral("Root password: ")
                                                          : QStringLiteral("Root password for %1: ").arg(server));
    } else
        throw ECliUsage(QStringLiteral("The root password is needed: give --password-file FILE or --password-stdin, "
                                       "or run the command on a terminal to be asked for it."));
    m_passwordKnown = true;
    return m_password;
}

void TCliContext::Finish()
{
    if (m_session) m_session->StorePending();
}

// ---- Application ------------------------------------------------------------

TCliApp::TCliApp()
{
    m_global = {
        QCommandLineOption({QStringLiteral("w"), QStringLiteral("workdir")},
                           QStringLiteral("Working directory (default: the one the window uses)."), QStringLiteral("DIR")),
        QCommandLineOption({QStringLiteral("d"), QStringLiteral("domain")},
                           QStringLiteral("Domain (default: the domain of the last connection)."),
                           QStringLiteral("DOMAIN")),
        QCommandLineOption({QStringLiteral("s"), QStringLiteral("server")},
                           QStringLiteral("Server address, host or host:port, or \"local\" (default: the address of "
                                          "the last connection)."),
                           QStringLiteral("ADDRESS")),
        QCommandLineOption(QStringLiteral("password-file"),
                           QStringLiteral("Read the server's root password from the first line of FILE."),
                           QStringLiteral("FILE")),
        QCommandLineOption(QStringLiteral("password-stdin"),
                           QStringLiteral("Read the server's root password from the first line of standard input.")),
        QCommandLineOption(QStringLiteral("json"), QStringLiteral("Print JSON for scripts instead of text.")),
        QCommandLineOption({QStringLiteral("v"), QStringLiteral("verbose")},
                           QStringLiteral("Show progress and the transfer tools' output on standard error.")),
        QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show help and exit.")),
        QCommandLineOption(QStringLiteral("version"), QStringLiteral("Show the version and exit.")),
    };
}

void TCliApp::Add(TCliCommand command) { m_commands.push_back(std::move(command)); }

const TCliCommand* TCliApp::find(const QString& group, const QString& verb) const
{
    for (const TCliCommand& c : m_commands)
        if (c.Group == group && c.Verb == verb) return &c;
    return nullptr;
}

bool TCliApp::isGroup(const QString& word) const
{
    return std::any_of(m_commands.begin(), m_commands.end(), [&](const TCliCommand& c) { return c.Group == word; });
}

QString TCliApp::GeneralHelp() const
{
    QString text = QStringLiteral("Usage: %1 [options] COMMAND [arguments]\n\n"
                                  "Administers the Kestrix telephone system from a shell: the same records, "
                                  "settings and\npending changes as the Kestrix window.\n\nCommands:\n")
                       .arg(ProgramName);
    qsizetype width = 0;
    for (const TCliCommand& c : m_commands) width = std::max(width, c.Words().size());
    for (const TCliCommand& c : m_commands)
        text += QStringLiteral("  ") + c.Words().leftJustified(width) + QStringLiteral("  ") + c.Summary + u'\n';
    text += QStringLiteral("\nOptions (accepted by every command):\n") + formatOptions(m_global);
    text += QStringLiteral("\nRun \"%1 COMMAND --help\" for the arguments of a command.\n"
                           "Exit status: 0 done, 1 failed (the reason on standard error), 2 wrong command line.\n")
                .arg(ProgramName);
    return text;
}

QString TCliApp::GroupHelp(const QString& group) const
{
    QString text = QStringLiteral("Usage: %1 %2 VERB [arguments]\n\nVerbs:\n").arg(ProgramName, group);
    qsizetype width = 0;
    for (const TCliCommand& c : m_commands)
        if (c.Group == group) width = std::max(width, c.Verb.size());
    for (const TCliCommand& c : m_commands)
        if (c.Group == group) text += QStringLiteral("  ") + c.Verb.leftJustified(width) + QStringLiteral("  ") + c.Summary + u'\n';
    text += QStringLiteral("\nRun \"%1 %2 VERB --help\" for the arguments of a verb.\n").arg(ProgramName, group);
    return text;
}

QString TCliApp::CommandHelp(const TCliCommand& c) const
{
    QString text = QStringLiteral("Usage: %1 %2 [options]").arg(ProgramName, c.Words());
    if (!c.Arguments.isEmpty()) text += u' ' + c.Arguments;
    text += QStringLiteral("\n\n") + c.Summary + u'\n';
    if (!c.Details.isEmpty()) text += u'\n' + c.Details + (c.Details.endsWith(u'\n') ? QString() : QStringLiteral("\n"));
    if (!c.Options.empty()) text += QStringLiteral("\nOptions:\n") + formatOptions(c.Options);
    text += QStringLiteral("\nGlobal options:\n") + formatOptions(m_global);
    return text;
}

int TCliApp::Run(const QStringList& arguments)
{
    try {
        return dispatch(arguments);
    } catch (const ECliUsage& e) {
        CliOut::Warn(ProgramName + QStringLiteral(": ") + CliOut::OneLine(e.Message));
        return 2;
    } catch (const ECliFailure& e) {
        for (const QString& d : e.Details) CliOut::Warn(d);
        CliOut::Warn(ProgramName + QStringLiteral(": ") + CliOut::OneLine(e.Message));
        return 1;
    } catch (const EKXError& e) {
        CliOut::Warn(ProgramName + QStringLiteral(": ") + CliOut::OneLine(e.Message));
        return 1;
    } catch (const std::exception& e) {
        CliOut::Warn(ProgramName + QStringLiteral(": ") + CliOut::OneLine(QString::fromUtf8(e.what())));
        return 1;
    }
}

int TCliApp::dispatch(const QStringList& arguments)
{
    // First pass: global options before the command words.
    QCommandLineParser first;
    first.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    first.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    for (const auto& o : m_global) first.addOption(o);
    if (!first.parse(arguments)) throw ECliUsage(first.errorText() + QStringLiteral(" (see --help)"));
    if (first.isSet(QStringLiteral("version"))) {
        CliOut::Print(QString::fromLatin1(Store::ProgramVersion));
        return 0;
    }
    QStringList rest = first.positionalArguments();
    if (rest.isEmpty() || rest.first() == u"help") {
        if (rest.size() > 1 && !rest[1].startsWith(u'-')) return dispatch({arguments.first(), rest[1], QStringLiteral("--help")});
        if (rest.isEmpty() && !first.isSet(QStringLiteral("help"))) {
            CliOut::Warn(GeneralHelp());
            throw ECliUsage(QStringLiteral("No command given."));
        }
        CliOut::PrintRaw(GeneralHelp());
        return 0;
    }

    // The command words.
    const QString group = rest.takeFirst();
    const TCliCommand* command = find(group, QString());
    if (!command) {
        if (!isGroup(group))
            throw ECliUsage(QStringLiteral("Unknown command \"%1\" (see %2 --help).").arg(group, ProgramName));
        if (rest.isEmpty() || rest.first().startsWith(u'-')) {
            const bool help = first.isSet(QStringLiteral("help")) || rest.contains(QStringLiteral("--help"))
                              || rest.contains(QStringLiteral("-h"));
            if (help) {
                CliOut::PrintRaw(GroupHelp(group));
                return 0;
            }
            CliOut::Warn(GroupHelp(group));
            throw ECliUsage(QStringLiteral("\"%1\" needs a verb.").arg(group));
        }
        const QString verb = rest.takeFirst();
        command = find(group, verb);
        if (!command)
            throw ECliUsage(QStringLiteral("Unknown command \"%1 %2\" (see %3 %1 --help).").arg(group, verb, ProgramName));
    }

    // Second pass: the command's own options, global options again, arguments.
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const auto& o : m_global) parser.addOption(o);
    for (const auto& o : command->Options) parser.addOption(o);
    if (!parser.parse(QStringList{arguments.first()} + rest))
        throw ECliUsage(parser.errorText() + QStringLiteral(" (see %1 %2 --help)").arg(ProgramName, command->Words()));
    if (first.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help"))) {
        CliOut::PrintRaw(CommandHelp(*command));
        return 0;
    }
    const int n = int(parser.positionalArguments().size());
    if (n < command->MinArgs || (command->MaxArgs >= 0 && n > command->MaxArgs)) {
        const QString usage = (ProgramName + u' ' + command->Words() + u' ' + command->Arguments).trimmed();
        throw ECliUsage(QStringLiteral("Wrong number of arguments; usage: %1 (see --help).").arg(usage));
    }

    auto value = [&](const QString& name) {
        return parser.isSet(name) ? parser.value(name) : first.value(name);
    };
    auto flag = [&](const QString& name) { return parser.isSet(name) || first.isSet(name); };
    TCliGlobalOptions options;
    options.WorkingDir = value(QStringLiteral("workdir"));
    options.Domain = value(QStringLiteral("domain"));
    options.Server = value(QStringLiteral("server"));
    options.PasswordFile = value(QStringLiteral("password-file"));
    options.PasswordStdin = flag(QStringLiteral("password-stdin"));
    options.Json = flag(QStringLiteral("json"));
    options.Verbose = flag(QStringLiteral("verbose"));
    if (!options.PasswordFile.isEmpty() && options.PasswordStdin)
        throw ECliUsage(QStringLiteral("Give either --password-file or --password-stdin, not both."));

    TCliContext context(*command, parser, options);
    try {
        command->Run(context);
    } catch (...) {
        // Keep what was done before the failure (files written, their
        // pending uploads); a failure to store is reported after the first.
        try {
            context.Finish();
        } catch (const EKXError& e) {
            CliOut::Warn(ProgramName + QStringLiteral(": ") + CliOut::OneLine(e.Message));
        }
        throw;
    }
    context.Finish();
    return 0;
}
