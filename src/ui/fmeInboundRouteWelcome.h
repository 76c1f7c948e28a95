#pragma once
// Section welcome frame: "Add Inbound Routes to Kestrix."
#include "ui/fmeSectionWelcome.h"

class TframeInboundRouteWelcome : public TframeSectionWelcome {
    Q_OBJECT
public:
    explicit TframeInboundRouteWelcome(QWidget* parent = nullptr);
};
