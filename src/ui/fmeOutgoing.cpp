#include "ui/fmeOutgoing.h"
#include "ui/kxFrame.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace KxFrame;

TframeOutgoing::TframeOutgoing(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("frameOutgoing"));
    edt5DialledNumber = Edit("edt5DialledNumber", this);
    edt5DialledNumber->setFixedWidth(120);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(10);
    grid->addWidget(Caption(tr("When the number"), this, edt5DialledNumber), 0, 0);
    grid->addWidget(edt5DialledNumber, 0, 1);
    grid->addWidget(Caption(tr("is dialled"), this), 0, 2);
    grid->addWidget(Caption(tr("Goto Voicemail main"), this), 1, 0, 1, 3);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(2, 1);
}

void TframeOutgoing::SetEditable(bool editable) { edt5DialledNumber->setEnabled(editable); }
