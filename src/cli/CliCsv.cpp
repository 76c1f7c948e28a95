#include "cli/CliCsv.h"
#include "cli/CliOutput.h"
#include "core/Store.h"

#include <QFile>
#include <QStringDecoder>

namespace CliCsv {

QList<TCsvRow> Parse(const QString& input)
{
    QString text = input;
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    const qsizetype headerEnd = text.indexOf(u'\n');
    const QString header = text.left(headerEnd < 0 ? text.size() : headerEnd);
    const QChar sep = (!header.contains(u',') && header.contains(u';')) ? QChar(u';') : QChar(u',');

    QList<TCsvRow> rows;
    TCsvRow row;
    QString field;
    bool quoted = false;     // inside a quoted field
    bool fieldStarted = false;
    int line = 1;
    row.Line = 1;
    auto endField = [&] {
        row.Fields << field;
        field.clear();
        fieldStarted = false;
    };
    auto endRow = [&] {
        endField();
        bool blank = true;
        for (const QString& f : row.Fields)
            if (!f.trimmed().isEmpty()) blank = false;
        if (!blank) rows << row;
        row = TCsvRow();
        row.Line = line;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else
                    quoted = false;
            } else {
                if (c == u'\n') ++line;
                field += c;
            }
            continue;
        }
        if (c == u'"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
        } else if (c == sep)
            endField();
        else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue;
        else if (c == u'\n') {
            ++line;
            endRow();
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted)
        throw ECliFailure(QStringLiteral("line %1: a quoted field is not closed.").arg(row.Line));
    if (fieldStarted || !field.isEmpty() || !row.Fields.isEmpty()) endRow();
    return rows;
}

QList<TCsvRow> ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ECliFailure(QStringLiteral("Unable to read %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (utf8.hasError())
        throw ECliFailure(QStringLiteral("%1 is not UTF-8 text; save it as CSV in UTF-8 and try again.").arg(path));
    return Parse(text);
}

QString Quote(const QString& field, QChar separator)
{
    if (!field.contains(separator) && !field.contains(u'"') && !field.contains(u'\n') && !field.contains(u'\r')
        && field.trimmed() == field)
        return field;
    QString q = field;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

void WriteFile(const QString& path, const QList<QStringList>& rows)
{
    QString text;
    for (const QStringList& r : rows) {
        QStringList quoted;
        for (const QString& f : r) quoted << Quote(f);
        text += quoted.join(u',') + QStringLiteral("\r\n");
    }
    Store::WriteFileAtomically(path, text.toUtf8());
}

} // namespace CliCsv
