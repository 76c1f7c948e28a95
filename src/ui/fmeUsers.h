#pragma once
// The user frame: one user's fields. Read-only on the main window's user
// page, editable in the user dialog.
#include <QFrame>

class QCheckBox;
class QLineEdit;
class TKesFSVarsXML;
class TUser;

class TframeUsers : public QFrame {
    Q_OBJECT
public:
    explicit TframeUsers(QWidget* parent = nullptr);

    // Enables or disables every input control.
    void SetEditable(bool editable);

    // Fills every control from the user; the password and the two outbound
    // caller fields by the global-reference display rule.
    void User2Frame(const TUser& user, const TKesFSVarsXML& vars);

    // A value that is exactly "$${default_password}", "$${outbound_caller_name}"
    // or "$${outbound_caller_id}" shows the current value of that global
    // variable; any other value shows as it is.
    static QString DisplayGlobalReference(const QString& value, const TKesFSVarsXML& vars);

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
