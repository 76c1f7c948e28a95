#pragma once
#include <QString>

// The two engine-side globals of globals.glo, read from and written to a file
// the caller names; the Id counters in the same file are left untouched.
class TKesFSGlobalsCB {
public:
    TKesFSGlobalsCB();
    void LoadFromFile(const QString& path);
    void SaveToFile(const QString& path) const;

    QString RingbackCountry;
    QString FreeSWITCHConfDir;
};
