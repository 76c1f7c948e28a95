// inbound: what happens to calls from outside for a number, as a chain of
// destination steps (extension, call group, mailbox, mobile number).
#include "cli/CliRecords.h"
#include "core/DBInterface.h"
#include "records/InboundRouteList.h"
#include "records/gatewaylist.h"

#include <algorithm>

namespace {

const QString Group = QStringLiteral("inbound");

const TCliFields<TInboundRoute>& routeFields()
{
    static const TCliFields<TInboundRoute> fields = {
        {QStringLiteral("Name"), &TInboundRoute::Name, TFieldAccess::Settable,
         QStringLiteral("also the name of its files; a new name renames them")},
        {QStringLiteral("DestinationNumber"), &TInboundRoute::DestinationNumber, TFieldAccess::Settable,
         QStringLiteral("the number calls come in on (an expression)")},
        {QStringLiteral("Context"), &TInboundRoute::Context, TFieldAccess::Settable,
         QStringLiteral("context that extension steps transfer into")},
        {QStringLiteral("Domain"), &TInboundRoute::Domain},
        {QStringLiteral("Id"), &TInboundRoute::Id, TFieldAccess::ReadOnly},
    };
    return fields;
}

const TCliFields<TKXInboundRouteDest>& stepFields()
{
    static const TCliFields<TKXInboundRouteDest> fields = {
        {QStringLiteral("Name"), &TKXInboundRouteDest::Name, TFieldAccess::Settable,
         QStringLiteral("unique among all steps; the name of its file")},
        {QStringLiteral("DestinationType"), &TKXInboundRouteDest::DestinationType, TFieldAccess::Settable,
         QStringLiteral("Extension, Group, Mailbox or Mobile (or 1 to 4); Type= for short")},
        {QStringLiteral("Destination"), &TKXInboundRouteDest::Destination, TFieldAccess::Settable,
         QStringLiteral("a user's extension (Extension, Mailbox), a call group's name, or a mobile number")},
        {QStringLiteral("CallTimeout"), &TKXInboundRouteDest::CallTimeout, TFieldAccess::Settable,
         QStringLiteral("seconds this step rings")},
        {QStringLiteral("Trunk"), &TKXInboundRouteDest::Trunk, TFieldAccess::Settable,
         QStringLiteral("Mobile steps: the trunk that calls the mobile number (the only trunk when not given)")},
        {QStringLiteral("Position"), &TKXInboundRouteDest::Position, TFieldAccess::ReadOnly,
         QStringLiteral("place in the chain; see move-step")},
        {QStringLiteral("Id"), &TKXInboundRouteDest::Id, TFieldAccess::ReadOnly},
    };
    return fields;
}

QJsonObject routeJson(const TInboundRoute& r)
{
    QJsonObject o = CliFields::ToJson(routeFields(), r);
    QJsonArray steps;
    for (const auto& s : r.Destinations) steps.append(CliFields::ToJson(stepFields(), *s));
    o.insert(QStringLiteral("Destinations"), steps);
    return o;
}

const TInboundRoute* findRoute(const TDBInterface& db, const QString& name)
{
    for (const auto& r : *db.InboundRoutes)
        if (r->Name == name) return r.get();
    const int id = db.FindInboundRouteIdByName(name);
    if (id >= 0) return db.InboundRoutes->FindById(id);
    throw ECliFailure(QStringLiteral("There is no inbound route named \"%1\".").arg(name));
}

TKXInboundRouteDest* findStep(TInboundRoute& route, const QString& name)
{
    for (const auto& s : route.Destinations)
        if (s->Name == name) return s.get();
    for (const auto& s : route.Destinations)
        if (s->Name.compare(name, Qt::CaseInsensitive) == 0) return s.get();
    throw ECliFailure(QStringLiteral("The inbound route %1 has no step named \"%2\".").arg(route.Name, name));
}

// "Type=Mobile" and "DestinationType=Mobile": the type's label stands for its number.
QStringList stepAssignments(QStringList args)
{
    for (QString& a : args) {
        auto [field, value] = CliFields::SplitAssignment(a);
        if (field.compare(QStringLiteral("Type"), Qt::CaseInsensitive) == 0) field = QStringLiteral("DestinationType");
        if (field.compare(QStringLiteral("DestinationType"), Qt::CaseInsensitive) != 0) continue;
        const QStringList labels = TKXInboundRouteDest::TypeLabels();
        for (int i = 0; i < labels.size(); ++i)
            if (labels[i].compare(value.trimmed(), Qt::CaseInsensitive) == 0) value = QString::number(i + 1);
        a = field + u'=' + value;
    }
    return args;
}

void printSteps(const TInboundRoute& r)
{
    QList<QStringList> rows;
    for (const auto& s : r.Destinations)
        rows << QStringList{QString::number(s->Position), s->Name, TKXInboundRouteDest::TypeLabel(s->DestinationType),
                            s->Destination, QString::number(s->CallTimeout) + QStringLiteral(" sec"), s->Trunk};
    CliOut::PrintTable({QStringLiteral("Position"), QStringLiteral("Name"), QStringLiteral("Transfer type"),
                        QStringLiteral("Destination"), QStringLiteral("Timeout"), QStringLiteral("Trunk")},
                       rows);
}

void runList(TCliContext& ctx)
{
    const TDBInterface& db = ctx.Db();
    std::vector<const TInboundRoute*> routes;
    for (const auto& r : *db.InboundRoutes) routes.push_back(r.get());
    std::sort(routes.begin(), routes.end(), [](auto a, auto b) { return a->Name.compare(b->Name, Qt::CaseInsensitive) < 0; });
    if (ctx.Json()) {
        QJsonArray a;
        for (auto r : routes) a.append(routeJson(*r));
        CliOut::PrintJson(a);
        return;
    }
    QList<QStringList> rows;
    for (auto r : routes) {
        QStringList chain;
        for (const auto& s : r->Destinations)
            chain << TKXInboundRouteDest::TypeLabel(s->DestinationType) + u' ' + s->Destination;
        rows << QStringList{r->Name, r->DestinationNumber, chain.join(QStringLiteral(" > ")), QString::number(r->Id)};
    }
    CliOut::PrintTable({QStringLiteral("Name"), QStringLiteral("Number"), QStringLiteral("Steps"), QStringLiteral("Id")}, rows);
}

void runShow(TCliContext& ctx)
{
    const TInboundRoute& r = *findRoute(ctx.Db(), ctx.Positional().first());
    if (ctx.Json()) {
        CliOut::PrintJson(routeJson(r));
        return;
    }
    CliOut::PrintFields(CliFields::ToPairs(routeFields(), r));
    CliOut::Print(QString());
    printSteps(r);
}

// Stores a route (as edited, with its steps) and reloads the routes.
void saveRoute(TDBInterface& db, TInboundRoute& r, TEditMode mode)
{
    if (mode == TEditMode::Add) {
        auto* added = new TInboundRoute;
        added->Assign(r);
        db.AddInboundRoute(added);
    } else {
        db.UpdateInboundRoute(r);
    }
    db.SaveInboundRoutes();
    db.LoadInboundRoutes();
    db.LoadInboundRouteDests();
}

void finishRoute(TCliContext& ctx, const TDBInterface& db, const QString& name, const QString& done)
{
    const TInboundRoute* stored = findRoute(db, name);
    if (ctx.Json()) CliOut::PrintJson(routeJson(*stored));
    else CliOut::Print(done.arg(stored->Name));
}

void runAdd(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    QStringList args = ctx.Positional();
    TInboundRoute r;
    r.Reset();
    r.Name = args.takeFirst();
    CliFields::Assign(routeFields(), r, args);
    CliRecords::Require(RecordChecks::CheckInboundRoute(db, TEditMode::Add, r.Name));
    r.Name = r.Name.trimmed();
    saveRoute(db, r, TEditMode::Add);
    finishRoute(ctx, db, r.Name, QStringLiteral("Added inbound route %1; add its steps with add-step."));
}

// A copy of the listed route to edit, steps included.
void editCopy(const TDBInterface& db, const QString& name, TInboundRoute& r)
{
    db.GetInboundRouteById(findRoute(db, name)->Id, r);
}

void runEdit(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    QStringList args = ctx.Positional();
    TInboundRoute r;
    editCopy(db, args.takeFirst(), r);
    CliFields::Assign(routeFields(), r, args);
    CliRecords::Require(RecordChecks::CheckInboundRoute(db, TEditMode::Edit, r.Name, r.Id));
    r.Name = r.Name.trimmed();
    saveRoute(db, r, TEditMode::Edit);
    finishRoute(ctx, db, r.Name, QStringLiteral("Saved inbound route %1."));
}

void runDelete(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    const TInboundRoute* r = findRoute(db, ctx.Positional().first());
    const QString name = r->Name;
    CliRecords::EnterPendingDeletes(db, db.DeleteInboundRoute(r->Id));
    CliRecords::PrintDeleted(ctx, QStringLiteral("inbound route"), name);
}

// ---- steps -------------------------------------------------------------------------

void prepareStep(const TDBInterface& db, TKXInboundRouteDest& s)
{
    s.Name = s.Name.trimmed();
    if (s.DestinationType == irdMobile && s.Trunk.trimmed().isEmpty() && db.Gateways->Count() == 1)
        s.Trunk = db.Gateways->Items(0)->Name;
    if (s.DestinationType == irdMobile)
        if (const TGateway* t = RecordChecks::FindTrunk(db, s.Trunk)) s.Trunk = t->Name;
    s.Destination = s.Destination.trimmed();
}

void runAddStep(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    QStringList args = ctx.Positional();
    TInboundRoute r;
    editCopy(db, args.takeFirst(), r);
    TKXInboundRouteDest s;
    s.Name = args.takeFirst();
    CliFields::Assign(stepFields(), s, stepAssignments(args));
    prepareStep(db, s);
    CliRecords::Require(RecordChecks::CheckInboundRouteDest(db, TEditMode::Add, r, s));
    if (s.DestinationType != irdMobile) s.Trunk.clear();
    db.AddInboundRouteDest(r, new TKXInboundRouteDest(s));
    saveRoute(db, r, TEditMode::Edit);
    finishRoute(ctx, db, r.Name, QStringLiteral("Added the step %1 to the inbound route %2.").arg(s.Name, QStringLiteral("%1")));
}

void runEditStep(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    QStringList args = ctx.Positional();
    TInboundRoute r;
    editCopy(db, args.takeFirst(), r);
    TKXInboundRouteDest* listed = findStep(r, args.takeFirst());
    TKXInboundRouteDest s(*listed);
    CliFields::Assign(stepFields(), s, stepAssignments(args));
    prepareStep(db, s);
    CliRecords::Require(RecordChecks::CheckInboundRouteDest(db, TEditMode::Edit, r, s));
    if (s.DestinationType != irdMobile) s.Trunk.clear();
    s.Modified = true;
    *listed = s;
    saveRoute(db, r, TEditMode::Edit);
    finishRoute(ctx, db, r.Name, QStringLiteral("Saved the step %1 of the inbound route %2.").arg(s.Name, QStringLiteral("%1")));
}

void runDeleteStep(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    QStringList args = ctx.Positional();
    TInboundRoute r;
    editCopy(db, args.takeFirst(), r);
    const TKXInboundRouteDest* s = findStep(r, args.takeFirst());
    const QString stepName = s->Name;
    CliRecords::EnterPendingDeletes(db, db.DeleteInboundRouteDest(r, s->Id));
    saveRoute(db, r, TEditMode::Edit);
    finishRoute(ctx, db, r.Name, QStringLiteral("Deleted the step %1 of the inbound route %2.").arg(stepName, QStringLiteral("%1")));
}

void runMoveStep(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    QStringList args = ctx.Positional();
    TInboundRoute r;
    editCopy(db, args.takeFirst(), r);
    const TKXInboundRouteDest* s = findStep(r, args.takeFirst());
    const QString direction = args.takeFirst().toLower();
    if (direction != u"up" && direction != u"down") throw ECliUsage(QStringLiteral("Move a step up or down, not \"%1\".").arg(direction));
    r.Destinations.SortByPosition();
    const int index = r.Destinations.IndexOfId(s->Id);
    const int other = direction == u"up" ? index - 1 : index + 1;
    if (other < 0 || other >= r.Destinations.Count())
        throw ECliFailure(QStringLiteral("The step %1 is %2 of the chain already.")
                              .arg(s->Name, direction == u"up" ? QStringLiteral("the first") : QStringLiteral("the last")));
    r.Destinations.SwapPositions(s->Id, r.Destinations.Items(other)->Id);
    saveRoute(db, r, TEditMode::Edit);
    if (ctx.Json()) CliOut::PrintJson(routeJson(*findRoute(db, r.Name)));
    else printSteps(*findRoute(db, r.Name));
}

} // namespace

