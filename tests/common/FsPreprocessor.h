#pragma once
// Test support: assembles a configuration tree the way the engine's XML
// preprocessor does before it parses the result, so tests can check that the
// generated files fit together.
//
// Line by line, as the engine reads its files:
// - every $${name} is replaced by the value a "set" directive gave it before
//   (or by one of the engine's built-in variables); a name without a value is
//   replaced by nothing and reported in Undefined;
// - in an included file, a line holding <include> or </include> is dropped;
// - a line holding the X-PRE-PROCESS directive is replaced entirely by what
//   the directive does, wherever it stands on the line, comments included:
//   cmd="set" data="name=value" sets a variable, cmd="include" data="pattern"
//   inserts every file matching the pattern (a glob in its last component,
//   relative to the including file's folder), in name order;
// - any other line is kept.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace KxTest {

class FsPreprocessor {
public:
    FsPreprocessor()
    {
        // Variables the engine sets itself before it reads the configuration.
        Vars[QStringLiteral("local_ip_v4")] = QStringLiteral("192.0.2.1");
        Vars[QStringLiteral("base_dir")] = QStringLiteral("/usr");
        Vars[QStringLiteral("sounds_dir")] = QStringLiteral("/usr/share/freeswitch/sounds");
        Vars[QStringLiteral("recordings_dir")] = QStringLiteral("/var/lib/freeswitch/recordings");
    }

    QMap<QString, QString> Vars;
    QMap<QString, int> Reads;  // absolute path -> number of times read
    QStringList Undefined;     // "file:line: name"
    QStringList Problems;      // includes naming a missing file, unknown commands, unreadable files

    // Returns the assembled document of the root file.
    QString Assemble(const QString& rootFile)
    {
        QStringList out;
        process(QFileInfo(rootFile).absoluteFilePath(), 0, out);
        return out.join(u'\n');
    }

private:
    static QString attribute(const QString& line, const QString& name)
    {
        const QRegularExpression re(QStringLiteral("\\b") + name + QStringLiteral("\\s*=\\s*\"([^\"]*)\""),
                                    QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch m = re.match(line);
        return m.hasMatch() ? m.captured(1) : QString();
    }

    QString expand(const QString& line, const QString& where)
    {
        QString result;
        int pos = 0;
        while (true) {
            const int at = line.indexOf(QLatin1String("$${"), pos);
            const int end = at < 0 ? -1 : line.indexOf(u'}', at + 3);
            if (at < 0 || end < 0) {
                result += line.mid(pos);
                return result;
            }
            result += line.mid(pos, at - pos);
            const QString name = line.mid(at + 3, end - at - 3);
            if (Vars.contains(name)) result += Vars.value(name);
            else Undefined << where + QStringLiteral(": ") + name;
            pos = end + 1;
        }
    }

    void include(const QString& fromFolder, const QString& pattern, int level, QStringList& out,
                 const QString& where)
    {
        const QString full = QDir::isAbsolutePath(pattern) ? pattern : QDir(fromFolder).filePath(pattern);
        const QFileInfo fi(full);
        const QString namePattern = fi.fileName();
        if (!namePattern.contains(u'*') && !namePattern.contains(u'?') && !namePattern.contains(u'[')) {
            if (fi.isFile()) process(fi.absoluteFilePath(), level + 1, out);
            else Problems << where + QStringLiteral(": no file ") + full;
            return;
        }
        const QDir dir(fi.absolutePath());
        const QStringList names = dir.entryList({namePattern}, QDir::Files, QDir::Name);
        for (const QString& n : names) process(dir.absoluteFilePath(n), level + 1, out);
    }

    void process(const QString& path, int level, QStringList& out)
    {
        ++Reads[path];
        if (level > 20) {
            Problems << path + QStringLiteral(": includes nested too deep");
            return;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            Problems << path + QStringLiteral(": cannot be read");
            return;
        }
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        const QString folder = QFileInfo(path).absolutePath();
        for (int i = 0; i < lines.size(); ++i) {
            QString raw = lines[i];
            if (raw.endsWith(u'\r')) raw.chop(1);
            const QString where = path + u':' + QString::number(i + 1);
            const QString line = expand(raw, where);
            if (level > 0 && (line.contains(QLatin1String("<include>")) || line.contains(QLatin1String("</include>"))))
                continue;
            if (line.contains(QLatin1String("x-pre-process"), Qt::CaseInsensitive)) {
                const QString cmd = attribute(line, QStringLiteral("cmd"));
                const QString data = attribute(line, QStringLiteral("data"));
                if (cmd.compare(QLatin1String("set"), Qt::CaseInsensitive) == 0) {
                    const int eq = data.indexOf(u'=');
                    if (eq > 0) Vars[data.left(eq).trimmed()] = data.mid(eq + 1);
                    else Problems << where + QStringLiteral(": set without a value");
                } else if (cmd.compare(QLatin1String("include"), Qt::CaseInsensitive) == 0) {
                    include(folder, data, level, out, where);
                } else {
                    Problems << where + QStringLiteral(": unknown command ") + cmd;
                }
                continue;
            }
            out << line;
        }
    }
};

} // namespace KxTest
