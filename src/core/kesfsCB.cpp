#include "core/kesfsCB.h"
#include "core/Store.h"

TKesFSCB::TKesFSCB()
    : FirstTimeRun(true), FormTop(50), FormLeft(50), FormWidth(680), FormHeight(430),
      SplitterPos(170), TrunkKeyColWidth(150), OutboundRouteKeyColWidth(150), LastViewedTab(0),
      MaxProgBarInitialTransfer(0), WorkingDir(Store::AppConfigDir())
{
}
