#pragma once
// Small helpers shared by the frames: named controls, captions and the
// borderless read-only text blocks of the welcome pages.
#include <QString>
#include <initializer_list>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QWidget;

namespace KxFrame {

QLineEdit* Edit(const char* name, QWidget* parent);
// A drop-down list without free text.
QComboBox* DropDown(const char* name, QWidget* parent);
QSpinBox* Spin(const char* name, int min, int max, int value, QWidget* parent);
QCheckBox* Check(const char* name, const QString& caption, QWidget* parent);
// A caption; with a buddy, clicking the caption focuses the control.
QLabel* Caption(const QString& text, QWidget* parent, QWidget* buddy = nullptr);
// A read-only text block without border, in the window's background colour.
QPlainTextEdit* InfoMemo(const char* name, QWidget* parent);
// Sets the text of a memo; the system's texts use a carriage return as line break.
void SetMemoText(QPlainTextEdit* memo, const QString& text);

void SetEnabled(std::initializer_list<QWidget*> controls, bool enabled);

} // namespace KxFrame
