// The main window's startup against the test server: connect, download the
// server's tree into the working directory, load every kind, build the tree.
#include "ServerTestSupport.h"

#include "core/KXCB.h"
#include "core/Store.h"
#include "engine/kxVarsXML.h"
#include "sync/filesneedingcommitinglist.h"
#include "ui/kfsProgress.h"
#include "ui/kxMessages.h"
#include "ui/main.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>

using namespace ServerTest;

namespace {

const QString kDomain = QStringLiteral("office");

QString sampleDir() { return QStringLiteral(KX_SOURCE_DIR "/sample"); }

// Puts the sample installation (record files and generated files) on the server.
void serveSample()
{
    Run(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("cp -r \"$0\"/. /etc/freeswitch/"), sampleDir()});
}

QStringList counts(const TfrmMain& w)
{
    QStringList c;
    for (int i = 0; i < w.tvMain->topLevelItemCount(); ++i)
        c << w.tvMain->topLevelItem(i)->text(0) + u'=' + QString::number(w.tvMain->topLevelItem(i)->childCount());
    return c;
}

} // namespace

class TestServerStartup : public QObject {
    Q_OBJECT

    QTemporaryDir* m_tmp = nullptr;
    QStringList m_messages; // "title: text"
    QStringList m_titles;

    QString wd() const { return m_tmp->path() + QStringLiteral("/wd"); }

    void writeSettings(const QString& lastAddress, bool firstTimeRun = false)
    {
        TKXControlBlock cb;
        cb.WorkingDir = wd();
        cb.LastIPAddress = lastAddress;
        cb.LastDomain = kDomain;
        cb.FirstTimeRun = firstTimeRun;
        cb.SaveToFile();
    }

