#include "ui/fmePlaceholder.h"

#include <QLabel>
#include <QVBoxLayout>

TframePlaceholder::TframePlaceholder(const QString& title, QWidget* parent) : QFrame(parent)
{
    auto* heading = new QLabel(title, this);
    heading->setObjectName(QStringLiteral("lblTitle"));
    QFont f = heading->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    heading->setFont(f);
    auto* note = new QLabel(tr("These settings are kept in the configuration files; this page does "
                               "not show them yet."),
                            this);
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(note);
    layout->addStretch(1);
}
