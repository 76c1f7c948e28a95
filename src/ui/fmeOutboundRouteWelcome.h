#pragma once
// Section welcome frame: "Add Outbound Routes to Kestrix."
#include "ui/fmeSectionWelcome.h"

class TframeOutboundRouteWelcome : public TframeSectionWelcome {
    Q_OBJECT
public:
    explicit TframeOutboundRouteWelcome(QWidget* parent = nullptr);
};
