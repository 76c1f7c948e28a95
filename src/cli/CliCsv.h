#pragma once
// Comma-separated values as spreadsheets write them: a header row, fields in
// double quotes when they hold a separator, a quote or a line break, quotes
// doubled inside. A file whose header holds semicolons but no comma uses the
// semicolon (as spreadsheets set up for a decimal comma write it).
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct TCsvRow {
    int Line = 0;       // line of the file the row begins on, counting from 1
    QStringList Fields;
};

namespace CliCsv {

// Reads the file's rows (header first); rows without any text are left out.
// A byte-order mark is skipped. Throws ECliFailure when the file cannot be
// read or a quoted field is not closed.
QList<TCsvRow> ReadFile(const QString& path);
QList<TCsvRow> Parse(const QString& text);

QString Quote(const QString& field, QChar separator = u',');
// Writes the rows (CR LF after each, UTF-8) atomically.
void WriteFile(const QString& path, const QList<QStringList>& rows);

} // namespace CliCsv
