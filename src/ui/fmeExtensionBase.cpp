#include "ui/fmeExtensionBase.h"
#include "ui/kxFrame.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace KxFrame;

TframeExtensionBase::TframeExtensionBase(QWidget* parent) : QFrame(parent)
{
    edtDialledNumber = Edit("edtDialledNumber", this);
    edtDialledNumber->setFixedWidth(120);
    cboExtension = DropDown("cboExtension", this);
    cboExtension->setMinimumWidth(120);
    spSeconds = Spin("spSeconds", 1, 180, 1, this);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(10);
    grid->addWidget(Caption(tr("When the number"), this, edtDialledNumber), 0, 0);
    grid->addWidget(edtDialledNumber, 0, 1);
    grid->addWidget(Caption(tr("is dialled"), this), 0, 2, 1, 3);
    grid->addWidget(Caption(tr("Ring extension"), this, cboExtension), 1, 0);
    grid->addWidget(cboExtension, 1, 1);
    grid->addWidget(Caption(tr("for"), this, spSeconds), 1, 2);
    grid->addWidget(spSeconds, 1, 3);
    grid->addWidget(Caption(tr("seconds"), this), 1, 4);
    grid->setColumnStretch(5, 1);

    m_layout = new QVBoxLayout(this);
    m_layout->setSpacing(10);
    m_layout->addLayout(grid);

    connect(edtDialledNumber, &QLineEdit::textChanged, this, &TframeExtensionBase::edtDialledNumberChange);
    connect(cboExtension, &QComboBox::currentIndexChanged, this, &TframeExtensionBase::cboExtensionChange);
}

void TframeExtensionBase::SetEditable(bool editable)
{
    SetEnabled({edtDialledNumber, cboExtension, spSeconds}, editable);
}

void TframeExtensionBase::FillExtensions(const QStringList& extensions)
{
    cboExtension->clear();
    cboExtension->addItems(extensions);
    cboExtension->setCurrentIndex(-1);
}

void TframeExtensionBase::SelectExtension(const QString& text)
{
    cboExtension->setCurrentIndex(cboExtension->findText(text, Qt::MatchExactly));
}

void TframeExtensionBase::edtDialledNumberChange()
{
    SelectExtension(edtDialledNumber->text().trimmed());
}
