#pragma once
#include <QString>

// Where the model reports progress and the output of child programs. The
// progress window implements it; tests use a recorder; nullptr reports nowhere.
class TProgressSink {
public:
    virtual ~TProgressSink() = default;
    virtual void ShowStatus(const QString& text) = 0;
    virtual void StepProgress() = 0;
    virtual void SetProgressMax(int max) = 0;
    // A chunk of a child program's output, as it arrives.
    virtual void AppendOutput(const QString& chunk) = 0;
    // Lets the user interface repaint and handle input (once, without blocking).
    virtual void ProcessEvents() {}
    // True once the administrator has asked to stop the running transfer
    // (the progress window's Cancel button); the transfer then ends its tool.
    virtual bool CancelRequested() const { return false; }
};