void Cli::RegisterInboundRouteCommands(TCliApp& app)
{
    using CliRecords::Command;
    TInboundRoute defaults;
    defaults.Reset();
    const QString fields = CliFields::Help(routeFields(), defaults);
    const QString steps = CliFields::Help(stepFields(), TKXInboundRouteDest());
    app.Add(Command(Group, QStringLiteral("list"), QString(), 0, 0, QStringLiteral("List the inbound routes."), QString(), runList));
    app.Add(Command(Group, QStringLiteral("show"), QStringLiteral("NAME"), 1, 1,
                    QStringLiteral("Show an inbound route with its steps."), QString(), runShow));
    app.Add(Command(Group, QStringLiteral("add"), QStringLiteral("NAME [FIELD=VALUE ...]"), 1, -1,
                    QStringLiteral("Add an inbound route (then its steps with add-step)."),
                    QStringLiteral("Writes <Name>.ibr and the public dialplan extension <Name>.xml in dialplan/public/ "
                                   "and enters\nboth as pending uploads.\n"
                                   "Example: kestrix-cli inbound add Main DestinationNumber=442079460000\n\n")
                        + fields,
                    runAdd));
    app.Add(Command(Group, QStringLiteral("edit"), QStringLiteral("NAME FIELD=VALUE ..."), 1, -1,
                    QStringLiteral("Change an inbound route."), fields, runEdit));
    app.Add(Command(Group, QStringLiteral("delete"), QStringLiteral("NAME"), 1, 1,
                    QStringLiteral("Delete an inbound route with its steps."),
                    QStringLiteral("Deletes the route's files and its steps' files and enters their deletion on the "
                                   "server as\npending."),
                    runDelete));
    app.Add(Command(Group, QStringLiteral("add-step"), QStringLiteral("ROUTE STEP Type=TYPE Destination=... [FIELD=VALUE ...]"),
                    2, -1, QStringLiteral("Add a step at the end of a route's chain."),
                    QStringLiteral("Writes <STEP>.ird and the route's files again, and enters them as pending uploads.\n"
                                   "Examples: kestrix-cli inbound add-step Main Reception Type=Extension "
                                   "Destination=101 CallTimeout=15\n"
                                   "          kestrix-cli inbound add-step Main Mobile Type=Mobile "
                                   "Destination=+447700900123 Trunk=Office\n\n")
                        + steps,
                    runAddStep));
    app.Add(Command(Group, QStringLiteral("edit-step"), QStringLiteral("ROUTE STEP FIELD=VALUE ..."), 2, -1,
                    QStringLiteral("Change a step of a route."), steps, runEditStep));
    app.Add(Command(Group, QStringLiteral("delete-step"), QStringLiteral("ROUTE STEP"), 2, 2,
                    QStringLiteral("Delete a step of a route."),
                    QStringLiteral("Deletes the step's file, enters its deletion on the server as pending and writes "
                                   "the route's\nextension again."),
                    runDeleteStep));
    app.Add(Command(Group, QStringLiteral("move-step"), QStringLiteral("ROUTE STEP up|down"), 3, 3,
                    QStringLiteral("Move a step one place up or down the chain."), QString(), runMoveStep));
}
