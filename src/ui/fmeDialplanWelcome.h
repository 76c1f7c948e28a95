#pragma once
// Section welcome frame: "Add dialplan entries to Kestrix."
#include "ui/fmeSectionWelcome.h"

class TframeDialplanWelcome : public TframeSectionWelcome {
    Q_OBJECT
public:
    explicit TframeDialplanWelcome(QWidget* parent = nullptr);
};
