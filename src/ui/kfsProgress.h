#pragma once
// The progress window: the output of the server tools as it arrives, a status
// line, a progress bar that follows the number of output lines, and a Cancel
// button that asks the running tool to stop.
#include "core/ProgressSink.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

class TfrmProgress : public QDialog, public TProgressSink {
    Q_OBJECT
public:
    explicit TfrmProgress(QWidget* owner = nullptr);

    // TProgressSink
    void ShowStatus(const QString& text) override;
    void StepProgress() override;
    void SetProgressMax(int max) override;
    void AppendOutput(const QString& chunk) override;
    void ProcessEvents() override;

    // Empties the log (and so moves the bar back to 0).
    void ClearLog();
    int LineCount() const;

    // While a tool runs, Cancel is offered; pressing it sets the flag that
    // the runner polls. Starting a run clears the flag.
    void BeginRun();
    void EndRun();
    bool CancelRequested() const override { return m_cancelRequested; }
    // The flag itself, for a runner that polls a plain bool.
    const bool* CancelFlag() const { return &m_cancelRequested; }

    QPlainTextEdit* memMain = nullptr;
    QLabel* lblInfo = nullptr;
    QLabel* lblLineCount = nullptr;
    QProgressBar* pbMain = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnClose = nullptr;

signals:
    void CancelClicked();

private slots:
    void memMainChange();
    void btnCancelClick();

protected:
    void reject() override; // Escape and the close button only hide the window
    void closeEvent(QCloseEvent* event) override;

private:
    bool m_cancelRequested = false;
    bool m_running = false;
};
