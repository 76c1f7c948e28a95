#pragma once
#include "core/RecordList.h"
#include "records/InboundRouteDest.h"

// The steps of a route (or all steps read from disk).
class TKXInboundRouteDestList : public TRecordList<TKXInboundRouteDest> {
public:
    // Takes ownership. A step without an Id takes the next one of
    // LastInboundRouteDestId, never one at or below largestKnownId or below a
    // listed step's Id (pass the largest step Id known anywhere); a step
    // without a position goes to the end of the chain.
    void Add(TKXInboundRouteDest* step, int largestKnownId = 0);
    // Appends a copy of the step as it is (keeping its Id and position).
    void AddCopy(const TKXInboundRouteDest& step);
    // Largest Position + 1; 0 for an empty list.
    int NextPosition() const;
    // Ascending Position; steps with equal positions keep their order.
    void SortByPosition();
    // Swaps the positions of two listed steps, marks both modified and sorts
    // (the route dialog's up and down buttons). False when either is not listed.
    bool SwapPositions(int stepIdA, int stepIdB);
};
