#include "ui/fmeWelcomeUsers.h"

TframeWelcomeUsers::TframeWelcomeUsers(QWidget* parent) : TframeSectionWelcome(QStringLiteral("Add users to Kestrix."), parent)
{
    setObjectName(QStringLiteral("frameWelcomeUsers"));
}
