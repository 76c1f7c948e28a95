// users: list, show, add, edit, delete, import and export the phones.
#include "cli/CliApp.h"
#include "cli/CliCsv.h"
#include "cli/CliFields.h"
#include "cli/CliRecords.h"
#include "core/DBInterface.h"
#include "core/RecordChecks.h"
#include "records/UserList.h"

#include <QHash>
#include <algorithm>

namespace {

const TCliFields<TUser>& userFields()
{
    static const TCliFields<TUser> fields = {
        {QStringLiteral("Extension"), &TUser::Extension, TFieldAccess::ReadOnly,
         QStringLiteral("the user's number; the first argument of add, edit, show and delete")},
        {QStringLiteral("Name"), &TUser::Name, TFieldAccess::Settable, QStringLiteral("display name, required")},
        {QStringLiteral("Password"), &TUser::Password, TFieldAccess::Settable,
         QStringLiteral("SIP password: 3 or more characters with a lower-case letter, an upper-case letter and a "
                        "digit; the engine's default password (or $${default_password}) refers to it")},
        {QStringLiteral("VMPassword"), &TUser::VMPassword},
        {QStringLiteral("VMEnabled"), &TUser::VMEnabled},
        {QStringLiteral("CallGroup"), &TUser::CallGroup},
        {QStringLiteral("TollAllowed"), &TUser::TollAllowed},
        {QStringLiteral("AccountCode"), &TUser::AccountCode},
        {QStringLiteral("EffectiveCallerIdName"), &TUser::EffectiveCallerIdName},
        {QStringLiteral("EffectiveCallerIdNumber"), &TUser::EffectiveCallerIdNumber},
        {QStringLiteral("OutboundCallerIdName"), &TUser::OutboundCallerIdName},
        {QStringLiteral("OutboundCallerIdNumber"), &TUser::OutboundCallerIdNumber},
        {QStringLiteral("UserContext"), &TUser::UserContext, TFieldAccess::ReadOnly, QStringLiteral("always default")},
        {QStringLiteral("Id"), &TUser::Id, TFieldAccess::ReadOnly},
    };
    return fields;
}

TUser defaultUser()
{
    TUser u;
    u.SetDefaults(100);
    return u;
}

std::vector<const TUser*> sortedUsers(const TDBInterface& db)
{
    std::vector<const TUser*> users;
    for (const auto& u : *db.Users) users.push_back(u.get());
    std::stable_sort(users.begin(), users.end(), [](const TUser* a, const TUser* b) { return a->Extension < b->Extension; });
    return users;
}

const TUser* findUser(const TDBInterface& db, const QString& extensionText)
{
    const int ext = RecordChecks::ParseExtension(extensionText);
    if (ext < 0) throw ECliUsage(QStringLiteral("\"%1\" is not an extension number.").arg(extensionText));
    for (const auto& u : *db.Users)
        if (u->Extension == ext) return u.get();
    throw ECliFailure(QStringLiteral("There is no user with the extension %1.").arg(ext));
}

// What the user dialog does on OK after the checks: the reference fields,
// the context, and the trimmed name and call group.
void storeAsDialog(const TDBInterface& db, TUser& u)
{
    RecordChecks::StoreUserShownFields(db, u, RecordChecks::ShownUserPassword(db, u),
                                       RecordChecks::ShownOutboundCallerIdName(db, u),
                                       RecordChecks::ShownOutboundCallerIdNumber(db, u));
    u.Name = u.Name.trimmed();
    u.CallGroup = u.CallGroup.trimmed();
}

QString checkUser(const TDBInterface& db, TEditMode mode, const QString& extText, const TUser& u)
{
    return RecordChecks::CheckUser(db, mode, extText, RecordChecks::ShownUserPassword(db, u), u.Name).Message;
}

void printUser(TCliContext& ctx, const TUser& u, const QString& done)
{
    if (ctx.Json()) CliOut::PrintJson(CliFields::ToJson(userFields(), u));
    else if (!done.isEmpty()) CliOut::Print(done);
    else CliOut::PrintFields(CliFields::ToPairs(userFields(), u));
}

void runList(TCliContext& ctx)
{
    const TDBInterface& db = ctx.Db();
    const auto users = sortedUsers(db);
    if (ctx.Json()) {
        QJsonArray a;
        for (const TUser* u : users) a.append(CliFields::ToJson(userFields(), *u));
        CliOut::PrintJson(a);
        return;
    }
    QList<QStringList> rows;
    for (const TUser* u : users)
        rows << QStringList{QString::number(u->Extension), u->Name, u->VMEnabled ? QStringLiteral("yes") : QStringLiteral("no"),
                            u->CallGroup, QString::number(u->Id)};
    CliOut::PrintTable({QStringLiteral("Extension"), QStringLiteral("Name"), QStringLiteral("Voicemail"),
                        QStringLiteral("CallGroup"), QStringLiteral("Id")},
                       rows);
}

void runShow(TCliContext& ctx)
{
    printUser(ctx, *findUser(ctx.Db(), ctx.Positional().first()), QString());
}

void runAdd(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    QStringList args = ctx.Positional();
    const QString extText = (!args.isEmpty() && !args.first().contains(u'=')) ? args.takeFirst() : db.NextExtension();
    const int ext = RecordChecks::ParseExtension(extText);
    TUser u;
    u.SetDefaults(ext < 0 ? 0 : ext);
    CliFields::Assign(userFields(), u, args);
    const QString problem = checkUser(db, TEditMode::Add, extText, u);
    if (!problem.isEmpty()) throw ECliFailure(problem);
    storeAsDialog(db, u);
    db.AddUser(new TUser(u));
    db.SaveUsers();
    db.LoadUsers();
    const TUser* added = findUser(db, QString::number(u.Extension));
    printUser(ctx, *added, QStringLiteral("Added user %1 (%2).").arg(added->Extension).arg(added->Name));
}

void runEdit(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    QStringList args = ctx.Positional();
    const QString extText = args.takeFirst();
    TUser u;
    db.GetUserByNodeKey(findUser(db, extText)->NodeKey, u);
    CliFields::Assign(userFields(), u, args);
    const QString problem = checkUser(db, TEditMode::Edit, extText, u);
    if (!problem.isEmpty()) throw ECliFailure(problem);
    storeAsDialog(db, u);
    db.UpdateUser(u.Id, u);
    db.SaveUsers();
    db.LoadUsers();
    const TUser* edited = findUser(db, extText);
    printUser(ctx, *edited, QStringLiteral("Saved user %1 (%2).").arg(edited->Extension).arg(edited->Name));
}

void runDelete(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    const TUser* u = findUser(db, ctx.Positional().first());
    const QString base = QString::number(u->Extension);
    const QString server = db.UsersServerFolder();
    db.DeleteUser(u->Id, true);
    // As the window's delete action: the server's copies go at the next
    // commit, whatever the server address.
    db.FilesNeedingCommiting->Add(TFileNeedingCommiting(QString(), base + QStringLiteral(".xml"), server, fnaaDelete));
    db.FilesNeedingCommiting->Add(TFileNeedingCommiting(QString(), base + QStringLiteral(".usr"), server, fnaaDelete));
    CliRecords::PrintDeleted(ctx, QStringLiteral("user"), base);
}

// ---- CSV ------------------------------------------------------------------------

void runExport(TCliContext& ctx)
{
    const TDBInterface& db = ctx.Db();
    QStringList header{QStringLiteral("Extension")};
    const QStringList settable = CliFields::Names(userFields(), true);
    header << settable;
    QList<QStringList> rows{header};
    for (const TUser* u : sortedUsers(db)) {
        QStringList row{QString::number(u->Extension)};
        for (const QString& name : settable) row << CliFields::Text(*CliFields::Find(userFields(), name), *u);
        rows << row;
    }
    CliCsv::WriteFile(ctx.Positional().first(), rows);
    if (ctx.Json()) CliOut::PrintJson(QJsonObject{{QStringLiteral("Exported"), int(rows.size() - 1)}});
    else CliOut::Print(QStringLiteral("Exported %1 users to %2.").arg(rows.size() - 1).arg(ctx.Positional().first()));
}

void runImport(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    const QString path = ctx.Positional().first();
    const QList<TCsvRow> rows = CliCsv::ReadFile(path);
    if (rows.isEmpty()) throw ECliFailure(QStringLiteral("%1 is empty: it needs a header row of field names.").arg(path));

    // Header: Extension and any settable fields, each once.
    QStringList errors;
    const TCsvRow& header = rows.first();
    int extColumn = -1;
    std::vector<const TCliField<TUser>*> columns;
    for (int c = 0; c < header.Fields.size(); ++c) {
        const QString name = header.Fields[c].trimmed();
        const TCliField<TUser>* f = CliFields::Find(userFields(), name);
        if (f && f->Name == u"Extension") {
            if (extColumn >= 0) errors << QStringLiteral("line %1: the column Extension appears twice.").arg(header.Line);
            extColumn = c;
        } else if (!f || f->Access != TFieldAccess::Settable)
            errors << QStringLiteral("line %1: \"%2\" is not a column that can be imported; the columns are "
                                     "Extension, %3.")
                          .arg(header.Line)
                          .arg(name, CliFields::Names(userFields(), true).join(QStringLiteral(", ")));
        else if (std::find(columns.begin(), columns.end(), f) != columns.end())
            errors << QStringLiteral("line %1: the column %2 appears twice.").arg(header.Line).arg(f->Name);
        columns.push_back(f && f->Name != u"Extension" ? f : nullptr);
    }
    if (extColumn < 0) errors << QStringLiteral("line %1: the header has no Extension column.").arg(header.Line);
    if (!errors.isEmpty())
        throw ECliFailure(QStringLiteral("%1 has no usable header row; nothing was imported.").arg(path), errors);

    // Every row is checked before anything is written.
    QHash<int, const TUser*> existing;
    for (const auto& u : *db.Users) existing.insert(u->Extension, u.get());
    QHash<int, int> lineOfExtension;
    std::vector<TUser> toAdd, toUpdate;
    int bad = 0;
    for (int r = 1; r < rows.size(); ++r) {
        const TCsvRow& row = rows[r];
        auto fail = [&](const QString& message) {
            errors << QStringLiteral("line %1: %2").arg(row.Line).arg(message);
            ++bad;
        };
        if (row.Fields.size() != header.Fields.size()) {
            fail(QStringLiteral("%1 values for %2 columns.").arg(row.Fields.size()).arg(header.Fields.size()));
            continue;
        }
        const QString extText = row.Fields[extColumn];
        const int ext = RecordChecks::ParseExtension(extText);
        if (ext >= 0 && lineOfExtension.contains(ext)) {
            fail(QStringLiteral("the extension %1 is on line %2 already.").arg(ext).arg(lineOfExtension[ext]));
            continue;
        }
        if (ext >= 0) lineOfExtension.insert(ext, row.Line);
        const TUser* old = ext >= 0 ? existing.value(ext) : nullptr;
        TUser u;
        if (old) db.GetUserByNodeKey(old->NodeKey, u);
        else u.SetDefaults(ext < 0 ? 0 : ext);
        QString problem;
        for (int c = 0; c < row.Fields.size() && problem.isEmpty(); ++c)
            if (columns[size_t(c)]) problem = CliFields::SetText(*columns[size_t(c)], u, row.Fields[c]);
        if (problem.isEmpty()) problem = checkUser(db, old ? TEditMode::Edit : TEditMode::Add, extText, u);
        if (!problem.isEmpty()) {
            fail(problem);
            continue;
        }
        storeAsDialog(db, u);
        (old ? toUpdate : toAdd).push_back(std::move(u));
    }
    const int total = int(rows.size()) - 1;
    if (bad > 0) {
        if (ctx.Json()) {
            QJsonArray a;
            for (const QString& e : errors) a.append(e);
            CliOut::PrintJson(QJsonObject{{QStringLiteral("Errors"), a}, {QStringLiteral("Imported"), 0}});
        }
        throw ECliFailure(QStringLiteral("%1 of %2 rows of %3 are invalid; nothing was imported.").arg(bad).arg(total).arg(path),
                          errors);
    }
    if (ctx.Args.isSet(QStringLiteral("check"))) {
        if (ctx.Json())
            CliOut::PrintJson(QJsonObject{{QStringLiteral("Valid"), total}, {QStringLiteral("Imported"), 0}});
        else CliOut::Print(QStringLiteral("All %1 rows are valid (%2 new users, %3 changed); nothing was written.")
                               .arg(total).arg(toAdd.size()).arg(toUpdate.size()));
        return;
    }

    {
        TCliBulkWrite bulk(db);
        for (TUser& u : toUpdate) db.UpdateUser(u.Id, u);
        for (TUser& u : toAdd) db.AddUser(new TUser(std::move(u)));
        db.SaveUsers();
        bulk.Commit();
    }
    ctx.Finish();
    if (ctx.Json())
        CliOut::PrintJson(QJsonObject{{QStringLiteral("Added"), int(toAdd.size())},
                                      {QStringLiteral("Updated"), int(toUpdate.size())}});
    else CliOut::Print(QStringLiteral("Imported %1 users from %2: %3 added, %4 changed.")
                           .arg(total).arg(path).arg(toAdd.size()).arg(toUpdate.size()));
}

} // namespace

