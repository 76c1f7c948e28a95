#pragma once
// The fields of a record as the command line shows and sets them: by their
// names in the model ("Name", "VMEnabled"), matched without case, set with
// FIELD=VALUE arguments, shown as text or JSON, and used as CSV columns.
#include "cli/CliOutput.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>
#include <variant>
#include <vector>

enum class TFieldAccess { Settable, ReadOnly };

template <class T>
struct TCliField {
    QString Name;
    std::variant<QString T::*, int T::*, bool T::*, QStringList T::*> Member;
    TFieldAccess Access = TFieldAccess::Settable;
    QString Help;
};

template <class T>
using TCliFields = std::vector<TCliField<T>>;

namespace CliFields {

// Booleans: 1/0, true/false, yes/no, on/off (any case).
bool ParseBool(const QString& text, bool* ok);
// Whole numbers in decimal.
int ParseInt(const QString& text, bool* ok);
// Lists: comma-separated, blanks around the items dropped, empty items left out.
QStringList ParseList(const QString& text);

// Splits FIELD=VALUE; throws ECliUsage when there is no "=".
QPair<QString, QString> SplitAssignment(const QString& argument);

template <class T>
const TCliField<T>* Find(const TCliFields<T>& fields, const QString& name)
{
    for (const auto& f : fields)
        if (f.Name.compare(name, Qt::CaseInsensitive) == 0) return &f;
    return nullptr;
}

template <class T>
QStringList Names(const TCliFields<T>& fields, bool settableOnly = false)
{
    QStringList names;
    for (const auto& f : fields)
        if (!settableOnly || f.Access == TFieldAccess::Settable) names << f.Name;
    return names;
}

template <class T>
QString Text(const TCliField<T>& f, const T& record)
{
    return std::visit(
        [&](auto member) -> QString {
            const auto& v = record.*member;
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V, QString>) return v;
            else if constexpr (std::is_same_v<V, int>) return QString::number(v);
            else if constexpr (std::is_same_v<V, bool>) return v ? QStringLiteral("1") : QStringLiteral("0");
            else return v.join(u',');
        },
        f.Member);
}

template <class T>
QJsonValue Json(const TCliField<T>& f, const T& record)
{
    return std::visit(
        [&](auto member) -> QJsonValue {
            const auto& v = record.*member;
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V, QStringList>) return QJsonArray::fromStringList(v);
            else return QJsonValue(v);
        },
        f.Member);
}

template <class T>
QJsonObject ToJson(const TCliFields<T>& fields, const T& record)
{
    QJsonObject o;
    for (const auto& f : fields) o.insert(f.Name, Json(f, record));
    return o;
}

template <class T>
QList<QPair<QString, QString>> ToPairs(const TCliFields<T>& fields, const T& record)
{
    QList<QPair<QString, QString>> pairs;
    for (const auto& f : fields) pairs.append({f.Name, Text(f, record)});
    return pairs;
}

// Sets one field from its text; returns an error message, empty on success.
template <class T>
QString SetText(const TCliField<T>& f, T& record, const QString& text)
{
    if (f.Access != TFieldAccess::Settable) return QStringLiteral("The field %1 cannot be set.").arg(f.Name);
    if (text.contains(u'\n') || text.contains(u'\r'))
        return QStringLiteral("The value of %1 must not contain a line break.").arg(f.Name);
    return std::visit(
        [&](auto member) -> QString {
            auto& v = record.*member;
            using V = std::decay_t<decltype(v)>;
            bool ok = true;
            if constexpr (std::is_same_v<V, QString>) v = text;
            else if constexpr (std::is_same_v<V, int>) {
                const int n = ParseInt(text, &ok);
                if (!ok) return QStringLiteral("The value of %1 must be a whole number, not \"%2\".").arg(f.Name, text);
                v = n;
            } else if constexpr (std::is_same_v<V, bool>) {
                const bool b = ParseBool(text, &ok);
                if (!ok) return QStringLiteral("The value of %1 must be 1 or 0 (true or false), not \"%2\".").arg(f.Name, text);
                v = b;
            } else v = ParseList(text);
            return QString();
        },
        f.Member);
}

// Applies FIELD=VALUE arguments in order; throws ECliUsage on an unknown or
// read-only field or a value of the wrong form. Returns the fields set.
template <class T>
QStringList Assign(const TCliFields<T>& fields, T& record, const QStringList& assignments)
{
    QStringList set;
    for (const QString& a : assignments) {
        const auto [name, value] = SplitAssignment(a);
        const TCliField<T>* f = Find(fields, name);
        if (!f)
            throw ECliUsage(QStringLiteral("Unknown field \"%1\"; the fields are: %2.")
                                .arg(name, Names(fields, true).join(QStringLiteral(", "))));
        const QString error = SetText(*f, record, value);
        if (!error.isEmpty()) throw ECliUsage(error);
        set << f->Name;
    }
    return set;
}

template <class T>
QString Help(const TCliFields<T>& fields, const T& defaults)
{
    QString text = QStringLiteral("Fields (FIELD=VALUE; names in any letter case):\n");
    qsizetype width = 0;
    for (const auto& f : fields) width = std::max(width, f.Name.size());
    for (const auto& f : fields) {
        QString kind = std::visit(
            [](auto member) -> QString {
                using V = std::decay_t<decltype(std::declval<T>().*member)>;
                if constexpr (std::is_same_v<V, int>) return QStringLiteral("number");
                else if constexpr (std::is_same_v<V, bool>) return QStringLiteral("1/0");
                else if constexpr (std::is_same_v<V, QStringList>) return QStringLiteral("list a,b,c");
                else return QStringLiteral("text");
            },
            f.Member);
        if (f.Access == TFieldAccess::ReadOnly) kind += QStringLiteral(", read only");
        QString line = QStringLiteral("  ") + f.Name.leftJustified(width) + QStringLiteral("  (") + kind + u')';
        if (!f.Help.isEmpty()) line += u' ' + f.Help;
        const QString def = Text(f, defaults);
        if (f.Access == TFieldAccess::Settable && !def.isEmpty()) line += QStringLiteral(" [default: %1]").arg(def);
        text += line + u'\n';
    }
    return text;
}

} // namespace CliFields
