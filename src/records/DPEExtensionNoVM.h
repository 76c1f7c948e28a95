#pragma once
// Placeholder until the dialplan entry kinds are built.
class TDPEExtensionNoVM {
public:
    int Id = 0;
};
