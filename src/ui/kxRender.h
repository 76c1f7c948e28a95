#pragma once
// Renders the main window with each of its pages, and every dialog, to PNG
// files, so the interface can be looked at without a display.
#include <QString>
#include <QStringList>

class TfrmMain;

namespace KxRender {

// Saves the main window as it is now.
bool SaveWindow(TfrmMain& window, const QString& path);
// Shows each page of the main window (with a record selected where the
// section has one) and each dialog, saving one PNG per view into outDir.
// Returns the files written.
QStringList RenderAll(TfrmMain& window, const QString& outDir);
// One line per tree section: its caption and the number of children.
QStringList TreeSummary(const TfrmMain& window);

} // namespace KxRender
