#include "cli/CliOutput.h"

#include <QJsonDocument>
#include <algorithm>
#include <cstdio>

namespace CliOut {

namespace {
void writeTo(FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}
} // namespace

void Print(const QString& text) { writeTo(stdout, text + u'\n'); }

void PrintRaw(const QString& text) { writeTo(stdout, text); }

void Warn(const QString& text)
{
    std::fflush(stdout);
    writeTo(stderr, text + u'\n');
    std::fflush(stderr);
}

void PrintJson(const QJsonValue& value)
{
    QJsonDocument doc;
    if (value.isArray()) doc.setArray(value.toArray());
    else if (value.isObject()) doc.setObject(value.toObject());
    else {
        // A bare value: wrap it so the output stays a JSON document.
        QJsonArray a;
        a.append(value);
        const QByteArray text = QJsonDocument(a).toJson(QJsonDocument::Compact);
        PrintRaw(QString::fromUtf8(text.mid(1, text.size() - 2)) + u'\n');
        return;
    }
    PrintRaw(QString::fromUtf8(doc.toJson(QJsonDocument::Indented)));
}

void PrintTable(const QStringList& headers, const QList<QStringList>& rows)
{
    QList<qsizetype> widths;
    for (const QString& h : headers) widths << h.size();
    for (const QStringList& r : rows)
        for (int c = 0; c < r.size() && c < widths.size(); ++c) widths[c] = std::max(widths[c], r[c].size());
    auto line = [&](const QStringList& cells) {
        QString out;
        for (int c = 0; c < cells.size() && c < widths.size(); ++c) {
            if (c + 1 == cells.size()) out += cells[c];
            else out += cells[c].leftJustified(widths[c]) + QStringLiteral("  ");
        }
        while (out.endsWith(u' ')) out.chop(1);
        return out;
    };
    QString text = line(headers) + u'\n';
    QStringList rules;
    for (qsizetype w : widths) rules << QString(w, u'-');
    text += line(rules) + u'\n';
    for (const QStringList& r : rows) text += line(r) + u'\n';
    PrintRaw(text);
}

void PrintFields(const QList<QPair<QString, QString>>& fields)
{
    qsizetype width = 0;
    for (const auto& f : fields) width = std::max(width, f.first.size() + 1);
    QString text;
    for (const auto& f : fields) text += (f.first + u':').leftJustified(width) + QStringLiteral("  ") + f.second + u'\n';
    PrintRaw(text);
}

QString OneLine(const QString& text)
{
    QStringList parts;
    for (QString p : text.split(u'\n')) {
        p = p.trimmed();
        if (!p.isEmpty()) parts << p;
    }
    return parts.join(QStringLiteral("; "));
}

} // namespace CliOut
