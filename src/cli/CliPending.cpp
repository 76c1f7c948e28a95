// pending: the files waiting to be committed to the server.
#include "cli/CliApp.h"
#include "cli/CliOutput.h"
#include "core/DBInterface.h"

namespace {
QString actionName(qint32 action)
{
    switch (action) {
    case fnaaPut: return QStringLiteral("upload");
    case fnaaDelete: return QStringLiteral("delete");
    default: return QStringLiteral("invalid (%1)").arg(action);
    }
}

void runPending(TCliContext& ctx)
{
    TDBInterface& db = ctx.DbWithoutRecords();
    const TFilesNeedingCommitingList& list = *db.FilesNeedingCommiting;
    if (ctx.Json()) {
        QJsonArray a;
        for (int i = 0; i < list.Count(); ++i) {
            const TFileNeedingCommiting* e = list.Items(i);
            a.append(QJsonObject{{QStringLiteral("Action"), actionName(e->ActionType)},
                                 {QStringLiteral("ActionType"), e->ActionType},
                                 {QStringLiteral("SrcFile"), e->SrcFile},
                                 {QStringLiteral("SrcFolder"), e->SrcFolder},
                                 {QStringLiteral("DestFolder"), e->DestFolder}});
        }
        CliOut::PrintJson(a);
        return;
    }
    if (list.Count() == 0) {
        CliOut::Print(QStringLiteral("Nothing is waiting to be committed."));
        return;
    }
    QList<QStringList> rows;
    for (int i = 0; i < list.Count(); ++i) {
        const TFileNeedingCommiting* e = list.Items(i);
        rows << QStringList{QString::number(i + 1), actionName(e->ActionType), e->DestFolder + e->SrcFile,
                            e->SrcFolder.isEmpty() ? QString() : e->SrcFolder + e->SrcFile};
    }
    CliOut::PrintTable({QStringLiteral("#"), QStringLiteral("Action"), QStringLiteral("Server file"),
                        QStringLiteral("Local file")},
                       rows);
}
} // namespace

void Cli::RegisterPendingCommands(TCliApp& app)
{
    TCliCommand list;
    list.Group = QStringLiteral("pending");
    list.Summary = QStringLiteral("List the files waiting to be committed to the server.");
    list.Details = QStringLiteral(
        "The list is the one the window shows by enabling Commit: every saved record enters its\n"
        "record file and generated file as uploads, every deleted record its files as deletes.\n"
        "A file entered again takes its earlier entry's place.");
    list.Run = runPending;
    app.Add(list);
}
