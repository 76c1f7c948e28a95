#include "ui/fmeDialplanWelcome.h"

TframeDialplanWelcome::TframeDialplanWelcome(QWidget* parent) : TframeSectionWelcome(QStringLiteral("Add dialplan entries to Kestrix."), parent)
{
    setObjectName(QStringLiteral("frameDialplanWelcome"));
}
