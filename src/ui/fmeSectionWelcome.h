#pragma once
// What every section welcome frame holds: a short text and one button bound
// to an action of the main window (a picture without caption).
#include <QFrame>

class QPlainTextEdit;
class QToolButton;

class TframeSectionWelcome : public QFrame {
    Q_OBJECT
public:
    TframeSectionWelcome(const QString& text, QWidget* parent = nullptr);

    QPlainTextEdit* memWelcome = nullptr;
    QToolButton* btnWelcome = nullptr;
};
