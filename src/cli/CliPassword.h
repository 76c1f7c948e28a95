#pragma once
// The server's root password never comes from the command line (any local
// user could read it in the process list): it is typed at a prompt with the
// echo off, or read from a file or from standard input.
#include <QString>

namespace CliPassword {

// The first line of the file, without its line end.
QString FromFile(const QString& path);
// The first line of standard input, without its line end.
QString FromStdin();
// Whether standard input is a terminal a prompt can be shown on.
bool CanPrompt();
// Shows the prompt on standard error and reads a line with the echo off.
QString Prompt(const QString& prompt);

} // namespace CliPassword
