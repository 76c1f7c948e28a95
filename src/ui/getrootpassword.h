#pragma once
// Asks for the server's root password (kept for this run only, never stored).
#include <QDialog>

class QLineEdit;
class QPushButton;

class TfrmGetRootPassword : public QDialog {
    Q_OBJECT
public:
    explicit TfrmGetRootPassword(QWidget* owner = nullptr);

    // On OK the password becomes the trimmed text; Cancel leaves it unchanged.
    int ShowModal(QString& password);

    QLineEdit* edtRootPassword = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

public slots:
    void btnOKClick();

protected:
    void showEvent(QShowEvent* event) override;
};
