#pragma once
// INI text as the record and settings files use it: sections and keys matched
// without case; a key already present keeps its line and gets the new value; a
// new key is appended to the end of its section; lines that are not written
// stay exactly as they were. Values never span lines: a value holding a line
// break is refused. Writing replaces the file atomically.
#include <QHash>
#include <QString>
#include <QStringList>

class TIniFile {
public:
    // Reads the file when it exists; a missing file reads as empty.
    explicit TIniFile(const QString& path);
    static TIniFile FromText(const QString& text, const QString& path = QString());

    const QString& FileName() const { return m_path; }

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // A missing key or a value that is not a decimal integer yields def.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // True only when the stored text begins with "1"; a missing key or an empty
    // value yields def.
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    // False when the key is missing or not a decimal integer.
    bool TryReadInteger(const QString& section, const QString& key, int& value) const;

    // Throws EKXError when the value holds a line break.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);

    QString Text() const;
    // Writes the text to the file atomically (CR LF line ends), creating its folder.
    void UpdateFile() const;

private:
    TIniFile() = default;
    void parse(const QString& text);
    int findSection(const QString& section) const;       // index of the header line, -1
    int findKey(const QString& section, const QString& key) const; // index of the key line, -1
    static bool splitLine(const QString& line, QString& key, QString& value);

    // Lookup index over m_lines, built on the first lookup and kept up to
    // date by the writes: the header line of the first occurrence of each
    // section, and the first line of each key within that occurrence (the
    // only lines a lookup can find). Names are case-folded.
    void ensureIndex() const;
    QStringView valueAt(int line) const; // trimmed value of an indexed key line
    void shiftIndex(int fromLine) const;
    static QString sectionId(const QString& section);
    static QString keyId(const QString& section, const QString& key);

    QString m_path;
    QStringList m_lines;
    mutable bool m_indexed = false;
    mutable QHash<QString, int> m_sectionLines;
    mutable QHash<QString, int> m_keyLines;
};
