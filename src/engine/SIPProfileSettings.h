#pragma once
// Shared by the two SIP profile generators: a table of record-file keys bound
// to the profile's fields, and the parameter line of a profile file.
#include "core/IniFile.h"
#include "core/Store.h"

#include <QString>
#include <variant>
#include <vector>

namespace KxProfile {

inline QString BoolToText(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

// One record-file key and the field it holds (a string, an integer or a Boolean).
template <class T>
struct Setting {
    const char* Key;
    std::variant<QString T::*, int T::*, bool T::*> Field;
};

inline const QString General = QStringLiteral("General");

// Reads every key with the field's current value as the default.
template <class T>
void Load(T& object, const std::vector<Setting<T>>& keys, const TIniFile& ini)
{
    for (const Setting<T>& s : keys) {
        const QString key = QString::fromLatin1(s.Key);
        if (auto p = std::get_if<QString T::*>(&s.Field)) object.*(*p) = ini.ReadString(General, key, object.*(*p));
        else if (auto p = std::get_if<int T::*>(&s.Field)) object.*(*p) = ini.ReadInteger(General, key, object.*(*p));
        else if (auto p = std::get_if<bool T::*>(&s.Field)) object.*(*p) = ini.ReadBool(General, key, object.*(*p));
    }
}

template <class T>
void Save(const T& object, const std::vector<Setting<T>>& keys, TIniFile& ini)
{
    for (const Setting<T>& s : keys) {
        const QString key = QString::fromLatin1(s.Key);
        if (auto p = std::get_if<QString T::*>(&s.Field)) ini.WriteString(General, key, object.*(*p));
        else if (auto p = std::get_if<int T::*>(&s.Field)) ini.WriteInteger(General, key, object.*(*p));
        else if (auto p = std::get_if<bool T::*>(&s.Field)) ini.WriteBool(General, key, object.*(*p));
    }
}

// "    <param name="P" value="V"/>"; the value is escaped for the attribute,
// so a $${name} reference passes unchanged.
inline QString Param(const char* name, const QString& value)
{
    return QStringLiteral("    <param name=\"%1\" value=\"%2\"/>")
        .arg(QString::fromLatin1(name), Store::XmlEscape(value));
}
inline QString Param(const char* name, int value) { return Param(name, QString::number(value)); }
inline QString Param(const char* name, bool value) { return Param(name, BoolToText(value)); }

} // namespace KxProfile
