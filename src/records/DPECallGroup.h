#pragma once
// Placeholder until the dialplan entry kinds are built.
class TDPECallGroup {
public:
    int Id = 0;
};
