#include "ui/kxMessages.h"

#include <QApplication>
#include <QDialog>

namespace KxUi {

namespace {
TMessageHook& messageHook()
{
    static TMessageHook hook;
    return hook;
}
TModalHook& modalHook()
{
    static TModalHook hook;
    return hook;
}
QString defaultTitle() { return QApplication::applicationName(); }
} // namespace

void SetMessageHook(TMessageHook hook) { messageHook() = std::move(hook); }
void SetModalHook(TModalHook hook) { modalHook() = std::move(hook); }

QString CRToLF(const QString& text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(u'\r', u'\n');
    return t;
}

QMessageBox::StandardButton ShowMessage(QWidget* parent, TMsgKind kind, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons)
{
    const QString caption = title.isEmpty() ? defaultTitle() : title;
    if (messageHook()) return messageHook()(parent, kind, caption, text, buttons);
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (kind) {
    case TMsgKind::Information: icon = QMessageBox::Information; break;
    case TMsgKind::Warning: icon = QMessageBox::Warning; break;
    case TMsgKind::Error: icon = QMessageBox::Critical; break;
    case TMsgKind::Confirmation: icon = QMessageBox::Question; break;
    }
    QMessageBox box(icon, caption, CRToLF(text), buttons, parent);
    if (buttons.testFlag(QMessageBox::No)) box.setDefaultButton(QMessageBox::No);
    return QMessageBox::StandardButton(box.exec());
}

void Inform(QWidget* parent, const QString& text, const QString& title)
{
    ShowMessage(parent, TMsgKind::Information, title, text);
}

void Warn(QWidget* parent, const QString& title, const QString& text)
{
    ShowMessage(parent, TMsgKind::Warning, title, text);
}

void ShowError(QWidget* parent, const QString& text)
{
    ShowMessage(parent, TMsgKind::Error, QString(), text);
}

bool Confirm(QWidget* parent, const QString& title, const QString& text)
{
    return ShowMessage(parent, TMsgKind::Confirmation, title, text, QMessageBox::Yes | QMessageBox::No)
           == QMessageBox::Yes;
}

int ExecModal(QDialog& dialog)
{
    if (modalHook()) return modalHook()(dialog);
    return dialog.exec();
}

} // namespace KxUi
