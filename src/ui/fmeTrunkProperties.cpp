#include "ui/fmeTrunkProperties.h"
#include "ui/kxFrame.h"
#include "ui/kxKeyValueGrid.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

using namespace KxFrame;

TframeTrunkProperties::TframeTrunkProperties(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("frameTrunkProperties"));
    cboTrunkType = DropDown("cboTrunkType", this);
    cboTrunkType->setMinimumWidth(180);
    vleTrunkProperties = new TKeyValueGrid(this);
    vleTrunkProperties->setObjectName(QStringLiteral("vleTrunkProperties"));
    vleTrunkProperties->setHorizontalHeaderLabels({tr("Property"), tr("Value")});

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    grid->addWidget(Caption(tr("Trunk type"), this, cboTrunkType), 0, 0);
    grid->addWidget(cboTrunkType, 0, 1, Qt::AlignLeft);
    grid->addWidget(vleTrunkProperties, 1, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(1, 1);

    connect(cboTrunkType, &QComboBox::currentIndexChanged, this, &TframeTrunkProperties::cboTrunkTypeChange);
    connect(vleTrunkProperties, &QTableWidget::itemChanged, this,
            &TframeTrunkProperties::vleTrunkPropertiesStringsChange);
    cboTrunkTypeChange();
}

QString TframeTrunkProperties::BandwidthLabel() { return QStringLiteral("bandwidth.com"); }

void TframeTrunkProperties::SetEditable(bool editable)
{
    cboTrunkType->setEnabled(editable);
    vleTrunkProperties->setEnabled(editable && cboTrunkType->currentIndex() >= 0);
}

void TframeTrunkProperties::FillProviderList()
{
    const QSignalBlocker block(cboTrunkType);
    cboTrunkType->clear();
    const struct {
        QString text;
        int type;
    } items[] = {{BandwidthLabel(), 0},           {QStringLiteral("FlowRoute"), 1},
                 {QStringLiteral("Gradwell"), 2}, {QStringLiteral("PennyTel"), 3},
                 {QStringLiteral("SipgateDE"), 4}, {QStringLiteral("Vitelity"), 6},
                 {QStringLiteral("VoIP Unlimited"), 8}};
    for (const auto& i : items) cboTrunkType->addItem(i.text, i.type);
    cboTrunkType->setCurrentIndex(-1);
    cboTrunkTypeChange();
}

void TframeTrunkProperties::cboTrunkTypeChange()
{
    // The grid is usable only once a provider is chosen.
    vleTrunkProperties->setEnabled(cboTrunkType->currentIndex() >= 0 && cboTrunkType->isEnabled());
}
