#include "ui/kxDialog.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace KxUi {

void LayOutWithOkCancel(QDialog& dialog, QLayout* content, QPushButton*& btnOK, QPushButton*& btnCancel,
                        std::function<void()> onOK)
{
    auto* box = new QDialogButtonBox(&dialog);
    btnOK = box->addButton(QDialog::tr("OK"), QDialogButtonBox::AcceptRole);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = box->addButton(QDialog::tr("Cancel"), QDialogButtonBox::RejectRole);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    QObject::connect(btnOK, &QPushButton::clicked, &dialog, std::move(onOK));
    QObject::connect(btnCancel, &QPushButton::clicked, &dialog, &QDialog::reject);

    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(content);
    layout->addWidget(box);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace KxUi
