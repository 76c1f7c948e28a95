#pragma once
// Runs a console program hidden, collects everything it prints and answers its
// prompts: when one of the prompt texts shows up in its output, the matching
// response and a line break are typed into its standard input.
#include "core/KxError.h"

#include <QString>
#include <QStringList>
#include <functional>

class TProgressSink;

class ENilOutput : public EKXError {
public:
    ENilOutput();
};

class EUnequalPromptResponseLength : public EKXError {
public:
    EUnequalPromptResponseLength();
};

struct TAutoResponseOptions {
    // Folder the program starts in; empty: the caller's current folder.
    QString WorkingDirectory;
    // Receives each piece of output as it arrives (the progress window's memo).
    TProgressSink* Sink = nullptr;
    // Polled while the program runs; true ends the program (its input is
    // closed, then it is asked to terminate, then killed).
    std::function<bool()> CancelRequested;
    // Asked before Responses[i] is typed, with the output in which the prompt
    // was found. Refuse types an empty line instead (what the tools take as
    // "abandon") and closes the program's input, so it ends by itself; Skip
    // types nothing (the text was not a question after all).
    enum TDecision { Answer, Refuse, Skip };
    std::function<TDecision(int promptIndex, const QString& seen)> ConfirmAnswer;
    // How long one wait for output may block before the idle procedure runs
    // again (milliseconds).
    int WaitMs = 40;
};

struct TAutoResponseResult {
    int ExitCode = -1;
    bool Crashed = false;       // ended by a signal (also after Cancel)
    bool Cancelled = false;
    int RefusedPrompt = -1;     // index of the prompt that ConfirmAnswer refused
    int AnswerCount = 0;        // responses typed
};

// Output's previous content is discarded. A line split over two reads stays one
// line; line ends (LF or CR LF) are not kept. At most one prompt is answered per
// read: the first of Prompts, in list order, found in the output received since
// the last answer; a prompt that arrives in pieces is still found.
// idleProc (may be empty) runs whenever the program has printed nothing for a
// short while; between those calls the runner waits on the program without
// using the processor.
// Throws ENilOutput, EUnequalPromptResponseLength (before anything starts) and
// EKXError when the program cannot be started.
TAutoResponseResult RunAutoResponseProcess(const QString& executable, const QStringList& parameters,
                                           QStringList* output, const QStringList& prompts,
                                           const QStringList& responses,
                                           const std::function<void()>& idleProc,
                                           const TAutoResponseOptions& options = {});
