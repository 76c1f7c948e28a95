#pragma once
// The user frame: one user's fields. Read-only on the main window's user
// page, editable in the user dialog.
#include <QFrame>

class QCheckBox;
class QLineEdit;

class TframeUsers : public QFrame {
    Q_OBJECT
public:
    explicit TframeUsers(QWidget* parent = nullptr);

    // Enables or disables every input control.
    void SetEditable(bool editable);

    QLineEdit* edtExtension = nullptr;
    QLineEdit* edtPassword = nullptr;
    QLineEdit* edtName = nullptr;
    QCheckBox* chkVMEnabled = nullptr;
    QLineEdit* edtVMPassword = nullptr;
    QLineEdit* edtCallGroup = nullptr;
    QLineEdit* edtTollAllowed = nullptr;
    QLineEdit* edtAccountCode = nullptr;
    QLineEdit* edtEffectiveCallerIdName = nullptr;
    QLineEdit* edtOutboundCallerIdNumber = nullptr;
    QLineEdit* edtOutboundCallerIdName = nullptr;
    QLineEdit* edtEffectiveCallerIdNumber = nullptr;
};
