#pragma once
// Helpers shared by the record commands.
#include "core/WriteBatch.h"

class TDBInterface;

// Around a save of many records at once (an import): the files are written
// as a batch and made durable together, and Ids are taken in one go.
class TCliBulkWrite {
public:
    explicit TCliBulkWrite(TDBInterface& db);
    ~TCliBulkWrite();
    TCliBulkWrite(const TCliBulkWrite&) = delete;
    TCliBulkWrite& operator=(const TCliBulkWrite&) = delete;
    void Commit() { m_batch.Commit(); }

private:
    TWriteBatch m_batch;
};
