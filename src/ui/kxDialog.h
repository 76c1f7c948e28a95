#pragma once
// Building blocks shared by the dialogs.
#include <QDialog>
#include <QLayout>
#include <QPushButton>
#include <functional>

namespace KxUi {

// Lays out the dialog: its content above a row with OK (the default button,
// named btnOK, running onOK) and Cancel (named btnCancel, rejecting); the
// dialog keeps the size its content needs.
void LayOutWithOkCancel(QDialog& dialog, QLayout* content, QPushButton*& btnOK, QPushButton*& btnCancel,
                        std::function<void()> onOK);

} // namespace KxUi
