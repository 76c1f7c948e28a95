// trunks: SIP gateways to telephone service providers, made from a template.
#include "cli/CliRecords.h"
#include "core/DBInterface.h"
#include "records/OutboundRouteList.h"
#include "records/gatewaylist.h"

#include <algorithm>

namespace {

const QString Group = QStringLiteral("trunks");

const TCliFields<TGateway>& trunkFields()
{
    static const TCliFields<TGateway> fields = {
        {QStringLiteral("Name"), &TGateway::Name, TFieldAccess::Settable,
         QStringLiteral("gateway name and name of its files; a new name renames them")},
        {QStringLiteral("UserName"), &TGateway::UserName},
        {QStringLiteral("AuthUsername"), &TGateway::AuthUsername},
        {QStringLiteral("Password"), &TGateway::Password},
        {QStringLiteral("Realm"), &TGateway::Realm},
        {QStringLiteral("FromUser"), &TGateway::FromUser},
        {QStringLiteral("FromDomain"), &TGateway::FromDomain},
        {QStringLiteral("Extension"), &TGateway::Extension},
        {QStringLiteral("Proxy"), &TGateway::Proxy},
        {QStringLiteral("OutboundProxy"), &TGateway::OutboundProxy},
        {QStringLiteral("RegisterProxy"), &TGateway::RegisterProxy},
        {QStringLiteral("ExpireSeconds"), &TGateway::ExpireSeconds},
        {QStringLiteral("RegisterWithGateway"), &TGateway::RegisterWithGateway},
        {QStringLiteral("RetrySeconds"), &TGateway::RetrySeconds},
        {QStringLiteral("Ping"), &TGateway::Ping},
        {QStringLiteral("Context"), &TGateway::Context},
        {QStringLiteral("CallerIdInFrom"), &TGateway::CallerIdInFrom},
        {QStringLiteral("GatewayType"), &TGateway::GatewayType, TFieldAccess::ReadOnly,
         QStringLiteral("the provider template; the first argument of add")},
        {QStringLiteral("Id"), &TGateway::Id, TFieldAccess::ReadOnly},
    };
    return fields;
}

QString templatesText()
{
    QString text = QStringLiteral("Provider templates (number or label):\n");
    for (int type : TGateway::OfferedTemplates())
        text += QStringLiteral("  %1  %2\n").arg(type).arg(TGateway::TemplateLabel(type));
    return text;
}

const TGateway* findTrunk(const TDBInterface& db, const QString& name)
{
    if (const TGateway* t = RecordChecks::FindTrunk(db, name)) return t;
    throw ECliFailure(QStringLiteral("There is no trunk named \"%1\".").arg(name));
}

void runTemplates(TCliContext& ctx)
{
    if (ctx.Json()) {
        QJsonArray a;
        for (int type : TGateway::OfferedTemplates())
            a.append(QJsonObject{{QStringLiteral("GatewayType"), type}, {QStringLiteral("Label"), TGateway::TemplateLabel(type)}});
        CliOut::PrintJson(a);
        return;
    }
    QList<QStringList> rows;
    for (int type : TGateway::OfferedTemplates()) {
        TGateway t;
        t.ApplyTemplate(type);
        rows << QStringList{QString::number(type), TGateway::TemplateLabel(type), t.Name};
    }
    CliOut::PrintTable({QStringLiteral("#"), QStringLiteral("Provider"), QStringLiteral("Trunk name it starts with")}, rows);
}

void runList(TCliContext& ctx)
{
    const TDBInterface& db = ctx.Db();
    std::vector<const TGateway*> trunks;
    for (const auto& t : *db.Gateways) trunks.push_back(t.get());
    std::sort(trunks.begin(), trunks.end(), [](auto a, auto b) { return a->Name.compare(b->Name, Qt::CaseInsensitive) < 0; });
    if (ctx.Json()) {
        QJsonArray a;
        for (auto t : trunks) a.append(CliFields::ToJson(trunkFields(), *t));
        CliOut::PrintJson(a);
        return;
    }
    QList<QStringList> rows;
    for (auto t : trunks)
        rows << QStringList{t->Name, TGateway::TemplateLabel(t->GatewayType), t->Proxy,
                            t->RegisterWithGateway ? QStringLiteral("yes") : QStringLiteral("no"), QString::number(t->Id)};
    CliOut::PrintTable({QStringLiteral("Name"), QStringLiteral("Provider"), QStringLiteral("Proxy"),
                        QStringLiteral("Register"), QStringLiteral("Id")},
                       rows);
}

void runShow(TCliContext& ctx)
{
    CliRecords::PrintRecord(ctx, trunkFields(), *findTrunk(ctx.Db(), ctx.Positional().first()));
}

void storeTrunk(TCliContext& ctx, TDBInterface& db, TGateway& t, TEditMode mode)
{
    CliRecords::Require(RecordChecks::CheckTrunk(db, mode, t.Name, t.Id));
    const QString name = t.Name;
    if (mode == TEditMode::Add) {
        auto* added = new TGateway;
        added->CopyFieldsFrom(t);
        db.AddTrunk(added);
    } else {
        db.UpdateTrunk(t);
    }
    db.SaveTrunks();
    db.LoadTrunks();
    const TGateway* stored = findTrunk(db, name);
    CliRecords::PrintRecord(ctx, trunkFields(), *stored,
                            QStringLiteral("%1 trunk %2 (%3).")
                                .arg(mode == TEditMode::Add ? QStringLiteral("Added") : QStringLiteral("Saved"), stored->Name,
                                     TGateway::TemplateLabel(stored->GatewayType)));
}

void runAdd(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    QStringList args = ctx.Positional();
    const QString templateText = args.takeFirst();
    const int type = RecordChecks::ParseTrunkTemplate(templateText);
    if (type < 0)
        throw ECliUsage(QStringLiteral("\"%1\" is not a provider template; see kestrix-cli trunks templates.").arg(templateText));
    TGateway t;
    t.ApplyTemplate(type);
    CliFields::Assign(trunkFields(), t, args);
    storeTrunk(ctx, db, t, TEditMode::Add);
}

void runEdit(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    QStringList args = ctx.Positional();
    TGateway t;
    db.GetTrunkById(findTrunk(db, args.takeFirst())->Id, t);
    CliFields::Assign(trunkFields(), t, args);
    storeTrunk(ctx, db, t, TEditMode::Edit);
}

void runDelete(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    const QString name = findTrunk(db, ctx.Positional().first())->Name;
    CliRecords::EnterPendingDeletes(db, db.DeleteTrunk(name));
    for (const auto& r : *db.OutboundRoutes)
        if (r->Trunk == name)
            CliOut::Warn(QStringLiteral("warning: the outbound route %1 still goes out through the trunk %2.").arg(r->Name, name));
    CliRecords::PrintDeleted(ctx, QStringLiteral("trunk"), name);
}

} // namespace