void Cli::RegisterUserCommands(TCliApp& app)
{
    const QString fieldsHelp = CliFields::Help(userFields(), defaultUser());
    auto cmd = [&](QString verb, QString args, int min, int max, QString summary, QString details,
                   std::function<void(TCliContext&)> run) {
        TCliCommand c;
        c.Group = QStringLiteral("users");
        c.Verb = std::move(verb);
        c.Arguments = std::move(args);
        c.MinArgs = min;
        c.MaxArgs = max;
        c.Summary = std::move(summary);
        c.Details = std::move(details);
        c.Run = std::move(run);
        return c;
    };
    app.Add(cmd(QStringLiteral("list"), QString(), 0, 0, QStringLiteral("List the users (phones)."), QString(), runList));
    app.Add(cmd(QStringLiteral("show"), QStringLiteral("EXTENSION"), 1, 1, QStringLiteral("Show every field of a user."),
                QString(), runShow));
    app.Add(cmd(QStringLiteral("add"), QStringLiteral("[EXTENSION] [FIELD=VALUE ...]"), 0, -1,
                QStringLiteral("Add a user; without an extension the next free one is taken."),
                QStringLiteral("Writes <extension>.usr and <extension>.xml in directory/<domain>/ and enters both as\n"
                               "pending uploads. A new user starts with the defaults below.\n"
                               "Example: kestrix-cli users add 101 Name=\"Ann Lee\" Password=Secret7A\n\n")
                    + fieldsHelp,
                runAdd));
    app.Add(cmd(QStringLiteral("edit"), QStringLiteral("EXTENSION FIELD=VALUE ..."), 1, -1,
                QStringLiteral("Change fields of a user (the extension cannot change)."),
                QStringLiteral("Example: kestrix-cli users edit 101 VMEnabled=0 CallGroup=Sales\n\n") + fieldsHelp, runEdit));
    app.Add(cmd(QStringLiteral("delete"), QStringLiteral("EXTENSION"), 1, 1, QStringLiteral("Delete a user."),
                QStringLiteral("Deletes the user's two files and enters their deletion on the server as pending."),
                runDelete));
    TCliCommand import = cmd(
        QStringLiteral("import"), QStringLiteral("FILE.csv"), 1, 1,
        QStringLiteral("Add or change users from a CSV file (by extension)."),
        QStringLiteral("The first row names the columns: Extension (required) and any of the fields below.\n"
                       "A row whose extension exists changes that user (columns left out keep their values);\n"
                       "any other row adds a user (columns left out take the defaults). Every row is checked\n"
                       "first, as the user dialog checks it; when any row is invalid, each bad row is named by\n"
                       "its line number and nothing is written.\n\n")
            + fieldsHelp,
        runImport);
    import.Options.push_back(QCommandLineOption(QStringLiteral("check"), QStringLiteral("Only check the file; write nothing.")));
    app.Add(import);
    app.Add(cmd(QStringLiteral("export"), QStringLiteral("FILE.csv"), 1, 1, QStringLiteral("Write every user to a CSV file."),
                QStringLiteral("The header row names the fields; the file can be imported again."), runExport));
}
