#pragma once
#include "core/RecordList.h"
#include "records/InboundRoute.h"

class TInboundRouteList : public TRecordList<TInboundRoute> {
};
