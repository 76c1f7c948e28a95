#include "core/IniFile.h"
#include "core/KxError.h"
#include "core/Store.h"

#include <QFile>

namespace {
bool isSectionLine(const QString& line, QString* name = nullptr)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(u'[')) return false;
    const qsizetype end = t.indexOf(u']');
    if (end < 0) return false;
    if (name) *name = t.mid(1, end - 1).trimmed();
    return true;
}
} // namespace

TIniFile::TIniFile(const QString& path) : m_path(path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) parse(QString::fromUtf8(file.readAll()));
}

TIniFile TIniFile::FromText(const QString& text, const QString& path)
{
    TIniFile ini;
    ini.m_path = path;
    ini.parse(text);
    return ini;
}

void TIniFile::parse(const QString& text)
{
    m_lines = text.split(u'\n');
    for (QString& l : m_lines)
        if (l.endsWith(u'\r')) l.chop(1);
    if (!m_lines.isEmpty() && m_lines.last().isEmpty()) m_lines.removeLast();
}

bool TIniFile::splitLine(const QString& line, QString& key, QString& value)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(u';') || t.startsWith(u'#') || t.startsWith(u'[')) return false;
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) return false;
    key = line.left(eq).trimmed();
    value = line.mid(eq + 1).trimmed();
    return !key.isEmpty();
}

int TIniFile::findSection(const QString& section) const
{
    QString name;
    for (int i = 0; i < m_lines.size(); ++i)
        if (isSectionLine(m_lines[i], &name) && name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int TIniFile::findKey(const QString& section, const QString& key) const
{
    const int start = findSection(section);
    if (start < 0) return -1;
    QString k, v;
    for (int i = start + 1; i < m_lines.size(); ++i) {
        if (isSectionLine(m_lines[i])) break;
        if (splitLine(m_lines[i], k, v) && k.compare(key, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

bool TIniFile::SectionExists(const QString& section) const { return findSection(section) >= 0; }
bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    return findKey(section, key) >= 0;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const int i = findKey(section, key);
    if (i < 0) return def;
    QString k, v;
    splitLine(m_lines[i], k, v);
    return v;
}

bool TIniFile::TryReadInteger(const QString& section, const QString& key, int& value) const
{
    const int i = findKey(section, key);
    if (i < 0) return false;
    QString k, v;
    splitLine(m_lines[i], k, v);
    bool ok = false;
    const int n = v.toInt(&ok, 10);
    if (ok) value = n;
    return ok;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    int v = def;
    return TryReadInteger(section, key, v) ? v : def;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    const int i = findKey(section, key);
    if (i < 0) return def;
    QString k, v;
    splitLine(m_lines[i], k, v);
    if (v.isEmpty()) return def;
    return v.startsWith(u'1');
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    if (value.contains(u'\n') || value.contains(u'\r'))
        throw EKXError(QStringLiteral("The value of %1 in %2 contains a line break, which a record file "
                                      "cannot hold.")
                           .arg(key, m_path.isEmpty() ? QStringLiteral("the record") : m_path));
    const QString line = key + u'=' + value;
    const int existing = findKey(section, key);
    if (existing >= 0) {
        m_lines[existing] = line;
        return;
    }
    const int start = findSection(section);
    if (start < 0) {
        if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty()) m_lines << QString();
        m_lines << u'[' + section + u']' << line;
        return;
    }
    // After the last non-blank line of the section.
    int insertAt = start + 1;
    for (int i = start + 1; i < m_lines.size(); ++i) {
        if (isSectionLine(m_lines[i])) break;
        if (!m_lines[i].trimmed().isEmpty()) insertAt = i + 1;
    }
    m_lines.insert(insertAt, line);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QString TIniFile::Text() const
{
    QString text;
    for (const QString& l : m_lines) {
        text += l;
        text += QLatin1String("\r\n");
    }
    return text;
}

void TIniFile::UpdateFile() const
{
    Store::WriteFileAtomically(m_path, Text().toUtf8());
}
