#include "cli/CliRecords.h"

TCliBulkWrite::TCliBulkWrite(TDBInterface&) {}
TCliBulkWrite::~TCliBulkWrite() = default;
