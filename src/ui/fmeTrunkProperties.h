#pragma once
// The trunk frame: the provider template and the trunk's properties as a
// key/value grid. Read-only on the main window's trunk page, editable in the
// trunk dialog.
#include <QFrame>

class QComboBox;
class TGateway;
class TKeyValueGrid;

class TframeTrunkProperties : public QFrame {
    Q_OBJECT
public:
    explicit TframeTrunkProperties(QWidget* parent = nullptr);

    void SetEditable(bool editable);

    // The provider templates offered, each item carrying its GatewayType.
    void FillProviderList();
    // Shows a trunk: selects its provider and lists the rows of its template.
    // Throws EKXError when the trunk's template is not offered.
    void Trunk2Frame(const TGateway& trunk);
    // Reads the rows of the selected template back into the trunk.
    void TrunkFromFrame(TGateway& trunk) const;

    // The text shown for the Bandwidth template.
    static QString BandwidthLabel();

    QComboBox* cboTrunkType = nullptr;
    TKeyValueGrid* vleTrunkProperties = nullptr;

public slots:
    void cboTrunkTypeChange();
    void vleTrunkPropertiesStringsChange() {}
};
