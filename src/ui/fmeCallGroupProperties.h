#pragma once
// The call group frame: the group's name and its members.
#include <QFrame>

class QLineEdit;
class QListWidget;
class TKXCallGroup;

class TframeCallGroupProperties : public QFrame {
    Q_OBJECT
public:
    explicit TframeCallGroupProperties(QWidget* parent = nullptr);

    void SetEditable(bool editable);
    // Name and members (in order, none checked).
    void CallGroup2Frame(const TKXCallGroup& group);
    void FillMembers(const QStringList& members);

    QLineEdit* edtName = nullptr;
    QListWidget* chkMembers = nullptr;
};
