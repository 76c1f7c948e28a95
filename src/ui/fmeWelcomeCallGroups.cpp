#include "ui/fmeWelcomeCallGroups.h"

TframeWelcomeCallGroups::TframeWelcomeCallGroups(QWidget* parent) : TframeSectionWelcome(QStringLiteral("Welcome to Call Groups."), parent)
{
    setObjectName(QStringLiteral("frameWelcomeCallGroups"));
}
