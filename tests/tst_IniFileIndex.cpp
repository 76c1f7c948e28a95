// TIniFile finds keys through an index that its writes keep up to date. These
// tests drive random reads and writes over awkward texts (repeated sections,
// repeated keys, mixed case, comments, blank lines) and compare every result
// with a plain line-by-line reference of the same rules.
#include "KxTest.h"

#include "core/IniFile.h"

#include <QRandomGenerator>

namespace {

// The rules without an index: first occurrence of a section, first
// occurrence of a key within it, names compared without case.
class TReferenceIni {
public:
    explicit TReferenceIni(const QString& text)
    {
        Lines = text.split(u'\n');
        for (QString& l : Lines)
            if (l.endsWith(u'\r')) l.chop(1);
        if (!Lines.isEmpty() && Lines.last().isEmpty()) Lines.removeLast();
    }

    static bool sectionLine(const QString& line, QString* name = nullptr)
    {
        const QString t = line.trimmed();
        if (t.size() < 2 || !t.startsWith(u'[')) return false;
        const qsizetype end = t.indexOf(u']');
        if (end < 0) return false;
        if (name) *name = t.mid(1, end - 1).trimmed();
        return true;
    }
    static bool split(const QString& line, QString& key, QString& value)
    {
        const QString t = line.trimmed();
        if (t.isEmpty() || t.startsWith(u';') || t.startsWith(u'#') || t.startsWith(u'[')) return false;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0) return false;
        key = line.left(eq).trimmed();
        value = line.mid(eq + 1).trimmed();
        return !key.isEmpty();
    }
    int findSection(const QString& s) const
    {
        QString name;
        for (int i = 0; i < Lines.size(); ++i)
            if (sectionLine(Lines[i], &name) && name.compare(s, Qt::CaseInsensitive) == 0) return i;
        return -1;
    }
    int findKey(const QString& s, const QString& key) const
    {
        const int start = findSection(s);
        if (start < 0) return -1;
        QString k, v;
        for (int i = start + 1; i < Lines.size(); ++i) {
            if (sectionLine(Lines[i])) break;
            if (split(Lines[i], k, v) && k.compare(key, Qt::CaseInsensitive) == 0) return i;
        }
        return -1;
    }
    QString read(const QString& s, const QString& key, const QString& def) const
    {
        const int i = findKey(s, key);
        if (i < 0) return def;
        QString k, v;
        split(Lines[i], k, v);
        return v;
    }
    void write(const QString& s, const QString& key, const QString& value)
    {
        const QString line = key + u'=' + value;
        const int existing = findKey(s, key);
        if (existing >= 0) {
            Lines[existing] = line;
            return;
        }
        const int start = findSection(s);
        if (start < 0) {
            if (!Lines.isEmpty() && !Lines.last().trimmed().isEmpty()) Lines << QString();
            Lines << u'[' + s + u']' << line;
            return;
        }
        int insertAt = start + 1;
        for (int i = start + 1; i < Lines.size(); ++i) {
            if (sectionLine(Lines[i])) break;
            if (!Lines[i].trimmed().isEmpty()) insertAt = i + 1;
        }
        Lines.insert(insertAt, line);
    }
    QString text() const
    {
        QString t;
        for (const QString& l : Lines) t += l + QStringLiteral("\r\n");
        return t;
    }
    QStringList Lines;
};

const QStringList Sections = {QStringLiteral("General"), QStringLiteral("GENERAL"), QStringLiteral("Ids"),
                              QStringLiteral("ids"), QStringLiteral("Other"), QStringLiteral("New")};
const QStringList Keys = {QStringLiteral("Id"), QStringLiteral("ID"), QStringLiteral("Name"),
                          QStringLiteral("name"), QStringLiteral("Extension"), QStringLiteral("X"),
                          QStringLiteral("Fresh")};

} // namespace

class TestIniFileIndex : public QObject {
    Q_OBJECT

private slots:
    void matchesReference_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("keys before any section")
            << QStringLiteral("Id=1\n[General]\nName=a\n");
        QTest::newRow("repeated section and key")
            << QStringLiteral("; head\n[General]\nId=1\nid=2\n\n[Ids]\nX=1\n[general]\nName=late\nId=3\n");
        QTest::newRow("odd lines")
            << QStringLiteral("[General\n[ General ]\n  Name = spaced \n#Id=9\n;X=1\n=novalue\nnoequals\n"
                              "[Other]\n\n\nExtension=100\n\n");
        QTest::newRow("crlf") << QStringLiteral("[Ids]\r\nID=4\r\n[GENERAL]\r\nNAME=b\r\n");
    }
    void matchesReference()
    {
        QFETCH(QString, text);
        QRandomGenerator rng(uint(qHash(text)) + 7);
        for (int round = 0; round < 40; ++round) {
            TIniFile ini = TIniFile::FromText(text);
            TReferenceIni ref(text);
            for (int step = 0; step < 60; ++step) {
                const QString s = Sections[rng.bounded(int(Sections.size()))];
                const QString k = Keys[rng.bounded(int(Keys.size()))];
                if (rng.bounded(3) == 0) {
                    const QString v = QStringLiteral("v%1").arg(step);
                    ini.WriteString(s, k, v);
                    ref.write(s, k, v);
                } else {
                    QCOMPARE(ini.ReadString(s, k, QStringLiteral("<none>")),
                             ref.read(s, k, QStringLiteral("<none>")));
                    QCOMPARE(ini.SectionExists(s), ref.findSection(s) >= 0);
                    QCOMPARE(ini.ValueExists(s, k), ref.findKey(s, k) >= 0);
                }
            }
            QCOMPARE(ini.Text(), ref.text());
        }
    }
};

KX_TEST_MAIN(TestIniFileIndex)
#include "tst_IniFileIndex.moc"
