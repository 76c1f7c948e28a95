#pragma once
// The dialog that starts every run: server address, domain, root password.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TfrmConnect : public QDialog {
    Q_OBJECT
public:
    explicit TfrmConnect(QWidget* owner = nullptr);

    // Fills the address and domain, shows the dialog and, on OK, returns the
    // three trimmed texts. Cancel leaves the arguments as they were.
    int ShowModal(QString& address, QString& domain, QString& password);

    // The address that means "the working directory is this machine's live
    // configuration": nothing is downloaded and no password is needed.
    static bool IsLocalAddress(const QString& address);

    QLineEdit* edtIPAddress = nullptr;
    QLineEdit* edtDomain = nullptr;
    QLineEdit* edtPassword = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

public slots:
    void btnOKClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
};
