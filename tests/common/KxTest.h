#pragma once
// Test support: every test runs with HOME and the XDG folders in a temporary
// folder of its own, so no test reads or writes the real user's folders.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace KxTest {

inline QTemporaryDir& homeDir()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/kestrix-test-home-XXXXXX"));
    return dir;
}

inline void IsolateHome()
{
    const QByteArray home = homeDir().path().toUtf8();
    qputenv("HOME", home);
    qputenv("XDG_DATA_HOME", home + "/.local/share");
    qputenv("XDG_CONFIG_HOME", home + "/.config");
    qputenv("XDG_CACHE_HOME", home + "/.cache");
    QStandardPaths::setTestModeEnabled(true);
}

inline QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

inline void WriteBytes(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    f.write(data);
}

// Compares a generated file with its expected lines, each ending in CR LF.
inline void CompareLines(const QByteArray& actual, const QStringList& expected)
{
    QVERIFY2(actual.endsWith("\r\n"), "the file must end with CR LF");
    const QList<QByteArray> lines = actual.chopped(1).split('\n');
    for (int i = 0; i < std::min<qsizetype>(lines.size(), expected.size()); ++i) {
        QByteArray l = lines[i];
        QVERIFY2(l.endsWith('\r'), qPrintable(QStringLiteral("line %1 lacks CR").arg(i + 1)));
        l.chop(1);
        QCOMPARE(QString::fromUtf8(l), expected[i]);
    }
    QCOMPARE(lines.size(), expected.size());
}

} // namespace KxTest

#define KX_TEST_MAIN(TestObject)                                                                   \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        KxTest::IsolateHome();                                                                     \
        QCoreApplication app(argc, argv);                                                          \
        TestObject tc;                                                                             \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

#define KX_TEST_GUI_MAIN(TestObject)                                                               \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        KxTest::IsolateHome();                                                                     \
        QApplication app(argc, argv);                                                              \
        TestObject tc;                                                                             \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
