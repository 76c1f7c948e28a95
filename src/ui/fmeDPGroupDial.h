#pragma once
// The dialplan entry frame of the kind "ring a call group".
#include <QFrame>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

class TframeDPGroupDial : public QFrame {
    Q_OBJECT
public:
    explicit TframeDPGroupDial(QWidget* parent = nullptr);
    void SetEditable(bool editable);

    QLineEdit* edt4DialledNumber = nullptr;
    QComboBox* cbo4CallGroups = nullptr;
    QSpinBox* sp4Seconds = nullptr;
    QCheckBox* chk4DivertToVoicemail = nullptr;
    QComboBox* cbo4VoicemailBox = nullptr;
};
