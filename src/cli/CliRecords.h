#pragma once
// Helpers shared by the record commands.
#include "cli/CliApp.h"
#include "cli/CliFields.h"
#include "core/RecordChecks.h"
#include "core/WriteBatch.h"

#include "sync/fileneedingcommiting.h"

#include <functional>
#include <vector>

class TDBInterface;

// Around a save of many records at once (an import): the files are written
// as one batch and made durable together.
class TCliBulkWrite {
public:
    explicit TCliBulkWrite(TDBInterface&) {}
    TCliBulkWrite(const TCliBulkWrite&) = delete;
    TCliBulkWrite& operator=(const TCliBulkWrite&) = delete;
    void Commit() { m_batch.Commit(); }

private:
    TWriteBatch m_batch;
};

namespace CliRecords {

TCliCommand Command(const QString& group, const QString& verb, const QString& arguments, int minArgs, int maxArgs,
                    const QString& summary, const QString& details, std::function<void(TCliContext&)> run);

// Throws ECliFailure with the check's message when it failed.
void Require(const TCheckResult& check);

// Prints a record: JSON, or the sentence for people when one is given, or
// its fields.
template <class T>
void PrintRecord(TCliContext& ctx, const TCliFields<T>& fields, const T& record, const QString& done = QString())
{
    if (ctx.Json()) CliOut::PrintJson(CliFields::ToJson(fields, record));
    else if (!done.isEmpty()) CliOut::Print(done);
    else CliOut::PrintFields(CliFields::ToPairs(fields, record));
}

// Enters pending deletes a delete operation returned (the window's delete
// actions enter them straight into the list, whatever the server address).
void EnterPendingDeletes(TDBInterface& db, const std::vector<TFileNeedingCommiting>& deletes);

void PrintDeleted(TCliContext& ctx, const QString& kind, const QString& key);

} // namespace CliRecords
