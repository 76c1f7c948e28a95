#pragma once
#include "core/RecordList.h"
#include "records/InboundRoute.h"

// The inbound routes, in the order loaded or added; names are not checked here.
class TInboundRouteList : public TRecordList<TInboundRoute> {
};
