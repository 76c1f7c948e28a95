#pragma once
// Every message box and every modal dialog of the user interface goes
// through the two hooks here, so tests can answer them without blocking.
#include <QMessageBox>
#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace KxUi {

enum class TMsgKind { Information, Warning, Error, Confirmation };

// Shows a message box and returns the button pressed. A hook, when set,
// is called instead and returns the answer itself.
using TMessageHook = std::function<QMessageBox::StandardButton(
    QWidget* parent, TMsgKind kind, const QString& title, const QString& text,
    QMessageBox::StandardButtons buttons)>;
void SetMessageHook(TMessageHook hook); // an empty hook restores the real boxes

QMessageBox::StandardButton ShowMessage(QWidget* parent, TMsgKind kind, const QString& title,
                                        const QString& text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);
// An information box with an OK button.
void Inform(QWidget* parent, const QString& text, const QString& title = QString());
// A warning box with an OK button.
void Warn(QWidget* parent, const QString& title, const QString& text);
// An error box with an OK button (failures of model operations).
void ShowError(QWidget* parent, const QString& text);
// A confirmation box with Yes and No; true on Yes.
bool Confirm(QWidget* parent, const QString& title, const QString& text);

// Runs a dialog modally and returns its result. A hook, when set, is called
// instead of QDialog::exec() (it may fill the dialog and accept or reject it).
using TModalHook = std::function<int(QDialog& dialog)>;
void SetModalHook(TModalHook hook);
int ExecModal(QDialog& dialog);

// The texts of this system use a carriage return as line break; Qt's text
// widgets expect a line feed.
QString CRToLF(const QString& text);

} // namespace KxUi
