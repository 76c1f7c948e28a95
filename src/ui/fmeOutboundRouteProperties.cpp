#include "ui/fmeOutboundRouteProperties.h"
#include "ui/kxFrame.h"
#include "ui/kxKeyValueGrid.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace KxFrame;

TframeOutboundRouteProperties::TframeOutboundRouteProperties(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("frameOutboundRouteProperties"));
    edtOutboundRouteName = Edit("edtOutboundRouteName", this);
    edtDigitisToDialForLine = Edit("edtDigitisToDialForLine", this);
    edtDigitisToDialForLine->setFixedWidth(80);
    edtDigitExpression = Edit("edtDigitExpression", this);
    cboTrunkToUse = DropDown("cboTrunkToUse", this);
    cboTrunkToUse->setMinimumWidth(180);
    vleOutboundRouteOptions = new TKeyValueGrid(this);
    vleOutboundRouteOptions->setObjectName(QStringLiteral("vleOutboundRouteOptions"));
    vleOutboundRouteOptions->setHorizontalHeaderLabels({tr("Option"), tr("Value")});
    vleOutboundRouteOptions->AddEmptyRow();

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    int row = 0;
    grid->addWidget(Caption(tr("Outbound Route Name"), this, edtOutboundRouteName), row, 0);
    grid->addWidget(edtOutboundRouteName, row++, 1);
    grid->addWidget(Caption(tr("Digit(s) to dial for Outside line"), this, edtDigitisToDialForLine), row, 0);
    grid->addWidget(edtDigitisToDialForLine, row++, 1, Qt::AlignLeft);
    grid->addWidget(Caption(tr("Digit expression to match"), this, edtDigitExpression), row, 0);
    grid->addWidget(edtDigitExpression, row++, 1);
    grid->addWidget(Caption(tr("Trunk to use"), this, cboTrunkToUse), row, 0);
    grid->addWidget(cboTrunkToUse, row++, 1, Qt::AlignLeft);
    grid->addWidget(Caption(tr("Outbound Route options"), this, vleOutboundRouteOptions), row++, 0, 1, 2);
    grid->addWidget(vleOutboundRouteOptions, row, 0, 1, 2);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);

    connect(cboTrunkToUse, &QComboBox::currentIndexChanged, this,
            &TframeOutboundRouteProperties::cboTrunkToUseChange);
}

void TframeOutboundRouteProperties::SetEditable(bool editable)
{
    SetEnabled({edtOutboundRouteName, edtDigitisToDialForLine, edtDigitExpression, cboTrunkToUse,
                vleOutboundRouteOptions},
               editable);
}
