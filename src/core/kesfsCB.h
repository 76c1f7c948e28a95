#pragma once
#include <QString>

// The default application settings, without file access.
class TKesFSCB {
public:
    TKesFSCB();
    bool FirstTimeRun;
    int FormTop;
    int FormLeft;
    int FormWidth;
    int FormHeight;
    int SplitterPos;
    int TrunkKeyColWidth;
    int OutboundRouteKeyColWidth;
    QString LastDomain;
    QString LastIPAddress;
    int LastViewedTab;
    int MaxProgBarInitialTransfer;
    QString WorkingDir;
};
