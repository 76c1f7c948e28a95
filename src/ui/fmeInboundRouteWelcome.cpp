#include "ui/fmeInboundRouteWelcome.h"

TframeInboundRouteWelcome::TframeInboundRouteWelcome(QWidget* parent) : TframeSectionWelcome(QStringLiteral("Add Inbound Routes to Kestrix."), parent)
{
    setObjectName(QStringLiteral("frameInboundRouteWelcome"));
}
