#pragma once
// Stands on a page whose settings are not shown yet: names the page.
#include <QFrame>

class TframePlaceholder : public QFrame {
    Q_OBJECT
public:
    TframePlaceholder(const QString& title, QWidget* parent = nullptr);
};
