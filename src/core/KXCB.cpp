#include "core/KXCB.h"
#include "core/IniFile.h"
#include "core/Store.h"
#include "core/kesfsCB.h"

namespace {
const QString G = QStringLiteral("General");
}

TKXControlBlock::TKXControlBlock()
{
    const TKesFSCB d;
    FirstTimeRun = d.FirstTimeRun;
    FormTop = d.FormTop;
    FormLeft = d.FormLeft;
    FormWidth = d.FormWidth;
    FormHeight = d.FormHeight;
    SplitterPos = d.SplitterPos;
    TrunkKeyColWidth = d.TrunkKeyColWidth;
    OutboundRouteKeyColWidth = d.OutboundRouteKeyColWidth;
    LastDomain = d.LastDomain;
    LastIPAddress = d.LastIPAddress;
    LastViewedTab = d.LastViewedTab;
    MaxProgBarInitialTransfer = d.MaxProgBarInitialTransfer;
    WorkingDir = d.WorkingDir;
}

QString TKXControlBlock::SettingsFilePath()
{
    return Store::AppConfigDir() + QString::fromLatin1(Store::ApplicationName) + QStringLiteral(".cfg");
}

void TKXControlBlock::LoadFromFile()
{
    Store::EnsureDir(Store::AppConfigDir());
    const TIniFile ini(SettingsFilePath());
    FirstTimeRun = ini.ReadBool(G, QStringLiteral("FirstTimeRun"), FirstTimeRun);
    LastViewedTab = ini.ReadInteger(G, QStringLiteral("LastViewedTab"), LastViewedTab);
    FormTop = ini.ReadInteger(G, QStringLiteral("FormTop"), FormTop);
    FormLeft = ini.ReadInteger(G, QStringLiteral("FormLeft"), FormLeft);
    FormWidth = ini.ReadInteger(G, QStringLiteral("FormWidth"), FormWidth);
    FormHeight = ini.ReadInteger(G, QStringLiteral("FormHeight"), FormHeight);
    SplitterPos = ini.ReadInteger(G, QStringLiteral("SplitterPos"), SplitterPos);
    TrunkKeyColWidth = ini.ReadInteger(G, QStringLiteral("TrunkKeyColWidth"), TrunkKeyColWidth);
    OutboundRouteKeyColWidth =
        ini.ReadInteger(G, QStringLiteral("OutboundRouteKeyColWidth"), OutboundRouteKeyColWidth);
    LastDomain = ini.ReadString(G, QStringLiteral("LastDomain"), LastDomain);
    LastIPAddress = ini.ReadString(G, QStringLiteral("LastIPAddress"), LastIPAddress);
    MaxProgBarInitialTransfer =
        ini.ReadInteger(G, QStringLiteral("MaxProgBarInitialTransfer"), MaxProgBarInitialTransfer);
    WorkingDir = ini.ReadString(G, QStringLiteral("WorkingDir"), WorkingDir);
}

void TKXControlBlock::SaveToFile() const
{
    Store::EnsureDir(Store::AppConfigDir());
    TIniFile ini(SettingsFilePath());
    ini.WriteBool(G, QStringLiteral("FirstTimeRun"), FirstTimeRun);
    ini.WriteInteger(G, QStringLiteral("LastViewedTab"), LastViewedTab);
    ini.WriteInteger(G, QStringLiteral("FormTop"), FormTop);
    ini.WriteInteger(G, QStringLiteral("FormLeft"), FormLeft);
    ini.WriteInteger(G, QStringLiteral("FormWidth"), FormWidth);
    ini.WriteInteger(G, QStringLiteral("FormHeight"), FormHeight);
    ini.WriteInteger(G, QStringLiteral("SplitterPos"), SplitterPos);
    ini.WriteInteger(G, QStringLiteral("TrunkKeyColWidth"), TrunkKeyColWidth);
    ini.WriteInteger(G, QStringLiteral("OutboundRouteKeyColWidth"), OutboundRouteKeyColWidth);
    ini.WriteString(G, QStringLiteral("LastDomain"), LastDomain);
    ini.WriteString(G, QStringLiteral("LastIPAddress"), LastIPAddress);
    ini.WriteInteger(G, QStringLiteral("MaxProgBarInitialTransfer"), MaxProgBarInitialTransfer);
    ini.WriteString(G, QStringLiteral("WorkingDir"), WorkingDir);
    ini.UpdateFile();
}
