#pragma once
#include "core/RecordList.h"
#include "records/User.h"

class TUserList : public TRecordList<TUser> {
};
