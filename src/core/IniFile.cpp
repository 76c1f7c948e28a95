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
    QByteArray data;
    if (Store::ReadFileBytes(path, data)) parse(QString::fromUtf8(data));
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
    m_indexed = false;
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

QString TIniFile::sectionId(const QString& section) { return section.toCaseFolded(); }

QString TIniFile::keyId(const QString& section, const QString& key)
{
    return (section + u'\n' + key).toCaseFolded();
}

void TIniFile::ensureIndex() const
{
    if (m_indexed) return;
    m_sectionLines.clear();
    m_keyLines.clear();
    // Same rules as isSectionLine and splitLine, read through views so that
    // only the names that go into the index are copied.
    QString section;    // folded name of the section being read
    bool first = false; // whether it is that section's first occurrence
    for (int i = 0; i < m_lines.size(); ++i) {
        const QStringView line(m_lines[i]);
        const QStringView t = line.trimmed();
        if (t.isEmpty() || t.front() == u';' || t.front() == u'#') continue;
        if (t.front() == u'[') {
            const qsizetype end = t.indexOf(u']');
            if (t.size() < 2 || end < 0) continue; // neither a section nor a key
            section = sectionId(t.mid(1, end - 1).trimmed().toString());
            first = !m_sectionLines.contains(section);
            if (first) m_sectionLines.insert(section, i);
            continue;
        }
        if (!first) continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0) continue;
        const QStringView key = line.left(eq).trimmed();
        if (key.isEmpty()) continue;
        QString id;
        id.reserve(section.size() + 1 + key.size());
        id.append(section).append(u'\n').append(key);
        id = std::move(id).toCaseFolded();
        if (!m_keyLines.contains(id)) m_keyLines.insert(std::move(id), i);
    }
    m_indexed = true;
}

// A line was inserted at fromLine: every indexed line from there moves down.
void TIniFile::shiftIndex(int fromLine) const
{
    for (auto it = m_sectionLines.begin(); it != m_sectionLines.end(); ++it)
        if (it.value() >= fromLine) ++it.value();
    for (auto it = m_keyLines.begin(); it != m_keyLines.end(); ++it)
        if (it.value() >= fromLine) ++it.value();
}

int TIniFile::findSection(const QString& section) const
{
    ensureIndex();
    return m_sectionLines.value(sectionId(section), -1);
}

QStringView TIniFile::valueAt(int line) const
{
    const QString& l = m_lines[line];
    return QStringView(l).mid(l.indexOf(u'=') + 1).trimmed();
}

int TIniFile::findKey(const QString& section, const QString& key) const
{
    ensureIndex();
    return m_keyLines.value(keyId(section, key), -1);
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
    return valueAt(i).toString();
}

bool TIniFile::TryReadInteger(const QString& section, const QString& key, int& value) const
{
    const int i = findKey(section, key);
    if (i < 0) return false;
    bool ok = false;
    const int n = valueAt(i).toInt(&ok, 10);
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
    const QStringView v = valueAt(i);
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
        m_sectionLines.insert(sectionId(section), int(m_lines.size()) - 2);
        m_keyLines.insert(keyId(section, key), int(m_lines.size()) - 1);
        return;
    }
    // After the last non-blank line of the section.
    int insertAt = start + 1;
    for (int i = start + 1; i < m_lines.size(); ++i) {
        if (isSectionLine(m_lines[i])) break;
        if (!m_lines[i].trimmed().isEmpty()) insertAt = i + 1;
    }
    m_lines.insert(insertAt, line);
    shiftIndex(insertAt);
    m_keyLines.insert(keyId(section, key), insertAt);
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
