#pragma once
#include "core/RecordList.h"
#include "records/CallGroup.h"

class TKXCallGroupList : public TRecordList<TKXCallGroup> {
};
