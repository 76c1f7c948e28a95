#include "ui/fmeDPGroupDial.h"
#include "ui/kxFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

using namespace KxFrame;

TframeDPGroupDial::TframeDPGroupDial(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("frameDPGroupDial"));
    edt4DialledNumber = Edit("edt4DialledNumber", this);
    edt4DialledNumber->setFixedWidth(120);
    cbo4CallGroups = DropDown("cbo4CallGroups", this);
    cbo4CallGroups->setMinimumWidth(140);
    sp4Seconds = Spin("sp4Seconds", 1, 180, 1, this);
    chk4DivertToVoicemail = Check("chk4DivertToVoicemail", tr("Divert to Voicemail..."), this);
    cbo4VoicemailBox = DropDown("cbo4VoicemailBox", this);
    cbo4VoicemailBox->setMinimumWidth(120);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(10);
    grid->addWidget(Caption(tr("When the number"), this, edt4DialledNumber), 0, 0);
    grid->addWidget(edt4DialledNumber, 0, 1);
    grid->addWidget(Caption(tr("is dialled"), this), 0, 2, 1, 3);
    grid->addWidget(Caption(tr("Ring CallGroup"), this, cbo4CallGroups), 1, 0);
    grid->addWidget(cbo4CallGroups, 1, 1);
    grid->addWidget(Caption(tr("for"), this, sp4Seconds), 1, 2);
    grid->addWidget(sp4Seconds, 1, 3);
    grid->addWidget(Caption(tr("seconds"), this), 1, 4);
    grid->addWidget(Caption(tr("Then"), this), 2, 0);
    grid->addWidget(chk4DivertToVoicemail, 2, 1);
    grid->addWidget(cbo4VoicemailBox, 2, 2, 1, 3);
    grid->setColumnStretch(5, 1);
    grid->setRowStretch(3, 1);
}

void TframeDPGroupDial::SetEditable(bool editable)
{
    SetEnabled({edt4DialledNumber, cbo4CallGroups, sp4Seconds, chk4DivertToVoicemail, cbo4VoicemailBox},
               editable);
}
