#pragma once
// All users, in the order they were added or loaded; the list owns them.
#include "core/RecordList.h"
#include "records/User.h"

class TUserList : public TRecordList<TUser> {
};
