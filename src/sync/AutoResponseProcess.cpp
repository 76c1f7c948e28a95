#include "sync/AutoResponseProcess.h"
#include "core/ProgressSink.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStringDecoder>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

ENilOutput::ENilOutput() : EKXError(QStringLiteral("Output may not be nil")) {}

EUnequalPromptResponseLength::EUnequalPromptResponseLength()
    : EKXError(QStringLiteral("Prompts and Responses must have the same length"))
{
}

namespace {

// Appends output to a line list without rebuilding it: complete lines are
// appended, the unfinished last line is extended in place.
class TLineCollector {
public:
    explicit TLineCollector(QStringList& lines) : m_lines(lines) {}

    void Append(const QString& text)
    {
        qsizetype start = 0;
        while (start < text.size()) {
            const qsizetype nl = text.indexOf(u'\n', start);
            const qsizetype end = nl < 0 ? text.size() : nl;
            QString piece = text.mid(start, end - start);
            piece.remove(u'\r');
            if (m_open) m_lines.last() += piece;
            else m_lines.append(piece);
            m_open = nl < 0;
            start = nl < 0 ? text.size() : nl + 1;
        }
    }

private:
    QStringList& m_lines;
    bool m_open = false; // the last line has not ended yet
};

class TRun {
public:
    TRun(QStringList& output, const QStringList& prompts, const QStringList& responses,
         const std::function<void()>& idle, const TAutoResponseOptions& options)
        : m_collector(output), m_prompts(prompts), m_responses(responses), m_idle(idle), m_opt(options)
    {
        for (const QString& p : prompts) m_longestPrompt = std::max(m_longestPrompt, p.size());
    }

    TAutoResponseResult Execute(const QString& executable, const QStringList& parameters)
    {
        m_proc.setProcessChannelMode(QProcess::MergedChannels);
        if (!m_opt.WorkingDirectory.isEmpty()) m_proc.setWorkingDirectory(m_opt.WorkingDirectory);
#ifdef Q_OS_UNIX
        // A session of its own: the program has no terminal to ask on, so every
        // question it has comes through the pipes that this runner watches.
        m_proc.setChildProcessModifier([] { ::setsid(); });
#endif
        m_proc.start(executable, parameters, QIODevice::ReadWrite);
        if (!m_proc.waitForStarted(-1))
            throw EKXError(QStringLiteral("Unable to start ") + executable + QStringLiteral(": ")
                           + m_proc.errorString());

        QElapsedTimer sinceIdle;
        sinceIdle.start();
        for (;;) {
            if (m_proc.bytesAvailable() > 0) {
                handleChunk(m_proc.readAll());
                if (sinceIdle.elapsed() >= m_opt.WaitMs) {
                    idle();
                    sinceIdle.restart();
                }
                continue;
            }
            if (m_proc.state() == QProcess::NotRunning) break;
            if (m_opt.CancelRequested && m_opt.CancelRequested()) {
                cancel();
                break;
            }
            if (m_refusedAt.isValid() && m_refusedAt.elapsed() > 5000) {
                // Refused a prompt but the program did not give up: end it.
                stopChild();
                break;
            }
            QElapsedTimer waited;
            waited.start();
            if (!m_proc.waitForReadyRead(m_opt.WaitMs)) {
                // Returns at once when the output channel is closed while the
                // program still runs; then wait for its end instead of spinning.
                if (m_proc.state() != QProcess::NotRunning && waited.elapsed() < m_opt.WaitMs / 2)
                    m_proc.waitForFinished(m_opt.WaitMs);
                idle();
                sinceIdle.restart();
            }
        }
        if (m_proc.state() != QProcess::NotRunning) m_proc.waitForFinished(-1);
        handleChunk(m_proc.readAll());
        const QString rest = m_decoder.decode(QByteArray()); // flushes an incomplete character
        if (!rest.isEmpty()) m_collector.Append(rest);

        m_result.Crashed = m_proc.exitStatus() == QProcess::CrashExit;
        m_result.ExitCode = m_proc.exitCode();
        return m_result;
    }

private:
    void idle()
    {
        if (m_idle) m_idle();
    }

    void handleChunk(const QByteArray& bytes)
    {
        if (bytes.isEmpty()) return;
        const QString chunk = m_decoder.decode(bytes);
        if (chunk.isEmpty()) return;
        m_collector.Append(chunk);
        if (m_opt.Sink) {
            QString shown = chunk;
            shown.remove(u'\r');
            m_opt.Sink->AppendOutput(shown);
        }
        if (m_prompts.isEmpty() || m_refusedAt.isValid() || m_result.Cancelled) return;

        m_match += chunk;
        for (int i = 0; i < m_prompts.size(); ++i) {
            if (m_prompts[i].isEmpty() || !m_match.contains(m_prompts[i])) continue;
            const QString seen = m_match;
            m_match.clear();
            const auto decision = m_opt.ConfirmAnswer ? m_opt.ConfirmAnswer(i, seen) : TAutoResponseOptions::Answer;
            if (decision == TAutoResponseOptions::Refuse) {
                m_result.RefusedPrompt = i;
                m_proc.write("\r\n");
                m_proc.closeWriteChannel();
                m_refusedAt.start();
            } else if (decision == TAutoResponseOptions::Answer) {
                m_proc.write((m_responses[i] + QStringLiteral("\r\n")).toLocal8Bit());
                ++m_result.AnswerCount;
            }
            return;
        }
        // Only the last characters can still begin a prompt: keep no more, so
        // a long run does not search an ever-growing text.
        if (m_match.size() > m_longestPrompt) m_match = m_match.right(m_longestPrompt - 1);
    }

    void stopChild()
    {
        m_proc.closeWriteChannel();
        m_proc.terminate();
        if (!m_proc.waitForFinished(3000)) {
            m_proc.kill();
            m_proc.waitForFinished(-1);
        }
    }

    void cancel()
    {
        m_result.Cancelled = true;
        stopChild();
    }

    QProcess m_proc;
    QStringDecoder m_decoder{QStringDecoder::System};
    TLineCollector m_collector;
    const QStringList& m_prompts;
    const QStringList& m_responses;
    const std::function<void()>& m_idle;
    const TAutoResponseOptions& m_opt;
    QString m_match;
    qsizetype m_longestPrompt = 0;
    QElapsedTimer m_refusedAt;
    TAutoResponseResult m_result;
};

} // namespace

TAutoResponseResult RunAutoResponseProcess(const QString& executable, const QStringList& parameters,
                                           QStringList* output, const QStringList& prompts,
                                           const QStringList& responses,
                                           const std::function<void()>& idleProc,
                                           const TAutoResponseOptions& options)
{
    if (!output) throw ENilOutput();
    if (prompts.size() != responses.size()) throw EUnequalPromptResponseLength();
    output->clear();
    TRun run(*output, prompts, responses, idleProc, options);
    return run.Execute(executable, parameters);
}
