#pragma once
// Placeholder until the record kind is built.
#include "core/IniFile.h"
#include <QStringList>

class TKXInboundRouteDest {
public:
    TKXInboundRouteDest() = default;
    void LoadFromIni(const TIniFile& ini) { Id = ini.ReadInteger(QStringLiteral("General"), QStringLiteral("Id"), Id); }
    int Id = 0;
    int NodeKey = 0;
    bool Modified = false;
};
