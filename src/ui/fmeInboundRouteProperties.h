#pragma once
// The inbound route frame: the route's name, the number calls come in on,
// the context and the list of destinations the call is passed through.
#include <QFrame>

class QComboBox;
class QLineEdit;
class QTableWidget;
class TDBInterface;
class TInboundRoute;
class TKXInboundRouteDestList;

class TframeInboundRouteProperties : public QFrame {
    Q_OBJECT
public:
    explicit TframeInboundRouteProperties(QWidget* parent = nullptr);

    void SetEditable(bool editable);

    void PrepareDestinationGrid();
    void FillContextList();
    void FillDestinationGrid(const TKXInboundRouteDestList& destinations);
    // Shows a route; its destinations are read again from their files.
    void InboundRoute2Frame(TDBInterface& db, const TInboundRoute& route);

    // The text of a destination type ("Extension", "Group", "Mailbox", "Mobile").
    static QString DestinationTypeText(int destinationType);

    QLineEdit* edtInboundRouteName = nullptr;
    QLineEdit* edtCallComesInFrom = nullptr;
    QComboBox* cboContext = nullptr;
    QTableWidget* gridMain = nullptr;

public slots:
    void cboContextChange() {}
};
