// callgroups: named sets of users rung together.
#include "cli/CliRecords.h"
#include "core/DBInterface.h"
#include "records/CallGroupList.h"
#include "records/InboundRouteList.h"
#include "records/UserList.h"

#include <algorithm>

namespace {

const QString Group = QStringLiteral("callgroups");

const TCliFields<TKXCallGroup>& groupFields()
{
    static const TCliFields<TKXCallGroup> fields = {
        {QStringLiteral("Name"), &TKXCallGroup::Name, TFieldAccess::Settable,
         QStringLiteral("also the name of its files; a new name renames them")},
        {QStringLiteral("Members"), &TKXCallGroup::Members, TFieldAccess::Settable,
         QStringLiteral("extensions of users, in the order they ring")},
        {QStringLiteral("Id"), &TKXCallGroup::Id, TFieldAccess::ReadOnly},
    };
    return fields;
}

const TKXCallGroup* findGroup(const TDBInterface& db, const QString& name)
{
    for (const auto& g : *db.CallGroups)
        if (g->Name == name) return g.get();
    const int id = db.FindCallGroupIdByName(name);
    if (id >= 0) return db.CallGroups->FindById(id);
    throw ECliFailure(QStringLiteral("There is no call group named \"%1\".").arg(name));
}

void runList(TCliContext& ctx)
{
    const TDBInterface& db = ctx.Db();
    std::vector<const TKXCallGroup*> groups;
    for (const auto& g : *db.CallGroups) groups.push_back(g.get());
    std::sort(groups.begin(), groups.end(), [](auto a, auto b) { return a->Name.compare(b->Name, Qt::CaseInsensitive) < 0; });
    if (ctx.Json()) {
        QJsonArray a;
        for (auto g : groups) a.append(CliFields::ToJson(groupFields(), *g));
        CliOut::PrintJson(a);
        return;
    }
    QList<QStringList> rows;
    for (auto g : groups) rows << QStringList{g->Name, g->Members.join(QStringLiteral(", ")), QString::number(g->Id)};
    CliOut::PrintTable({QStringLiteral("Name"), QStringLiteral("Members"), QStringLiteral("Id")}, rows);
}

void runShow(TCliContext& ctx)
{
    CliRecords::PrintRecord(ctx, groupFields(), *findGroup(ctx.Db(), ctx.Positional().first()));
}

// The member options: --add-member appends users not yet members (as the
// select-users dialog offers only those), --remove-member removes every
// entry of an extension.
void applyMemberOptions(TCliContext& ctx, TKXCallGroup& g)
{
    for (const QString& m : ctx.Args.values(QStringLiteral("add-member")))
        for (const QString& ext : CliFields::ParseList(m))
            if (!g.Members.contains(ext)) g.Members << ext;
    for (const QString& m : ctx.Args.values(QStringLiteral("remove-member")))
        for (const QString& ext : CliFields::ParseList(m)) {
            if (!g.Members.contains(ext))
                throw ECliFailure(QStringLiteral("%1 is not a member of the call group \"%2\".").arg(ext, g.Name));
            g.Members.removeAll(ext);
        }
}

void storeGroup(TCliContext& ctx, TDBInterface& db, TKXCallGroup& g, TEditMode mode)
{
    CliRecords::Require(RecordChecks::CheckCallGroup(db, mode, g.Name, g.Id));
    CliRecords::Require(RecordChecks::CheckCallGroupMembers(db, g.Members));
    g.Name = g.Name.trimmed();
    const QString name = g.Name;
    if (mode == TEditMode::Add) {
        db.AddCallGroup(new TKXCallGroup(g));
    } else {
        g.Modified = true;
        db.UpdateCallGroup(g.Id, g);
    }
    db.SaveCallGroups();
    db.LoadCallGroups();
    const TKXCallGroup* stored = findGroup(db, name);
    CliRecords::PrintRecord(ctx, groupFields(), *stored,
                            QStringLiteral("%1 call group %2 (%3 members).")
                                .arg(mode == TEditMode::Add ? QStringLiteral("Added") : QStringLiteral("Saved"), stored->Name)
                                .arg(stored->Members.size()));
}

void runAdd(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    QStringList args = ctx.Positional();
    TKXCallGroup g;
    g.Reset();
    g.Name = args.takeFirst();
    CliFields::Assign(groupFields(), g, args);
    applyMemberOptions(ctx, g);
    storeGroup(ctx, db, g, TEditMode::Add);
}

void runEdit(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    QStringList args = ctx.Positional();
    TKXCallGroup g;
    db.GetCallGroupById(findGroup(db, args.takeFirst())->Id, g);
    CliFields::Assign(groupFields(), g, args);
    applyMemberOptions(ctx, g);
    storeGroup(ctx, db, g, TEditMode::Edit);
}

void runDelete(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    const TKXCallGroup* g = findGroup(db, ctx.Positional().first());
    const QString name = g->Name;
    db.DeleteCallGroup(g->Id);
    for (const auto& u : *db.Users)
        if (u->CallGroup == name)
            CliOut::Warn(QStringLiteral("warning: the user %1 still names the call group %2.").arg(u->Extension).arg(name));
    for (const auto& r : *db.InboundRoutes)
        for (const auto& s : r->Destinations)
            if (s->DestinationType == irdGroup && s->Destination == name)
                CliOut::Warn(QStringLiteral("warning: the step %1 of the inbound route %2 still rings the call group %3.")
                                 .arg(s->Name, r->Name, name));
    CliRecords::PrintDeleted(ctx, QStringLiteral("call group"), name);
}

} // namespace

void Cli::RegisterCallGroupCommands(TCliApp& app)
{
    using CliRecords::Command;
    const QString fields = CliFields::Help(groupFields(), TKXCallGroup());
    const std::vector<QCommandLineOption> memberOptions = {
        QCommandLineOption(QStringLiteral("add-member"), QStringLiteral("Add the users with these extensions (a,b,...)."),
                           QStringLiteral("EXT")),
        QCommandLineOption(QStringLiteral("remove-member"), QStringLiteral("Remove the users with these extensions."),
                           QStringLiteral("EXT")),
    };
    app.Add(Command(Group, QStringLiteral("list"), QString(), 0, 0, QStringLiteral("List the call groups."), QString(), runList));
    app.Add(Command(Group, QStringLiteral("show"), QStringLiteral("NAME"), 1, 1, QStringLiteral("Show a call group."),
                    QString(), runShow));
    TCliCommand add = Command(Group, QStringLiteral("add"), QStringLiteral("NAME [FIELD=VALUE ...]"), 1, -1,
                              QStringLiteral("Add a call group."),
                              QStringLiteral("Writes <Name>.cgp and the group file <Name>.xml in directory/<domain>/ and enters "
                                             "both as\npending uploads.\n"
                                             "Example: kestrix-cli callgroups add Sales Members=101,102\n\n")
                                  + fields,
                              runAdd);
    add.Options = memberOptions;
    app.Add(add);
    TCliCommand edit = Command(Group, QStringLiteral("edit"), QStringLiteral("NAME [FIELD=VALUE ...]"), 1, -1,
                               QStringLiteral("Change a call group's name or members."),
                               QStringLiteral("Example: kestrix-cli callgroups edit Sales --add-member 103\n\n") + fields,
                               runEdit);
    edit.Options = memberOptions;
    app.Add(edit);
    app.Add(Command(Group, QStringLiteral("delete"), QStringLiteral("NAME"), 1, 1, QStringLiteral("Delete a call group."),
                    QStringLiteral("Deletes the group's two files and enters their deletion on the server as pending."),
                    runDelete));
}
