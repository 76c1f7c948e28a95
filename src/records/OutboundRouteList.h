#pragma once
#include "core/RecordList.h"
#include "records/OutboundRoute.h"

// The outbound routes, in the order loaded or added; names are not checked here.
class TOutboundRouteList : public TRecordList<TOutboundRoute> {
};
