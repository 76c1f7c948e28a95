// The prompt-answering runner, driven by small shell programs.
#include "KxTest.h"
#include "core/ProgressSink.h"
#include "sync/AutoResponseProcess.h"

#include <QElapsedTimer>
#include <sys/resource.h>

namespace {

const QString Bash = QStringLiteral("/bin/bash");

class TOutputRecorder : public TProgressSink {
public:
    void ShowStatus(const QString&) override {}
    void StepProgress() override {}
    void SetProgressMax(int) override {}
    void AppendOutput(const QString& chunk) override { Text += chunk; ++Chunks; }
    QString Text;
    int Chunks = 0;
};

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace

class TestAutoResponseProcess : public QObject {
    Q_OBJECT

private slots:
    void refusesBadArgumentsBeforeStarting_data()
    {
        QTest::addColumn<bool>("withOutput");
        QTest::addColumn<QStringList>("responses");
        QTest::addColumn<QString>("message");
        QTest::newRow("no output list") << false << QStringList{QStringLiteral("y")}
                                        << QStringLiteral("Output may not be nil");
        QTest::newRow("two prompts, one response") << true << QStringList{QStringLiteral("y")}
                                                   << QStringLiteral("Prompts and Responses must have the same length");
    }
    void refusesBadArgumentsBeforeStarting()
    {
        QFETCH(bool, withOutput);
        QFETCH(QStringList, responses);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString marker = dir.filePath(QStringLiteral("started"));
        QStringList out;
        const QStringList prompts = withOutput ? QStringList{QStringLiteral("a?"), QStringLiteral("b?")}
                                               : QStringList{QStringLiteral("a?")};
        try {
            RunAutoResponseProcess(Bash, {QStringLiteral("-c"), QStringLiteral("touch \"$0\""), marker},
                                   withOutput ? &out : nullptr, prompts, responses, {});
            QFAIL("no exception");
        } catch (const EKXError& e) {
            QCOMPARE(e.Message, message);
        }
        QVERIFY(!QFile::exists(marker));
    }

    void missingProgramNamesIt()
    {
        QStringList out;
        try {
            RunAutoResponseProcess(QStringLiteral("/nonexistent/psftp"), {}, &out, {}, {}, {});
            QFAIL("no exception");
        } catch (const EKXError& e) {
            QVERIFY2(e.Message.startsWith(QStringLiteral("Unable to start /nonexistent/psftp")), qPrintable(e.Message));
        }
    }

    // Each row: a program, the prompts and responses, what the output must hold.
    void answersPrompts_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("prompts");
        QTest::addColumn<QStringList>("responses");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("answers");

