#pragma once
// Placeholder until the engine file is built.
#include <QString>

class TVoicemailConf {
public:
    TVoicemailConf() = default;
};
