#pragma once
// Owned by the database interface beside the directory domain generator; it
// holds an empty line list and nothing reads, writes or generates from it.
#include <QStringList>

class TDirectoryDomain {
public:
    TDirectoryDomain() = default;
    QStringList XMLText;
};
