#include "records/InboundRouteDestList.h"
#include "core/KXGlobalsCB.h"

#include <algorithm>
#include <memory>

void TKXInboundRouteDestList::Add(TKXInboundRouteDest* step, int largestKnownId)
{
    std::unique_ptr<TKXInboundRouteDest> owned(step);
    if (owned->Id < 0)
        owned->Id = TKXGlobalsCB::TakeNextId(TIdCounter::InboundRouteDest, std::max(largestKnownId, MaxId()));
    if (owned->Position < 0) owned->Position = NextPosition();
    TRecordList::Add(owned.release());
}

void TKXInboundRouteDestList::AddCopy(const TKXInboundRouteDest& step)
{
    TRecordList::Add(new TKXInboundRouteDest(step));
}

int TKXInboundRouteDestList::NextPosition() const
{
    int largest = -1;
    for (const auto& s : *this) largest = std::max(largest, s->Position);
    return largest + 1;
}

void TKXInboundRouteDestList::SortByPosition()
{
    StableSort([](const TKXInboundRouteDest& a, const TKXInboundRouteDest& b) { return a.Position < b.Position; });
}

bool TKXInboundRouteDestList::SwapPositions(int stepIdA, int stepIdB)
{
    TKXInboundRouteDest* a = FindById(stepIdA);
    TKXInboundRouteDest* b = FindById(stepIdB);
    if (!a || !b) return false;
    std::swap(a->Position, b->Position);
    a->Modified = true;
    b->Modified = true;
    SortByPosition();
    return true;
}
