#pragma once
// The welcome page: a greeting and one button per section, each with a line
// saying what the section is for.
#include <QFrame>

class QPlainTextEdit;
class QToolButton;

class TframeWelcome : public QFrame {
    Q_OBJECT
public:
    explicit TframeWelcome(QWidget* parent = nullptr);

    QPlainTextEdit* memWelcome = nullptr;
    QToolButton* btnWelcomeUsers = nullptr;
    QPlainTextEdit* memWelcomePageUsers = nullptr;
    QToolButton* btnWelcomeDialplan = nullptr;
    QPlainTextEdit* memWelcomePageDialplan = nullptr;
    QToolButton* btnWelcomeGroups = nullptr;
    QPlainTextEdit* memWelcomePageGroups = nullptr;
    QToolButton* btnWelcomeTrunks = nullptr;
    QPlainTextEdit* memWelcomePageTrunks = nullptr;
    QToolButton* btnWelcomeInboundRoutes = nullptr;
    QPlainTextEdit* memWelcomePageInboundRoutes = nullptr;
    QToolButton* btnWelcomeOutboundRoutes = nullptr;
    QPlainTextEdit* memWelcomePageOutboundRoutes = nullptr;
    QToolButton* btnWelcomeGlobals = nullptr;
    QPlainTextEdit* memWelcomePageGlobals = nullptr;
};
