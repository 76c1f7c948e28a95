#pragma once
#include "core/RecordList.h"
#include "records/OutboundRoute.h"

class TOutboundRouteList : public TRecordList<TOutboundRoute> {
};
