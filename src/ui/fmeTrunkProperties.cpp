#include "ui/fmeTrunkProperties.h"
#include "ui/kxFrame.h"
#include "ui/kxKeyValueGrid.h"

#include "core/KxError.h"
#include "records/Gateway.h"

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

QString TframeTrunkProperties::BandwidthLabel() { return TGateway::TemplateLabel(TGateway::gtBandwidth); }

void TframeTrunkProperties::SetEditable(bool editable)
{
    cboTrunkType->setEnabled(editable);
    vleTrunkProperties->setEnabled(editable && cboTrunkType->currentIndex() >= 0);
}

void TframeTrunkProperties::FillProviderList()
{
    const QSignalBlocker block(cboTrunkType);
    cboTrunkType->clear();
    for (int type : TGateway::OfferedTemplates()) cboTrunkType->addItem(TGateway::TemplateLabel(type), type);
    cboTrunkType->setCurrentIndex(-1);
    cboTrunkTypeChange();
}

void TframeTrunkProperties::cboTrunkTypeChange()
{
    // The grid is usable only once a provider is chosen.
    vleTrunkProperties->setEnabled(cboTrunkType->currentIndex() >= 0 && cboTrunkType->isEnabled());
}

namespace {

// One row of the property grid: its key, the templates that show it (empty:
// all) and the field it shows. Every row shown is read back.
struct TTrunkRow {
    const char* Key;
    QList<int> Types;
    QString TGateway::*Text = nullptr;
    qint32 TGateway::*Number = nullptr;
    bool TGateway::*Flag = nullptr;
    bool ShownFor(int type) const { return Types.isEmpty() || Types.contains(type); }
};

const QList<TTrunkRow>& trunkRows()
{
    static const QList<TTrunkRow> rows = {
        {"Trunk name", {}, &TGateway::Name},
        {"Username", {}, &TGateway::UserName},
        {"AuthUsername", {1}, &TGateway::AuthUsername},
        {"Realm", {3, 5, 8}, &TGateway::Realm},
        {"From-User", {0, 5, 8}, &TGateway::FromUser},
        {"From-Domain", {0, 5, 8}, &TGateway::FromDomain},
        {"Password", {}, &TGateway::Password},
        {"Extension", {0, 4, 5}, &TGateway::Extension},
        {"Proxy", {}, &TGateway::Proxy},
        {"Outbound-Proxy", {6}, &TGateway::OutboundProxy},
        {"Register-Proxy", {5}, &TGateway::RegisterProxy},
        {"Expire-Seconds", {0, 1, 2, 5, 6}, nullptr, &TGateway::ExpireSeconds},
        {"Register-With-Gateway", {0, 1, 2, 3, 5, 6, 8}, nullptr, nullptr, &TGateway::RegisterWithGateway},
        {"Retry-Seconds", {0, 1, 2, 5, 6}, nullptr, &TGateway::RetrySeconds},
        {"Ping", {1, 2, 5}, nullptr, &TGateway::Ping},
        {"Context", {0, 2, 6}, &TGateway::Context},
        {"Caller-Id-In-From", {2}, nullptr, nullptr, &TGateway::CallerIdInFrom},
    };
    return rows;
}

QString boolText(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

} // namespace

void TframeTrunkProperties::Trunk2Frame(const TGateway& trunk)
{
    const int index = cboTrunkType->findData(trunk.GatewayType);
    if (index < 0) throw EKXError(QStringLiteral("Unable to determine Gateway Type - TframeTrunkProperties.Trunk2Frame"));
    cboTrunkType->setCurrentIndex(index);
    vleTrunkProperties->Clear();
    for (const TTrunkRow& row : trunkRows()) {
        if (!row.ShownFor(trunk.GatewayType)) continue;
        const QString key = QString::fromLatin1(row.Key);
        if (row.Text) vleTrunkProperties->AddRow(key, trunk.*row.Text);
        else if (row.Number) vleTrunkProperties->AddRow(key, QString::number(trunk.*row.Number));
        else vleTrunkProperties->AddRow(key, boolText(trunk.*row.Flag), {boolText(true), boolText(false)});
    }
    vleTrunkProperties->FitKeyColumn();
    cboTrunkTypeChange();
}

void TframeTrunkProperties::TrunkFromFrame(TGateway& trunk) const
{
    if (cboTrunkType->currentIndex() < 0) throw EKXError(tr("Please choose a trunk type"));
    const int type = cboTrunkType->currentData().toInt();
    // Every number is checked before anything is copied: a trunk is either
    // read whole or not at all.
    TGateway result;
    result.CopyFieldsFrom(trunk);
    result.GatewayType = type;
    for (const TTrunkRow& row : trunkRows()) {
        if (!row.ShownFor(type)) continue;
        const int r = vleTrunkProperties->FindRow(QString::fromLatin1(row.Key));
        if (r < 0) continue;
        const QString value = vleTrunkProperties->ValueAt(r);
        if (row.Text) {
            result.*row.Text = value;
        } else if (row.Number) {
            bool ok = false;
            const int n = value.trimmed().toInt(&ok);
            if (!ok) throw EKXError(QStringLiteral("\"%1\" is an invalid integer").arg(value));
            result.*row.Number = n;
        } else {
            result.*row.Flag = value == QLatin1String("true");
        }
    }
    trunk.CopyFieldsFrom(result);
}
