#include "ui/getrootpassword.h"
#include "ui/kxDialog.h"
#include "ui/kxMessages.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

TfrmGetRootPassword::TfrmGetRootPassword(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmGetRootPassword"));
    setWindowTitle(tr("Root password"));

    edtRootPassword = new QLineEdit(this);
    edtRootPassword->setObjectName(QStringLiteral("edtRootPassword"));
    edtRootPassword->setEchoMode(QLineEdit::Password);
    edtRootPassword->setMinimumWidth(200);

    auto* form = new QFormLayout;
    form->addRow(tr("Root password for remote server"), edtRootPassword);

    KxUi::LayOutWithOkCancel(*this, form, btnOK, btnCancel, [this] { btnOKClick(); });
}

int TfrmGetRootPassword::ShowModal(QString& password)
{
    const int result = KxUi::ExecModal(*this);
    if (result == QDialog::Accepted) password = edtRootPassword->text().trimmed();
    return result;
}

void TfrmGetRootPassword::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    edtRootPassword->setFocus();
}

void TfrmGetRootPassword::btnOKClick() { accept(); }
