#include "ui/fmeOutboundRouteWelcome.h"

TframeOutboundRouteWelcome::TframeOutboundRouteWelcome(QWidget* parent) : TframeSectionWelcome(QStringLiteral("Add Outbound Routes to Kestrix."), parent)
{
    setObjectName(QStringLiteral("frameOutboundRouteWelcome"));
}
