#pragma once
// What kestrix-cli prints: plain text for people on standard output, JSON for
// scripts, and warnings and errors on standard error.
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <exception>

// A mistake in the command line: the message is followed by a hint to --help
// and the program ends with exit status 2.
class ECliUsage : public std::exception {
public:
    explicit ECliUsage(QString message) : Message(std::move(message)), m_utf8(Message.toUtf8()) {}
    const char* what() const noexcept override { return m_utf8.constData(); }
    QString Message;

private:
    QByteArray m_utf8;
};

// A command that could not do what was asked although the command line was
// right (a record that does not exist, a failed check, a failed transfer).
// The lines of Details (if any) are printed before the one-line message.
class ECliFailure : public std::exception {
public:
    explicit ECliFailure(QString message, QStringList details = {})
        : Message(std::move(message)), Details(std::move(details)), m_utf8(Message.toUtf8()) {}
    const char* what() const noexcept override { return m_utf8.constData(); }
    QString Message;
    QStringList Details;

private:
    QByteArray m_utf8;
};

namespace CliOut {

void Print(const QString& text);       // one line (a line end is added)
void PrintRaw(const QString& text);    // as it stands
void Warn(const QString& text);        // one line on standard error
void PrintJson(const QJsonValue& value);

// Columns padded to the widest cell; the header underlined.
void PrintTable(const QStringList& headers, const QList<QStringList>& rows);
// "Field:  value" lines with the values aligned.
void PrintFields(const QList<QPair<QString, QString>>& fields);

// Makes a message fit on one line (line breaks become "; ").
QString OneLine(const QString& text);

} // namespace CliOut
