#include "ui/fmeSectionWelcome.h"
#include "ui/kxFrame.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

TframeSectionWelcome::TframeSectionWelcome(const QString& text, QWidget* parent) : QFrame(parent)
{
    memWelcome = KxFrame::InfoMemo("memWelcome", this);
    // An empty first line, then the text.
    KxFrame::SetMemoText(memWelcome, QStringLiteral("\r") + text);
    memWelcome->setFixedHeight(memWelcome->fontMetrics().lineSpacing() * 3 + 10);

    btnWelcome = new QToolButton(this);
    btnWelcome->setObjectName(QStringLiteral("btnWelcome"));
    btnWelcome->setToolButtonStyle(Qt::ToolButtonIconOnly);
    btnWelcome->setIconSize(QSize(32, 32));
    btnWelcome->setFixedSize(44, 44);

    auto* row = new QHBoxLayout;
    row->addWidget(btnWelcome, 0, Qt::AlignTop);
    row->addWidget(memWelcome, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addStretch(1);
}
