#pragma once
#include "core/RecordList.h"
#include "records/CallGroup.h"

// The call groups, in the order loaded or added; names are not checked here.
class TKXCallGroupList : public TRecordList<TKXCallGroup> {
};
