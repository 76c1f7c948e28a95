#pragma once
// The outbound route frame. Read-only on the main window's outbound route
// page, editable in the outbound route dialog.
#include <QFrame>

class QComboBox;
class QLineEdit;
class TDBInterface;
class TKeyValueGrid;
class TOutboundRoute;

class TframeOutboundRouteProperties : public QFrame {
    Q_OBJECT
public:
    explicit TframeOutboundRouteProperties(QWidget* parent = nullptr);

    void SetEditable(bool editable);

    // One item per trunk, in list order: its Name, carrying its GatewayType.
    void FillTrunkList(const TDBInterface& db);
    void OutboundRoute2Frame(const TDBInterface& db, const TOutboundRoute& route);
    void OutboundRouteFromFrame(TOutboundRoute& route) const;

    QLineEdit* edtOutboundRouteName = nullptr;
    QLineEdit* edtDigitisToDialForLine = nullptr;
    QLineEdit* edtDigitExpression = nullptr;
    QComboBox* cboTrunkToUse = nullptr;
    TKeyValueGrid* vleOutboundRouteOptions = nullptr;

public slots:
    void cboTrunkToUseChange() {}
};
