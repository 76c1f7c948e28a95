#pragma once
// Owned by the database interface beside the dialplan context generator; it
// holds an empty line list and nothing reads, writes or generates from it.
#include <QStringList>

class TDialplanDomain {
public:
    TDialplanDomain() = default;
    QStringList XMLText;
};
