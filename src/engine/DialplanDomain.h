#pragma once
// Placeholder until the engine file is built.
#include <QString>

class TDialplanDomain {
public:
    TDialplanDomain() = default;
};
