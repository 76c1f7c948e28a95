#include "cli/CliRecords.h"
#include "core/DBInterface.h"

namespace CliRecords {

TCliCommand Command(const QString& group, const QString& verb, const QString& arguments, int minArgs, int maxArgs,
                    const QString& summary, const QString& details, std::function<void(TCliContext&)> run)
{
    TCliCommand c;
    c.Group = group;
    c.Verb = verb;
    c.Arguments = arguments;
    c.MinArgs = minArgs;
    c.MaxArgs = maxArgs;
    c.Summary = summary;
    c.Details = details;
    c.Run = std::move(run);
    return c;
}

void Require(const TCheckResult& check)
{
    if (!check.Ok()) throw ECliFailure(check.Message);
}

void EnterPendingDeletes(TDBInterface& db, const std::vector<TFileNeedingCommiting>& deletes)
{
    for (const TFileNeedingCommiting& d : deletes) db.FilesNeedingCommiting->Add(d);
}

void PrintDeleted(TCliContext& ctx, const QString& kind, const QString& key)
{
    if (ctx.Json()) CliOut::PrintJson(QJsonObject{{QStringLiteral("Deleted"), key}, {QStringLiteral("Kind"), kind}});
    else CliOut::Print(QStringLiteral("Deleted %1 %2.").arg(kind, key));
}

} // namespace CliRecords
