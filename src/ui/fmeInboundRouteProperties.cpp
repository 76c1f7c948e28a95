#include "ui/fmeInboundRouteProperties.h"
#include "ui/kxFrame.h"

#include "core/DBInterface.h"
#include "records/InboundRoute.h"
#include "records/InboundRouteDest.h"
#include "records/InboundRouteDestList.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

using namespace KxFrame;

TframeInboundRouteProperties::TframeInboundRouteProperties(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("frameInboundRouteProperties"));
    edtInboundRouteName = Edit("edtInboundRouteName", this);
    edtCallComesInFrom = Edit("edtCallComesInFrom", this);
    cboContext = DropDown("cboContext", this);
    cboContext->setMinimumWidth(140);
    gridMain = new QTableWidget(this);
    gridMain->setObjectName(QStringLiteral("gridMain"));
    gridMain->verticalHeader()->setVisible(false);
    gridMain->verticalHeader()->setDefaultSectionSize(gridMain->fontMetrics().height() + 8);
    gridMain->horizontalHeader()->setStretchLastSection(true);
    gridMain->horizontalHeader()->setHighlightSections(false);
    gridMain->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridMain->setSelectionMode(QAbstractItemView::SingleSelection);
    gridMain->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridMain->setAlternatingRowColors(true);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    grid->addWidget(Caption(tr("Inbound Route Name"), this, edtInboundRouteName), 0, 0);
    grid->addWidget(edtInboundRouteName, 0, 1);
    grid->addWidget(Caption(tr("When a call comes in from "), this, edtCallComesInFrom), 1, 0);
    grid->addWidget(edtCallComesInFrom, 1, 1);
    grid->addWidget(Caption(tr("In context"), this, cboContext), 2, 0);
    grid->addWidget(cboContext, 2, 1, Qt::AlignLeft);
    grid->addWidget(Caption(tr("Process Call as"), this, gridMain), 3, 0, 1, 2);
    grid->addWidget(gridMain, 4, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);

    connect(cboContext, &QComboBox::currentIndexChanged, this, &TframeInboundRouteProperties::cboContextChange);
    PrepareDestinationGrid();
}

void TframeInboundRouteProperties::SetEditable(bool editable)
{
    SetEnabled({edtInboundRouteName, edtCallComesInFrom, cboContext}, editable);
}

void TframeInboundRouteProperties::PrepareDestinationGrid()
{
    gridMain->clear();
    gridMain->setRowCount(0);
    gridMain->setColumnCount(4);
    gridMain->setHorizontalHeaderLabels({tr("Name"), tr("Transfer type"), tr("Destination"), tr("Timeout")});
    gridMain->setColumnWidth(0, 85);
    gridMain->setColumnWidth(1, 110);
    gridMain->setColumnWidth(2, 150);
}

void TframeInboundRouteProperties::FillContextList()
{
    const QSignalBlocker block(cboContext);
    cboContext->clear();
    cboContext->addItem(QStringLiteral("default"));
    cboContext->setCurrentIndex(-1);
}

QString TframeInboundRouteProperties::DestinationTypeText(int destinationType)
{
    return TKXInboundRouteDest::TypeLabel(destinationType);
}

void TframeInboundRouteProperties::FillDestinationGrid(const TKXInboundRouteDestList& destinations)
{
    gridMain->setRowCount(0);
    for (const auto& d : destinations) {
        const int row = gridMain->rowCount();
        gridMain->insertRow(row);
        auto* name = new QTableWidgetItem(d->Name);
        name->setData(Qt::UserRole, d->Id); // the destination's Id, hidden
        gridMain->setItem(row, 0, name);
        gridMain->setItem(row, 1, new QTableWidgetItem(DestinationTypeText(d->DestinationType)));
        gridMain->setItem(row, 2, new QTableWidgetItem(d->Destination));
        gridMain->setItem(row, 3, new QTableWidgetItem(QString::number(d->CallTimeout) + QStringLiteral(" sec")));
    }
    // The first column is 85 pixels wide, or wider when a name needs it.
    gridMain->resizeColumnToContents(0);
    if (gridMain->columnWidth(0) < 85) gridMain->setColumnWidth(0, 85);
}

void TframeInboundRouteProperties::InboundRoute2Frame(TDBInterface& db, const TInboundRoute& route)
{
    edtInboundRouteName->setText(route.Name);
    edtCallComesInFrom->setText(route.DestinationNumber);
    FillContextList();
    cboContext->setCurrentIndex(cboContext->findText(route.Context, Qt::MatchExactly));
    db.LoadInboundRouteDests();
    TKXInboundRouteDestList steps;
    db.GetStepsOfRoute(route.Id, steps);
    FillDestinationGrid(steps);
}
