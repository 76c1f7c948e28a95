#include "ui/fmeOutboundRouteProperties.h"
#include "ui/kxFrame.h"
#include "ui/kxKeyValueGrid.h"

#include "core/DBInterface.h"
#include "records/Gateway.h"
#include "records/OutboundRoute.h"
#include "records/gatewaylist.h"

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

namespace {
const QString kCallerIdRow = QStringLiteral("effective_caller_id_number");
}

void TframeOutboundRouteProperties::FillTrunkList(const TDBInterface& db)
{
    const QSignalBlocker block(cboTrunkToUse);
    cboTrunkToUse->clear();
    for (const auto& trunk : *db.Gateways) cboTrunkToUse->addItem(trunk->Name, trunk->GatewayType);
    cboTrunkToUse->setCurrentIndex(-1);
}

void TframeOutboundRouteProperties::OutboundRoute2Frame(const TDBInterface& db, const TOutboundRoute& route)
{
    edtOutboundRouteName->setText(route.Name);
    edtDigitisToDialForLine->setText(route.DigitForOutsideLine);
    edtDigitExpression->setText(route.DigitExpression);
    FillTrunkList(db);
    // The route names its trunk: that one is shown, even when another trunk
    // of the same provider template comes first. A route whose trunk is not
    // listed (any more) shows the first trunk of its template, the only
    // trunk when there is one, or none.
    int index = cboTrunkToUse->findText(route.Trunk, Qt::MatchExactly);
    if (index < 0) index = cboTrunkToUse->findData(route.GatewayType);
    if (index < 0 && cboTrunkToUse->count() == 1) index = 0;
    cboTrunkToUse->setCurrentIndex(index);
    // The caller id the route presents through a template-2 trunk is the
    // grid's one option.
    vleOutboundRouteOptions->Clear();
    vleOutboundRouteOptions->AddRow(kCallerIdRow, route.EffectiveCallerIDNumber);
    vleOutboundRouteOptions->FitKeyColumn();
}

void TframeOutboundRouteProperties::OutboundRouteFromFrame(TOutboundRoute& route) const
{
    route.Name = edtOutboundRouteName->text().trimmed();
    route.DigitForOutsideLine = edtDigitisToDialForLine->text().trimmed();
    route.DigitExpression = edtDigitExpression->text().trimmed();
    // Without a chosen trunk the route keeps the trunk it had.
    if (cboTrunkToUse->currentIndex() < 0) return;
    route.Trunk = cboTrunkToUse->currentText();
    route.GatewayType = cboTrunkToUse->currentData().toInt();
    if (route.GatewayType == 2) route.EffectiveCallerIDNumber = vleOutboundRouteOptions->Value(kCallerIdRow);
}