    std::unique_ptr<TfrmMain> start(const QString& password = Password())
    {
        auto w = std::make_unique<TfrmMain>();
        TfrmMain::TStartOptions o;
        o.Preset = true;
        o.Address = Host();
        o.Domain = kDomain;
        o.Password = password;
        w->SetStartOptions(o);
        w->show();
        w->FormActivate();
        return w;
    }

private slots:
    void initTestCase()
    {
        if (!Available()) QSKIP("runs only inside tests/sshd/with-test-sshd.sh");
    }
    void init()
    {
        ResetServer();
        QDir(Store::AppConfigDir()).removeRecursively();
        m_tmp = new QTemporaryDir;
        m_messages.clear();
        m_titles.clear();
        KxUi::SetMessageHook([this](QWidget*, KxUi::TMsgKind, const QString& title, const QString& text,
                                    QMessageBox::StandardButtons buttons) {
            m_titles << title;
            m_messages << title + QStringLiteral(": ") + text;
            return buttons.testFlag(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
        });
        KxUi::SetModalHook([](QDialog&) { return int(QDialog::Rejected); });
    }
    void cleanup()
    {
        KxUi::SetMessageHook({});
        KxUi::SetModalHook({});
        delete m_tmp;
    }

    void downloadsLoadsAndBuildsTheTree()
    {
        serveSample();
        writeSettings(Host());
        auto w = start();
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(u'\n')));
        QVERIFY(w->isVisible());
        QVERIFY(QFile::exists(wd() + "/freeswitch.xml"));
        QVERIFY(QFile::exists(wd() + "/directory/office/101.usr"));
        // The folder was made here for the server's copy: it carries the marker.
        QVERIFY(TfrmMain::IsMarkedWorkingDir(wd()));
        QCOMPARE(counts(*w), (QStringList{"Users=3", "Dialplan=3", "Groups=1", "Trunks=1", "Inbound routes=1",
                                          "Outbound routes=1", "Globals=3"}));
        QCOMPARE(w->windowTitle(), QStringLiteral("Kestrix 0.99.3 ALPHA - office@") + Host());
        QCOMPARE(w->StatusText(0), QStringLiteral("Idle..."));
        // The tool's output went to the progress window, which is closed again.
        QVERIFY(!w->ProgressWindow->isVisible());
        QVERIFY(!w->ProgressWindow->memMain->toPlainText().isEmpty());
        QVERIFY(!w->ServerRunActive());
        QCOMPARE(w->DBInterface->FilesNeedingCommiting->Count(), 0);
        TKXControlBlock cb;
        cb.LoadFromFile();
        QVERIFY(cb.MaxProgBarInitialTransfer > 0);
        // The global settings are those just downloaded.
        QCOMPARE(w->DBInterface->VarsXML->DefaultPassword, QStringLiteral("Office2024"));
        w->SelectNodeByKey(w->FindNodeByKey(10)->child(0)->data(0, Qt::UserRole).toInt());
        QCOMPARE(w->nbMain->currentIndex(), int(pgiUsers));
        QVERIFY(w->close());
    }

    void aFailedDownloadIsReportedAndTheWindowStillOpens()
    {
        serveSample();
        writeSettings(Host());
        auto w = start(QStringLiteral("not the password"));
        QVERIFY(w->isVisible());
        // One report (then the warning about the engine's default password,
        // since nothing set a better one).
        QCOMPARE(m_titles.count(TfrmMain::ProblemsTitle()), 1);
        QCOMPARE(m_titles.first(), TfrmMain::ProblemsTitle());
        QVERIFY2(m_messages.first().contains("could not be downloaded from " + Host()), qPrintable(m_messages.first()));
        QVERIFY(!QFile::exists(wd() + "/freeswitch.xml"));
        QCOMPARE(w->FindNodeByKey(10)->childCount(), 0);
        QVERIFY(!w->ProgressWindow->isVisible());
    }

    void cancelStopsTheDownload()
    {
        serveSample();
        writeSettings(Host());
        auto w = std::make_unique<TfrmMain>();
        TfrmMain::TStartOptions o;
        o.Preset = true;
        o.Address = Host();
        o.Domain = kDomain;
        o.Password = Password();
        w->SetStartOptions(o);
        w->show();
        // Pressed as soon as the window gets to handle input during the run.
        bool pressed = false;
        QTimer::singleShot(0, w.get(), [&] {
            pressed = w->ProgressWindow->btnCancel->isEnabled();
            w->ProgressWindow->btnCancel->click();
        });
        w->FormActivate();
        QVERIFY(pressed);
        QVERIFY(w->isVisible());
        QCOMPARE(m_titles.count(TfrmMain::ProblemsTitle()), 1);
        QVERIFY2(m_messages.first().contains("cancelled"), qPrintable(m_messages.first()));
        QVERIFY(!w->ServerRunActive());
        QVERIFY(w->actAddUser->isEnabled());
    }

    void aNewServerEmptiesOnlyAWorkingDirectoryMadeHere_data()
    {
        QTest::addColumn<bool>("marked");
        QTest::newRow("made by Kestrix") << true;
        QTest::newRow("chosen by the administrator") << false;
    }
    void aNewServerEmptiesOnlyAWorkingDirectoryMadeHere()
    {
        QFETCH(bool, marked);
        serveSample();
        // A copy of another server: one user the test server does not have.
        QDir().mkpath(wd() + "/directory/office");
        QVERIFY(QFile::copy(sampleDir() + "/directory/office/100.usr", wd() + "/directory/office/555.usr"));
        {
            TIniFile ini(wd() + "/directory/office/555.usr");
            ini.WriteInteger("General", "Id", 55);
            ini.WriteInteger("General", "Extension", 555);
            ini.UpdateFile();
        }
        KxTest::WriteBytes(wd() + "/notes.txt", "the administrator's own file\n");
        if (marked) TfrmMain::MarkWorkingDir(wd());
        writeSettings(QStringLiteral("192.0.2.1"));
        auto w = start();
        QVERIFY(QFile::exists(wd() + "/freeswitch.xml"));
        QCOMPARE(QFile::exists(wd() + "/notes.txt"), !marked);
        QCOMPARE(bool(w->FindNodeByKey(1055)), !marked);
        QCOMPARE(w->FindNodeByKey(10)->childCount(), marked ? 3 : 4);
        QCOMPARE(m_titles.count("Working directory kept"), marked ? 0 : 1);
        TKXControlBlock cb;
        cb.LoadFromFile();
        QCOMPARE(cb.LastIPAddress, Host());
    }

    void firstRunDefaultsAreEnteredForTheServer()
    {
        serveSample();
        // A user without a dialplan entry, and the stock block that rings
        // every local extension.
        Run(QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"),
             QStringLiteral("sed -e 's/^Id=.*/Id=9/' -e 's/^Extension=.*/Extension=103/' "
                            "/etc/freeswitch/directory/office/100.usr > /etc/freeswitch/directory/office/103.usr")});
        KxTest::WriteBytes("/etc/freeswitch/dialplan/default.xml",
                           "<include>\n  <context name=\"default\">\n    <extension name=\"Local_Extension\">\n"
                           "    </extension>\n\n    <X-PRE-PROCESS cmd=\"include\" data=\"default/*.xml\"/>\n"
                           "  </context>\n</include>\n");
        writeSettings(Host(), /*firstTimeRun=*/true);
        auto w = start();
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(u'\n')));
        QCOMPARE(w->FindNodeByKey(11)->childCount(), 4);
        QStringList pending;
        for (int i = 0; i < w->DBInterface->FilesNeedingCommiting->Count(); ++i) {
            const TFileNeedingCommiting* e = w->DBInterface->FilesNeedingCommiting->Items(i);
            pending << e->DestFolder + e->SrcFile;
        }
        pending.sort();
        QCOMPARE(pending, (QStringList{"/etc/freeswitch/dialplan/default.xml", "/etc/freeswitch/dialplan/office/00_103.dpe",
                                       "/etc/freeswitch/dialplan/office/00_103.xml"}));
        QCOMPARE(KxTest::ReadBytes(wd() + "/dialplan/default.xml"),
                 QByteArray("<include>\n  <context name=\"default\">\n    <X-PRE-PROCESS cmd=\"include\" "
                            "data=\"default/*.xml\"/>\n  </context>\n</include>\n"));
        w->alMainUpdate();
        QVERIFY(w->actCommit->isEnabled());
        QVERIFY(w->close()); // the message hook answers Yes: stored for the next start
        QCOMPARE(QDir(TDBInterface::PendingChangesFolder()).entryList({"*.fnc"}).size(), 3);
    }
};

KX_TEST_GUI_MAIN(TestServerStartup)
#include "tst_ServerStartup.moc"
