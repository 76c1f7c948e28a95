#include "ui/fmeTrunks.h"

TframeTrunks::TframeTrunks(QWidget* parent) : TframeSectionWelcome(QStringLiteral("Add Trunks to Kestrix."), parent)
{
    setObjectName(QStringLiteral("frameTrunks"));
}
