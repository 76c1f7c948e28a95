#include "cli/CliPassword.h"
#include "cli/CliOutput.h"

#include <QFile>
#include <cstdio>
#include <string>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <csignal>
#include <termios.h>
#include <unistd.h>
#endif

namespace CliPassword {

namespace {
QString firstLine(const QByteArray& bytes)
{
    qsizetype end = bytes.indexOf('\n');
    QByteArray line = end < 0 ? bytes : bytes.left(end);
    if (line.endsWith('\r')) line.chop(1);
    return QString::fromUtf8(line);
}

std::string readStdinLine()
{
    std::string line;
    int c;
    while ((c = std::fgetc(stdin)) != EOF && c != '\n') line.push_back(char(c));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

#ifndef Q_OS_WIN
termios g_saved;
bool g_echoOff = false;

void restoreEcho()
{
    if (g_echoOff) tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_saved);
    g_echoOff = false;
}

extern "C" void onSignalWhileEchoOff(int sig)
{
    restoreEcho();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}
#endif
} // namespace

QString FromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ECliFailure(QStringLiteral("Unable to read the password file %1: %2").arg(path, file.errorString()));
    return firstLine(file.readAll());
}

QString FromStdin()
{
    if (std::feof(stdin)) return QString();
    return QString::fromStdString(readStdinLine());
}

bool CanPrompt()
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stdin));
#else
    return isatty(STDIN_FILENO);
#endif
}

QString Prompt(const QString& prompt)
{
    std::fflush(stdout);
    const QByteArray p = prompt.toUtf8();
    std::fwrite(p.constData(), 1, size_t(p.size()), stderr);
    std::fflush(stderr);
#ifdef Q_OS_WIN
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    GetConsoleMode(in, &mode);
    SetConsoleMode(in, mode & ~DWORD(ENABLE_ECHO_INPUT));
    const std::string line = readStdinLine();
    SetConsoleMode(in, mode);
#else
    std::string line;
    if (tcgetattr(STDIN_FILENO, &g_saved) == 0) {
        termios quiet = g_saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        quiet.c_lflag |= ECHONL;
        // Ctrl-C at the prompt must not leave the terminal without echo.
        auto oldInt = std::signal(SIGINT, onSignalWhileEchoOff);
        auto oldTerm = std::signal(SIGTERM, onSignalWhileEchoOff);
        g_echoOff = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        line = readStdinLine();
        restoreEcho();
        std::signal(SIGINT, oldInt);
        std::signal(SIGTERM, oldTerm);
    } else {
        line = readStdinLine();
    }
#endif
    return QString::fromStdString(line);
}

} // namespace CliPassword
