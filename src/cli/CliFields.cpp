#include "cli/CliFields.h"

namespace CliFields {

bool ParseBool(const QString& text, bool* ok)
{
    const QString t = text.trimmed().toLower();
    *ok = true;
    if (t == u"1" || t == u"true" || t == u"yes" || t == u"on") return true;
    if (t == u"0" || t == u"false" || t == u"no" || t == u"off") return false;
    *ok = false;
    return false;
}

int ParseInt(const QString& text, bool* ok)
{
    const QString t = text.trimmed();
    const int n = t.toInt(ok, 10);
    if (t.startsWith(u'+')) *ok = false;
    return *ok ? n : 0;
}

QStringList ParseList(const QString& text)
{
    QStringList items;
    for (const QString& part : text.split(u',')) {
        const QString t = part.trimmed();
        if (!t.isEmpty()) items << t;
    }
    return items;
}

QPair<QString, QString> SplitAssignment(const QString& argument)
{
    const qsizetype eq = argument.indexOf(u'=');
    if (eq <= 0)
        throw ECliUsage(QStringLiteral("\"%1\" is not of the form FIELD=VALUE.").arg(argument));
    return {argument.left(eq).trimmed(), argument.mid(eq + 1)};
}

} // namespace CliFields
