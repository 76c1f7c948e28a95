#include "ui/kxFrame.h"
#include "ui/kxMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>

namespace KxFrame {

QLineEdit* Edit(const char* name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

QComboBox* DropDown(const char* name, QWidget* parent)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(false);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    c->setMinimumContentsLength(8);
    return c;
}

QSpinBox* Spin(const char* name, int min, int max, int value, QWidget* parent)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(min, max);
    s->setValue(value);
    return s;
}

QCheckBox* Check(const char* name, const QString& caption, QWidget* parent)
{
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

QLabel* Caption(const QString& text, QWidget* parent, QWidget* buddy)
{
    auto* l = new QLabel(text, parent);
    if (buddy) l->setBuddy(buddy);
    return l;
}

QPlainTextEdit* InfoMemo(const char* name, QWidget* parent)
{
    auto* m = new QPlainTextEdit(parent);
    m->setObjectName(QString::fromLatin1(name));
    m->setReadOnly(true);
    m->setFrameShape(QFrame::NoFrame);
    m->setFocusPolicy(Qt::NoFocus);
    m->setTextInteractionFlags(Qt::NoTextInteraction);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->viewport()->setAutoFillBackground(false);
    m->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    return m;
}

void SetMemoText(QPlainTextEdit* memo, const QString& text)
{
    memo->setPlainText(KxUi::CRToLF(text));
}

void SetEnabled(std::initializer_list<QWidget*> controls, bool enabled)
{
    for (QWidget* w : controls)
        if (w) w->setEnabled(enabled);
}

} // namespace KxFrame
