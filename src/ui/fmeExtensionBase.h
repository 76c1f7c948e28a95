#pragma once
// The sentence both dialplan extension frames share: when the number is
// dialled, ring the extension for so many seconds.
#include <QFrame>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QVBoxLayout;

class TframeExtensionBase : public QFrame {
    Q_OBJECT
public:
    explicit TframeExtensionBase(QWidget* parent = nullptr);

    void SetEditable(bool editable);
    // Refills the extension list (no item selected).
    void FillExtensions(const QStringList& extensions);
    // Selects the item with exactly that text; none when no item has it.
    void SelectExtension(const QString& text);

    QLineEdit* edtDialledNumber = nullptr;
    QComboBox* cboExtension = nullptr;
    QSpinBox* spSeconds = nullptr;

public slots:
    // Preselects the extension whose text equals the trimmed dialled number.
    void edtDialledNumberChange();
    void cboExtensionChange() {}

protected:
    QVBoxLayout* m_layout = nullptr;
};
