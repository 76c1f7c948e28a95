#pragma once
// Placeholder until the engine file is built.
#include <QString>

class TDirectoryDomain {
public:
    TDirectoryDomain() = default;
};
