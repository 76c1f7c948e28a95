#include "ui/connect.h"
#include "core/Store.h"
#include "ui/kxDialog.h"
#include "ui/kxMessages.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

TfrmConnect::TfrmConnect(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmConnect"));
    setWindowTitle(tr("Connect"));

    edtIPAddress = new QLineEdit(this);
    edtIPAddress->setObjectName(QStringLiteral("edtIPAddress"));
    edtIPAddress->setToolTip(tr("The server's address, or \"local\" to work on this machine's own "
                                "configuration (nothing is downloaded)"));
    edtDomain = new QLineEdit(this);
    edtDomain->setObjectName(QStringLiteral("edtDomain"));
    edtPassword = new QLineEdit(this);
    edtPassword->setObjectName(QStringLiteral("edtPassword"));
    edtPassword->setEchoMode(QLineEdit::Password);
    edtPassword->setMinimumWidth(220);

    auto* form = new QFormLayout;
    form->addRow(tr("IP Address of FreeSWITCH box"), edtIPAddress);
    form->addRow(tr("Domain"), edtDomain);
    form->addRow(tr("Root password (not stored)"), edtPassword);

    KxUi::LayOutWithOkCancel(*this, form, btnOK, btnCancel, [this] { btnOKClick(); });
}

bool TfrmConnect::IsLocalAddress(const QString& address)
{
    return Store::IsLocalAddress(address.trimmed());
}

int TfrmConnect::ShowModal(QString& address, QString& domain, QString& password)
{
    edtIPAddress->setText(address);
    edtDomain->setText(domain);
    const int result = KxUi::ExecModal(*this);
    if (result == QDialog::Accepted) {
        address = edtIPAddress->text().trimmed();
        domain = edtDomain->text().trimmed();
        password = edtPassword->text().trimmed();
    }
    return result;
}

void TfrmConnect::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfrmConnect::FormShow()
{
    if (edtIPAddress->text().trimmed().isEmpty()) edtIPAddress->setFocus();
    else if (edtDomain->text().trimmed().isEmpty()) edtDomain->setFocus();
    else edtPassword->setFocus();
}

void TfrmConnect::btnOKClick()
{
    if (edtIPAddress->text().trimmed().isEmpty()) {
        KxUi::Inform(this, tr("Please enter the IP address"));
        edtIPAddress->setFocus();
        return;
    }
    if (edtDomain->text().trimmed().isEmpty()) {
        KxUi::Inform(this, tr("Please enter the domain"));
        edtDomain->setFocus();
        return;
    }
    // The local configuration needs no login.
    if (edtPassword->text().trimmed().isEmpty() && !IsLocalAddress(edtIPAddress->text())) {
        KxUi::Inform(this, tr("Please enter the root password"));
        edtPassword->setFocus();
        return;
    }
    accept();
}