        const QString longPrompt = QStringLiteral("Store key in cache? (y/n, Return cancels connection, i for more info) ");
        QTest::newRow("prompt split over two reads, answered once")
            << QStringLiteral("printf 'Store key in ca'; sleep 0.3; printf 'che? (y/n, Return cancels connection, i for more info) ';"
                              " read a; echo \"got:$a\"; read -t 0.5 b; echo \"then:$b\"")
            << QStringList{QStringLiteral("Store key in cache?")} << QStringList{QStringLiteral("y")}
            << QStringList{longPrompt + QStringLiteral("got:y"), QStringLiteral("then:")} << 1;
        QTest::newRow("both wordings of the key question")
            << QStringLiteral("printf 'Store key in cache? (y/n) '; read a; echo \"1:$a\";"
                              " printf 'Store key in cache? (y/n, Return cancels connection, i for more info) '; read b; echo \"2:$b\"")
            << QStringList{QStringLiteral("Store key in cache?")} << QStringList{QStringLiteral("y")}
            << QStringList{QStringLiteral("Store key in cache? (y/n) 1:y"), longPrompt + QStringLiteral("2:y")} << 2;
        QTest::newRow("two prompts in one read: the earlier in the list wins")
            << QStringLiteral("printf 'first? second? '; read a; echo \"a=$a\"; read -t 0.5 b; echo \"b=$b\"")
            << QStringList{QStringLiteral("second?"), QStringLiteral("first?")}
            << QStringList{QStringLiteral("2"), QStringLiteral("1")}
            << QStringList{QStringLiteral("first? second? a=2"), QStringLiteral("b=")} << 1;
        QTest::newRow("no prompts: nothing is typed")
            << QStringLiteral("read -t 0.5 a && echo \"input:$a\" || echo 'no input'")
            << QStringList{} << QStringList{} << QStringList{QStringLiteral("no input")} << 0;
        QTest::newRow("output just before the end")
            << QStringLiteral("echo one; printf 'last words'")
            << QStringList{} << QStringList{} << QStringList{QStringLiteral("one"), QStringLiteral("last words")} << 0;
        QTest::newRow("CR LF and merged error output")
            << QStringLiteral("printf 'a\\r\\nb\\r\\n'; echo err >&2")
            << QStringList{} << QStringList{} << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("err")} << 0;
    }
    void answersPrompts()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, prompts);
        QFETCH(QStringList, responses);
        QFETCH(QStringList, expected);
        QFETCH(int, answers);
        QStringList out{QStringLiteral("earlier content")};
        TOutputRecorder sink;
        TAutoResponseOptions opt;
        opt.Sink = &sink;
        const TAutoResponseResult r =
            RunAutoResponseProcess(Bash, {QStringLiteral("-c"), script}, &out, prompts, responses, {}, opt);
        QCOMPARE(out, expected);
        QCOMPARE(r.AnswerCount, answers);
        QCOMPARE(r.ExitCode, 0);
        // The sink saw the same text, piece by piece.
        QStringList shown = sink.Text.split(u'\n');
        if (shown.last().isEmpty()) shown.removeLast();
        QCOMPARE(shown, expected);
    }

    void largeOutputArrivesWhole()
    {
        QStringList out;
        const TAutoResponseResult r = RunAutoResponseProcess(
            Bash, {QStringLiteral("-c"), QStringLiteral("for i in $(seq 1 20000); do echo \"line $i of the output\"; done; printf end")},
            &out, {QStringLiteral("never shown?")}, {QStringLiteral("n")}, {});
        QCOMPARE(r.ExitCode, 0);
        QCOMPARE(out.size(), 20001);
        QCOMPARE(out[0], QStringLiteral("line 1 of the output"));
        QCOMPARE(out[19999], QStringLiteral("line 20000 of the output"));
        QCOMPARE(out.last(), QStringLiteral("end"));
    }

    void refusedPromptEndsTheProgram()
    {
        QStringList out;
        TAutoResponseOptions opt;
        int asked = -1;
        opt.ConfirmAnswer = [&](int i, const QString& seen) {
            asked = i;
            return seen.endsWith(QStringLiteral("(y/n) ")) ? TAutoResponseOptions::Refuse : TAutoResponseOptions::Skip;
        };
        const TAutoResponseResult r = RunAutoResponseProcess(
            Bash,
            {QStringLiteral("-c"), QStringLiteral("echo 'a file named Update cached key?.txt'; sleep 0.2; printf 'Update cached key? (y/n) '; read a; if [ -z \"${a%$'\\r'}\" ]; then echo abandoned; exit 1; fi; echo \"accepted $a\"")},
            &out, {QStringLiteral("Store key in cache?"), QStringLiteral("Update cached key?")},
            {QStringLiteral("y"), QStringLiteral("y")}, {}, opt);
        QCOMPARE(asked, 1);
        QCOMPARE(r.RefusedPrompt, 1);
        QCOMPARE(r.AnswerCount, 0);
        QCOMPARE(r.ExitCode, 1);
        QCOMPARE(out.last(), QStringLiteral("Update cached key? (y/n) abandoned"));
    }

    void cancelEndsTheChild()
    {
        QTemporaryDir dir;
        const QString pidFile = dir.filePath(QStringLiteral("pid"));
        QStringList out;
        QElapsedTimer clock;
        clock.start();
        int idleCalls = 0;
        TAutoResponseOptions opt;
        opt.CancelRequested = [&] { return clock.elapsed() > 300; };
        const TAutoResponseResult r = RunAutoResponseProcess(
            Bash,
            {QStringLiteral("-c"),
             QStringLiteral("echo $$ > \"$0\"; trap 'kill $p; echo stopped; exit 3' TERM; echo waiting; sleep 30 & p=$!; wait $p"),
             pidFile},
            &out, {}, {}, [&] { ++idleCalls; }, opt);
        QVERIFY(r.Cancelled);
        QVERIFY2(clock.elapsed() < 4000, "the child did not end soon after the cancel");
        QCOMPARE(out, (QStringList{QStringLiteral("waiting"), QStringLiteral("stopped")}));
        QCOMPARE(r.ExitCode, 3);
        QVERIFY(idleCalls > 0);
        const QByteArray pid = KxTest::ReadBytes(pidFile).trimmed();
        QVERIFY(!pid.isEmpty());
        QVERIFY(!QFile::exists(QStringLiteral("/proc/") + QString::fromLatin1(pid)));
    }

    // While the child only sleeps, the runner waits on it instead of polling:
    // it must cost next to no processor time.
    void idleRunCostsLittleCpu()
    {
        QStringList out;
        int idleCalls = 0;
        const double before = cpuSeconds();
        QElapsedTimer clock;
        clock.start();
        RunAutoResponseProcess(QStringLiteral("/bin/sleep"), {QStringLiteral("2")}, &out,
                               {QStringLiteral("x?")}, {QStringLiteral("y")}, [&] { ++idleCalls; });
        const double cpu = cpuSeconds() - before;
        const double wall = double(clock.elapsed()) / 1000.0;
        qInfo("runner while a child sleeps %.2f s: %.3f s CPU (%.1f %% of one core), %d idle calls",
              wall, cpu, 100.0 * cpu / wall, idleCalls);
        QVERIFY(wall >= 1.9);
        QVERIFY2(cpu < 0.05 * wall, "the runner keeps the processor busy while it waits");
        QVERIFY2(idleCalls >= 10, "the idle procedure must keep running while the child runs");
    }
};

KX_TEST_MAIN(TestAutoResponseProcess)
#include "tst_AutoResponseProcess.moc"