void Cli::RegisterTrunkCommands(TCliApp& app)
{
    using CliRecords::Command;
    TGateway defaults;
    const QString fields = CliFields::Help(trunkFields(), defaults);
    app.Add(Command(Group, QStringLiteral("templates"), QString(), 0, 0,
                    QStringLiteral("List the provider templates a trunk is made from."), QString(), runTemplates));
    app.Add(Command(Group, QStringLiteral("list"), QString(), 0, 0, QStringLiteral("List the trunks."), QString(), runList));
    app.Add(Command(Group, QStringLiteral("show"), QStringLiteral("NAME"), 1, 1, QStringLiteral("Show a trunk."), QString(),
                    runShow));
    app.Add(Command(Group, QStringLiteral("add"), QStringLiteral("TEMPLATE [FIELD=VALUE ...]"), 1, -1,
                    QStringLiteral("Add a trunk from a provider template (by number or label)."),
                    QStringLiteral("The template fills the fields the provider needs; the fields given change them.\n"
                                   "Writes <Name>.trk and the gateway file <Name>.xml in sip_profiles/external/ and "
                                   "enters\nboth as pending uploads.\n"
                                   "Example: kestrix-cli trunks add FlowRoute Name=Office UserName=15551230000 "
                                   "Password=...\n\n")
                        + templatesText() + u'\n' + fields,
                    runAdd));
    app.Add(Command(Group, QStringLiteral("edit"), QStringLiteral("NAME FIELD=VALUE ..."), 1, -1,
                    QStringLiteral("Change a trunk (its template cannot change)."), fields, runEdit));
    app.Add(Command(Group, QStringLiteral("delete"), QStringLiteral("NAME"), 1, 1, QStringLiteral("Delete a trunk."),
                    QStringLiteral("Deletes the trunk's gateway file and record file and enters their deletion on the "
                                   "server\nas pending."),
                    runDelete));
}
