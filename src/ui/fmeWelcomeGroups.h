#pragma once
// Section welcome frame: "Welcome to Groups."
#include "ui/fmeSectionWelcome.h"

class TframeWelcomeGroups : public TframeSectionWelcome {
    Q_OBJECT
public:
    explicit TframeWelcomeGroups(QWidget* parent = nullptr);
};
