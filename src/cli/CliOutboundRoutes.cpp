// outbound: routes out through a trunk for numbers dialled with a prefix.
#include "cli/CliRecords.h"
#include "core/DBInterface.h"
#include "records/OutboundRouteList.h"
#include "records/gatewaylist.h"

#include <algorithm>

namespace {

const QString Group = QStringLiteral("outbound");

const TCliFields<TOutboundRoute>& routeFields()
{
    static const TCliFields<TOutboundRoute> fields = {
        {QStringLiteral("Name"), &TOutboundRoute::Name, TFieldAccess::Settable,
         QStringLiteral("also the name of its files; a new name renames them")},
        {QStringLiteral("DigitForOutsideLine"), &TOutboundRoute::DigitForOutsideLine, TFieldAccess::Settable,
         QStringLiteral("digit(s) dialled first for an outside line")},
        {QStringLiteral("DigitExpression"), &TOutboundRoute::DigitExpression, TFieldAccess::Settable,
         QStringLiteral("expression the rest of the number must match")},
        {QStringLiteral("Trunk"), &TOutboundRoute::Trunk, TFieldAccess::Settable,
         QStringLiteral("name of the trunk to use (required unless there is only one)")},
        {QStringLiteral("EffectiveCallerIDNumber"), &TOutboundRoute::EffectiveCallerIDNumber, TFieldAccess::Settable,
         QStringLiteral("caller number presented, for trunks of the Gradwell template")},
        {QStringLiteral("GatewayType"), &TOutboundRoute::GatewayType, TFieldAccess::ReadOnly,
         QStringLiteral("the template of the trunk")},
        {QStringLiteral("Id"), &TOutboundRoute::Id, TFieldAccess::ReadOnly},
    };
    return fields;
}

const TOutboundRoute* findRoute(const TDBInterface& db, const QString& name)
{
    for (const auto& r : *db.OutboundRoutes)
        if (r->Name == name) return r.get();
    const int id = db.FindOutboundRouteIdByName(name);
    if (id >= 0) return db.OutboundRoutes->FindById(id);
    throw ECliFailure(QStringLiteral("There is no outbound route named \"%1\".").arg(name));
}

void runList(TCliContext& ctx)
{
    const TDBInterface& db = ctx.Db();
    std::vector<const TOutboundRoute*> routes;
    for (const auto& r : *db.OutboundRoutes) routes.push_back(r.get());
    std::sort(routes.begin(), routes.end(), [](auto a, auto b) { return a->Name.compare(b->Name, Qt::CaseInsensitive) < 0; });
    if (ctx.Json()) {
        QJsonArray a;
        for (auto r : routes) a.append(CliFields::ToJson(routeFields(), *r));
        CliOut::PrintJson(a);
        return;
    }
    QList<QStringList> rows;
    for (auto r : routes)
        rows << QStringList{r->Name, r->DigitForOutsideLine, r->DigitExpression, r->Trunk, QString::number(r->Id)};
    CliOut::PrintTable({QStringLiteral("Name"), QStringLiteral("Prefix"), QStringLiteral("Digits"), QStringLiteral("Trunk"),
                        QStringLiteral("Id")},
                       rows);
}

void runShow(TCliContext& ctx)
{
    CliRecords::PrintRecord(ctx, routeFields(), *findRoute(ctx.Db(), ctx.Positional().first()));
}

// As the dialog's OK: the check, then the copy-back of the route frame (the
// three texts trimmed; the trunk's name and template from the trunk chosen).
void storeRoute(TCliContext& ctx, TDBInterface& db, TOutboundRoute& r, TEditMode mode)
{
    if (r.Trunk.trimmed().isEmpty() && db.Gateways->Count() == 1) r.Trunk = db.Gateways->Items(0)->Name;
    CliRecords::Require(RecordChecks::CheckOutboundRoute(db, mode, r.Name, r.Trunk, r.Id));
    const TGateway* trunk = RecordChecks::FindTrunk(db, r.Trunk);
    r.Name = r.Name.trimmed();
    r.DigitForOutsideLine = r.DigitForOutsideLine.trimmed();
    r.DigitExpression = r.DigitExpression.trimmed();
    r.Trunk = trunk->Name;
    r.GatewayType = trunk->GatewayType;
    const QString name = r.Name;
    if (mode == TEditMode::Add) db.AddOutboundRoute(new TOutboundRoute(r));
    else db.UpdateOutboundRoute(r);
    db.SaveOutboundRoutes();
    db.LoadOutboundRoutes();
    const TOutboundRoute* stored = findRoute(db, name);
    CliRecords::PrintRecord(ctx, routeFields(), *stored,
                            QStringLiteral("%1 outbound route %2 (through %3).")
                                .arg(mode == TEditMode::Add ? QStringLiteral("Added") : QStringLiteral("Saved"),
                                     stored->Name, stored->Trunk));
}

void runAdd(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    QStringList args = ctx.Positional();
    TOutboundRoute r;
    r.Name = args.takeFirst();
    CliFields::Assign(routeFields(), r, args);
    storeRoute(ctx, db, r, TEditMode::Add);
}

void runEdit(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    QStringList args = ctx.Positional();
    TOutboundRoute r;
    db.GetOutboundRouteById(findRoute(db, args.takeFirst())->Id, r);
    CliFields::Assign(routeFields(), r, args);
    storeRoute(ctx, db, r, TEditMode::Edit);
}

void runDelete(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    const TOutboundRoute* r = findRoute(db, ctx.Positional().first());
    const QString name = r->Name;
    CliRecords::EnterPendingDeletes(db, db.DeleteOutboundRoute(r->Id));
    CliRecords::PrintDeleted(ctx, QStringLiteral("outbound route"), name);
}

} // namespace

void Cli::RegisterOutboundRouteCommands(TCliApp& app)
{
    using CliRecords::Command;
    const QString fields = CliFields::Help(routeFields(), TOutboundRoute());
    app.Add(Command(Group, QStringLiteral("list"), QString(), 0, 0, QStringLiteral("List the outbound routes."), QString(),
                    runList));
    app.Add(Command(Group, QStringLiteral("show"), QStringLiteral("NAME"), 1, 1, QStringLiteral("Show an outbound route."),
                    QString(), runShow));
    app.Add(Command(Group, QStringLiteral("add"), QStringLiteral("NAME [FIELD=VALUE ...]"), 1, -1,
                    QStringLiteral("Add an outbound route."),
                    QStringLiteral("Writes <Name>.obr and the dialplan extension <Name>.xml in dialplan/<domain>/ and "
                                   "enters both\nas pending uploads.\n"
                                   "Example: kestrix-cli outbound add National DigitForOutsideLine=9 Trunk=\"My Flowroute trunk\"\n\n")
                        + fields,
                    runAdd));
    app.Add(Command(Group, QStringLiteral("edit"), QStringLiteral("NAME FIELD=VALUE ..."), 1, -1,
                    QStringLiteral("Change an outbound route."), fields, runEdit));
    app.Add(Command(Group, QStringLiteral("delete"), QStringLiteral("NAME"), 1, 1, QStringLiteral("Delete an outbound route."),
                    QStringLiteral("Deletes the route's two files and enters their deletion on the server as pending."),
                    runDelete));
}
