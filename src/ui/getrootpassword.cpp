#include "ui/getrootpassword.h"
#include "ui/kxMessages.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

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

    auto* box = new QDialogButtonBox(this);
    btnOK = box->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = box->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnOK, &QPushButton::clicked, this, &TfrmGetRootPassword::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(box);
    layout->setSizeConstraint(QLayout::SetFixedSize);
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
