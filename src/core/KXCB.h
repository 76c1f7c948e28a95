#pragma once
#include <QString>

// The application's own settings, stored in <application name>.cfg in the
// application configuration folder.
class TKXControlBlock {
public:
    TKXControlBlock();
    static QString SettingsFilePath();

    void LoadFromFile();
    void SaveToFile() const;

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
