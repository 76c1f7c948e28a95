#pragma once
#include <QString>

enum class TIdCounter { CallGroup, Gateway, User, InboundRoute, InboundRouteDest };

// Record Id counters and two engine-side globals, stored in globals.glo in the
// application configuration folder.
class TKXGlobalsCB {
public:
    TKXGlobalsCB();
    static QString FilePath();

    void LoadFromFile();
    void SaveToFile() const;

    // Takes the next Id of a kind: one more than the larger of the stored
    // counter and the largest Id already loaded of that kind, stored at once,
    // so a lost globals.glo never hands out an Id that a loaded record holds.
    static int TakeNextId(TIdCounter counter, int largestLoadedId = 0);

    QString RingbackCountry;
    QString FreeSWITCHConfDir;
    int LastCallGroupId;
    int LastGatewayId;
    int LastUserId;
    int LastInboundRouteId;
    int LastInboundRouteDestId;
};
