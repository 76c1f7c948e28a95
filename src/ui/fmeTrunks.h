#pragma once
// Section welcome frame: "Add Trunks to Kestrix."
#include "ui/fmeSectionWelcome.h"

class TframeTrunks : public TframeSectionWelcome {
    Q_OBJECT
public:
    explicit TframeTrunks(QWidget* parent = nullptr);
};
