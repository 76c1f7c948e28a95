#pragma once
// Placeholder until the dialplan entry kinds are built.
class TDPEVoicemailMain {
public:
    int Id = 0;
};
