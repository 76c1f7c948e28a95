#pragma once
#include "core/RecordList.h"
#include "records/Gateway.h"

class TGatewayList : public TRecordList<TGateway> {
};
