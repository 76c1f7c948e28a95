#include "ui/fmeWelcome.h"
#include "ui/kxFrame.h"

#include <QGridLayout>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

TframeWelcome::TframeWelcome(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("frameWelcome"));
    memWelcome = KxFrame::InfoMemo("memWelcome", this);
    memWelcome->setFixedHeight(memWelcome->fontMetrics().lineSpacing() * 9 + 12);

    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(12);
    rows->setVerticalSpacing(6);
    int row = 0;
    auto addRow = [&](const char* buttonName, const char* memoName, QToolButton*& button,
                      QPlainTextEdit*& memo) {
        button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(buttonName));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setIconSize(QSize(32, 32));
        button->setAutoRaise(false);
        button->setFixedSize(44, 44);
        memo = KxFrame::InfoMemo(memoName, this);
        memo->setFixedHeight(memo->fontMetrics().lineSpacing() * 2 + 10);
        rows->addWidget(button, row, 0, Qt::AlignTop);
        rows->addWidget(memo, row, 1);
        ++row;
    };
    addRow("btnWelcomeUsers", "memWelcomePageUsers", btnWelcomeUsers, memWelcomePageUsers);
    addRow("btnWelcomeDialplan", "memWelcomePageDialplan", btnWelcomeDialplan, memWelcomePageDialplan);
    addRow("btnWelcomeGroups", "memWelcomePageGroups", btnWelcomeGroups, memWelcomePageGroups);
    addRow("btnWelcomeTrunks", "memWelcomePageTrunks", btnWelcomeTrunks, memWelcomePageTrunks);
    addRow("btnWelcomeInboundRoutes", "memWelcomePageInboundRoutes", btnWelcomeInboundRoutes,
           memWelcomePageInboundRoutes);
    addRow("btnWelcomeOutboundRoutes", "memWelcomePageOutboundRoutes", btnWelcomeOutboundRoutes,
           memWelcomePageOutboundRoutes);
    addRow("btnWelcomeGlobals", "memWelcomePageGlobals", btnWelcomeGlobals, memWelcomePageGlobals);
    rows->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memWelcome);
    layout->addLayout(rows);
    layout->addStretch(1);
}
