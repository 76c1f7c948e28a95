#pragma once
#include "core/RecordList.h"
#include "records/InboundRouteDest.h"

class TKXInboundRouteDestList : public TRecordList<TKXInboundRouteDest> {
};
