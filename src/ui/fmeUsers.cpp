#include "ui/fmeUsers.h"
#include "ui/kxFrame.h"

#include "engine/kxVarsXML.h"
#include "records/User.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace KxFrame;

TframeUsers::TframeUsers(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("frameUsers"));
    edtExtension = Edit("edtExtension", this);
    edtPassword = Edit("edtPassword", this);
    edtName = Edit("edtName", this);
    chkVMEnabled = Check("chkVMEnabled", tr("VM Enabled"), this);
    edtVMPassword = Edit("edtVMPassword", this);
    edtCallGroup = Edit("edtCallGroup", this);
    edtTollAllowed = Edit("edtTollAllowed", this);
    edtAccountCode = Edit("edtAccountCode", this);
    edtEffectiveCallerIdName = Edit("edtEffectiveCallerIdName", this);
    edtOutboundCallerIdNumber = Edit("edtOutboundCallerIdNumber", this);
    edtOutboundCallerIdName = Edit("edtOutboundCallerIdName", this);
    edtEffectiveCallerIdNumber = Edit("edtEffectiveCallerIdNumber", this);

    const QString vmHint = tr("The password that the user will enter to get into voicemail");
    edtVMPassword->setToolTip(vmHint);

    // One column in reading order: caption left, control right.
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(6);
    int row = 0;
    auto add = [&](const QString& caption, QWidget* edit, int width) {
        if (!caption.isEmpty()) grid->addWidget(Caption(caption, this, edit), row, 0);
        if (width > 0) {
            edit->setFixedWidth(width);
            grid->addWidget(edit, row, 1, Qt::AlignLeft);
        } else {
            grid->addWidget(edit, row, 1);
        }
        ++row;
    };
    add(tr("Extension"), edtExtension, 120);
    add(tr("Password"), edtPassword, 280);
    add(tr("Name"), edtName, 280);
    add(QString(), chkVMEnabled, -1);
    add(tr("VM Password"), edtVMPassword, 120);
    grid->itemAtPosition(row - 1, 0)->widget()->setToolTip(vmHint);
    add(tr("Call Group"), edtCallGroup, 280);
    add(tr("Toll Allowed"), edtTollAllowed, 0);
    add(tr("Account Code"), edtAccountCode, 120);
    add(tr("Effective Caller ID Name"), edtEffectiveCallerIdName, 280);
    add(tr("Outbound Caller ID Number"), edtOutboundCallerIdNumber, 280);
    add(tr("Outbound Caller ID Name"), edtOutboundCallerIdName, 280);
    add(tr("Effective Caller ID Number"), edtEffectiveCallerIdNumber, 160);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
}

void TframeUsers::SetEditable(bool editable)
{
    SetEnabled({edtExtension, edtPassword, edtName, chkVMEnabled, edtVMPassword, edtCallGroup,
                edtTollAllowed, edtAccountCode, edtEffectiveCallerIdName, edtOutboundCallerIdNumber,
                edtOutboundCallerIdName, edtEffectiveCallerIdNumber},
               editable);
}

QString TframeUsers::DisplayGlobalReference(const QString& value, const TKesFSVarsXML& vars)
{
    if (value == QLatin1String("$${default_password}")) return vars.DefaultPassword;
    if (value == QLatin1String("$${outbound_caller_name}")) return vars.OutboundCallerName;
    if (value == QLatin1String("$${outbound_caller_id}")) return vars.OutboundCallerID;
    return value;
}

void TframeUsers::User2Frame(const TUser& user, const TKesFSVarsXML& vars)
{
    edtExtension->setText(QString::number(user.Extension));
    edtPassword->setText(DisplayGlobalReference(user.Password, vars));
    edtName->setText(user.Name);
    chkVMEnabled->setChecked(user.VMEnabled);
    edtVMPassword->setText(user.VMPassword);
    edtCallGroup->setText(user.CallGroup);
    edtTollAllowed->setText(user.TollAllowed);
    edtAccountCode->setText(user.AccountCode);
    edtEffectiveCallerIdName->setText(user.EffectiveCallerIdName);
    edtOutboundCallerIdNumber->setText(DisplayGlobalReference(user.OutboundCallerIdNumber, vars));
    edtOutboundCallerIdName->setText(DisplayGlobalReference(user.OutboundCallerIdName, vars));
    edtEffectiveCallerIdNumber->setText(user.EffectiveCallerIdNumber);
}
