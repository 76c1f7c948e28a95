#pragma once
// One step of an inbound route's chain: ring an extension, a call group, a
// mailbox or a mobile number for a number of seconds. Kept as <Name>.ird in
// the public dialplan folder, beside its route.
#include "core/IniFile.h"

#include <QStringList>

// DestinationType values.
enum TInboundRouteDestType { irdExtension = 1, irdGroup = 2, irdMailbox = 3, irdMobile = 4 };

class TKXInboundRouteDest {
public:
    TKXInboundRouteDest() = default;

    void LoadFromIni(const TIniFile& ini);
    void SaveToIni(TIniFile& ini) const;
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;

    // "Extension", "Group", "Mailbox", "Mobile" for the types 1 to 4, in that
    // order; TypeLabel gives "" for any other value.
    static QStringList TypeLabels();
    static QString TypeLabel(int destinationType);

    int Id = -1; // -1: none given yet
    int InboundRouteId = 0;
    int CallTimeout = 20; // seconds this step rings
    int DestinationType = 0;
    // Extension number, call-group name, mailbox number or mobile number.
    QString Destination;
    bool Modified = true;
    QString Name;      // base name of the record file; unique among all steps
    int Position = -1; // place in the chain; -1: none given yet
    // Mobile steps: the trunk (gateway name) the call to the mobile number goes
    // out through. Stored under the key Trunk after the other keys.
    QString Trunk;
    // Not stored. Steps have no tree node; the load loop sets this all the same.
    int NodeKey = 0;
    // Base name of the step's record file in the working directory (set when it
    // is read or written; empty for a step never written). Not stored.
    QString SavedName;
};
