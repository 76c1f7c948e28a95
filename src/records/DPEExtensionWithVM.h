#pragma once
// Placeholder until the dialplan entry kinds are built.
class TDPEExtensionWithVM {
public:
    int Id = 0;
};
