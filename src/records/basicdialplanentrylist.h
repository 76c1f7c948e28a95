#pragma once
#include "core/RecordList.h"
#include "records/basicdialplanentry.h"

class TBasicDialplanEntryList : public TRecordList<TBasicDialplanEntry> {
};
