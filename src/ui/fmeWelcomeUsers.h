#pragma once
// Section welcome frame: "Add users to Kestrix."
#include "ui/fmeSectionWelcome.h"

class TframeWelcomeUsers : public TframeSectionWelcome {
    Q_OBJECT
public:
    explicit TframeWelcomeUsers(QWidget* parent = nullptr);
};
