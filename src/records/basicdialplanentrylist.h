#pragma once
#include "core/RecordList.h"
#include "records/basicdialplanentry.h"

// The listed dialplan entries (heads only), in the order they were read.
class TBasicDialplanEntryList : public TRecordList<TBasicDialplanEntry> {
public:
    // Index of the first entry whose NumberDialled text is exactly number, -1.
    int IndexOfNumber(const QString& number) const
    {
        for (int i = 0; i < Count(); ++i)
            if (Items(i)->NumberDialled == number) return i;
        return -1;
    }
};
