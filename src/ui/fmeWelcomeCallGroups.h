#pragma once
// Section welcome frame: "Welcome to Call Groups."
#include "ui/fmeSectionWelcome.h"

class TframeWelcomeCallGroups : public TframeSectionWelcome {
    Q_OBJECT
public:
    explicit TframeWelcomeCallGroups(QWidget* parent = nullptr);
};
