#pragma once
// The dialplan entry frame of the kind "voicemail main menu".
#include <QFrame>

class QLineEdit;

class TframeOutgoing : public QFrame {
    Q_OBJECT
public:
    explicit TframeOutgoing(QWidget* parent = nullptr);
    void SetEditable(bool editable);

    QLineEdit* edt5DialledNumber = nullptr;
};
