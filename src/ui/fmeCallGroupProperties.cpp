#include "ui/fmeCallGroupProperties.h"
#include "ui/kxFrame.h"

#include "records/CallGroup.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using namespace KxFrame;

TframeCallGroupProperties::TframeCallGroupProperties(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("frameCallGroupProperties"));
    edtName = Edit("edtName", this);
    edtName->setMinimumWidth(200);
    chkMembers = new QListWidget(this);
    chkMembers->setObjectName(QStringLiteral("chkMembers"));
    chkMembers->setSelectionMode(QAbstractItemView::ExtendedSelection);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    grid->addWidget(Caption(tr("Name"), this, edtName), 0, 0);
    grid->addWidget(edtName, 0, 1, Qt::AlignLeft);
    grid->addWidget(Caption(tr("Members"), this, chkMembers), 1, 0, Qt::AlignTop);
    chkMembers->setMaximumWidth(320);
    grid->addWidget(chkMembers, 1, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
}

void TframeCallGroupProperties::SetEditable(bool editable)
{
    SetEnabled({edtName, chkMembers}, editable);
}

void TframeCallGroupProperties::FillMembers(const QStringList& members)
{
    chkMembers->clear();
    for (const QString& m : members) {
        auto* item = new QListWidgetItem(m, chkMembers);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    chkMembers->setSelectionMode(QAbstractItemView::ExtendedSelection);
}

void TframeCallGroupProperties::CallGroup2Frame(const TKXCallGroup& group)
{
    edtName->setText(group.Name);
    FillMembers(group.Members);
}
