#include "ui/fmeWelcomeGroups.h"

TframeWelcomeGroups::TframeWelcomeGroups(QWidget* parent) : TframeSectionWelcome(QStringLiteral("Welcome to Groups."), parent)
{
    setObjectName(QStringLiteral("frameWelcomeGroups"));
}
