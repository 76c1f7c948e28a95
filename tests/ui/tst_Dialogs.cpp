// The progress window, the connect and root-password dialogs and the record
// frames on their own.
#include "KxTest.h"

#include "core/KxError.h"
#include "records/Gateway.h"
#include "records/OutboundRoute.h"
#include "ui/connect.h"
#include "ui/fmeExtensionNoVoicemail.h"
#include "ui/fmeExtensionWithVoicemail.h"
#include "ui/fmeOutboundRouteProperties.h"
#include "ui/fmeTrunkProperties.h"
#include "ui/getrootpassword.h"
#include "ui/kfsProgress.h"
#include "ui/kxKeyValueGrid.h"
#include "ui/kxMessages.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>

class TestDialogs : public QObject {
    Q_OBJECT

    QStringList m_messages;

private slots:
    void init()
    {
        m_messages.clear();
        KxUi::SetMessageHook([this](QWidget*, KxUi::TMsgKind, const QString&, const QString& text,
                                    QMessageBox::StandardButtons) {
            m_messages << text;
            return QMessageBox::Ok;
        });
    }
    void cleanup()
    {
        KxUi::SetMessageHook({});
        KxUi::SetModalHook({});
    }

    void progressBarFollowsOutputLines()
    {
        TfrmProgress p;
        QCOMPARE(p.windowTitle(), QStringLiteral("Progress"));
        QCOMPARE(p.pbMain->maximum(), 490);
        QVERIFY(!p.lblLineCount->isVisible());
        p.SetProgressMax(10);
        // Output arrives in chunks that need not end with a line.
        p.AppendOutput("first line\r\nsecond ");
        p.AppendOutput("line\nthird line\n");
        QCOMPARE(p.LineCount(), 3);
        QCOMPARE(p.lblLineCount->text(), QStringLiteral("Lines = 3"));
        QCOMPARE(p.pbMain->value(), 3);
        QCOMPARE(p.memMain->toPlainText(), QStringLiteral("first line\nsecond line\nthird line\n"));
        // More lines than the maximum keep the bar full.
        for (int i = 0; i < 20; ++i) p.AppendOutput("x\n");
        QCOMPARE(p.pbMain->value(), 10);
        p.ShowStatus("Uploading file(s) to server...");
        QCOMPARE(p.lblInfo->text(), QStringLiteral("Uploading file(s) to server..."));
        p.ClearLog();
        QCOMPARE(p.lblLineCount->text(), QStringLiteral("Lines = 0"));
        QCOMPARE(p.pbMain->value(), 0);
        p.StepProgress();
        QCOMPARE(p.pbMain->value(), 1);
    }

    void cancelAsksTheRunningToolToStop()
    {
        TfrmProgress p;
        QVERIFY(!p.btnCancel->isEnabled());
        p.BeginRun();
        QVERIFY(p.btnCancel->isEnabled());
        QVERIFY(!p.CancelRequested());
        QSignalSpy spy(&p, &TfrmProgress::CancelClicked);
        p.btnCancel->click();
        QVERIFY(p.CancelRequested());
        QVERIFY(*p.CancelFlag());
        QCOMPARE(spy.count(), 1);
        p.EndRun();
        QVERIFY(!p.btnCancel->isEnabled());
        p.BeginRun(); // a new run starts without the old request
        QVERIFY(!p.CancelRequested());
    }

    void connectDialogChecks_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("domain");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message"); // empty: accepted
        QTest::addColumn<QString>("focus");
        QTest::newRow("no address") << " " << "office" << "pw" << "Please enter the IP address" << "edtIPAddress";
        QTest::newRow("no domain") << "10.0.0.1" << "" << "pw" << "Please enter the domain" << "edtDomain";
        QTest::newRow("no password") << "10.0.0.1" << "office" << "  " << "Please enter the root password"
                                     << "edtPassword";
        QTest::newRow("complete") << " 10.0.0.1 " << " office " << " pw " << "" << "";
        QTest::newRow("local needs no password") << "local" << "office" << "" << "" << "";
    }
    void connectDialogChecks()
    {
        QFETCH(QString, address);
        QFETCH(QString, domain);
        QFETCH(QString, password);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TfrmConnect dialog;
        QString a = "old", d = "old", p = "old";
        QString focusedOnFail;
        KxUi::SetModalHook([&](QDialog& dlg) {
            dialog.edtIPAddress->setText(address);
            dialog.edtDomain->setText(domain);
            dialog.edtPassword->setText(password);
            dlg.show();
            dialog.btnOK->click();
            if (QWidget* f = dlg.focusWidget()) focusedOnFail = f->objectName();
            if (dlg.result() != QDialog::Accepted) dlg.reject();
            return dlg.result();
        });
        const int result = dialog.ShowModal(a, d, p);
        if (message.isEmpty()) {
            QCOMPARE(result, int(QDialog::Accepted));
            QVERIFY(m_messages.isEmpty());
            QCOMPARE(a, address.trimmed());
            QCOMPARE(d, domain.trimmed());
            QCOMPARE(p, password.trimmed());
        } else {
            QCOMPARE(result, int(QDialog::Rejected));
            QCOMPARE(m_messages, QStringList{message});
            QCOMPARE(focusedOnFail, focus);
            QCOMPARE(a + d + p, QStringLiteral("oldoldold")); // untouched
        }
    }

    void connectDialogFocusesTheFirstEmptyField_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("domain");
        QTest::addColumn<QString>("focus");
        QTest::newRow("nothing stored") << "" << "" << "edtIPAddress";
        QTest::newRow("address stored") << "10.0.0.1" << "" << "edtDomain";
        QTest::newRow("both stored") << "10.0.0.1" << "office" << "edtPassword";
    }
    void connectDialogFocusesTheFirstEmptyField()
    {
        QFETCH(QString, address);
        QFETCH(QString, domain);
        QFETCH(QString, focus);
        TfrmConnect dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Connect"));
        QCOMPARE(dialog.edtPassword->echoMode(), QLineEdit::Password);
        QString focused;
        KxUi::SetModalHook([&](QDialog& dlg) {
            dlg.show();
            QCoreApplication::processEvents();
            if (QWidget* f = dlg.focusWidget()) focused = f->objectName();
            return int(QDialog::Rejected);
        });
        QString a = address, d = domain, p;
        QCOMPARE(dialog.ShowModal(a, d, p), int(QDialog::Rejected));
        QCOMPARE(focused, focus);
        QCOMPARE(a, address);
    }

    void rootPasswordDialog()
    {
        TfrmGetRootPassword dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Root password"));
        QCOMPARE(dialog.edtRootPassword->echoMode(), QLineEdit::Password);
        QString password = "kept";
        KxUi::SetModalHook([&](QDialog&) { return int(QDialog::Rejected); });
        QCOMPARE(dialog.ShowModal(password), int(QDialog::Rejected));
        QCOMPARE(password, QStringLiteral("kept"));
        KxUi::SetModalHook([&](QDialog& dlg) {
            dialog.edtRootPassword->setText("  s3cret  ");
            dialog.btnOK->click();
            return dlg.result();
        });
        QCOMPARE(dialog.ShowModal(password), int(QDialog::Accepted));
        QCOMPARE(password, QStringLiteral("s3cret"));
    }

    void dialledNumberPreselectsTheExtension()
    {
        TframeExtensionWithVoicemail frame;
        frame.FillExtensions({"200", "201", "202"});
        QCOMPARE(frame.cboExtension->currentIndex(), -1);
        frame.edtDialledNumber->setText(" 201 ");
        QCOMPARE(frame.cboExtension->currentText(), QStringLiteral("201"));
        frame.edtDialledNumber->setText("2019");
        QCOMPARE(frame.cboExtension->currentIndex(), -1);
        QCOMPARE(frame.spSeconds->minimum(), 1);
        QCOMPARE(frame.spSeconds->maximum(), 180);
        TframeExtensionNoVoicemail other;
        other.FillExtensions({"300"});
        other.edtDialledNumber->setText("300");
        QCOMPARE(other.cboExtension->currentIndex(), 0);
    }

    void trunkFrameRowsFollowTheTemplate_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("bandwidth") << 0
                                   << QStringList{"Trunk name", "Username", "From-User", "From-Domain", "Password",
                                                  "Extension", "Proxy", "Expire-Seconds", "Register-With-Gateway",
                                                  "Retry-Seconds", "Context"};
        QTest::newRow("flowroute") << 1
                                   << QStringList{"Trunk name", "Username", "AuthUsername", "Password", "Proxy",
                                                  "Expire-Seconds", "Register-With-Gateway", "Retry-Seconds", "Ping"};
        QTest::newRow("gradwell") << 2
                                  << QStringList{"Trunk name", "Username", "Password", "Proxy", "Expire-Seconds",
                                                 "Register-With-Gateway", "Retry-Seconds", "Ping", "Context",
                                                 "Caller-Id-In-From"};
        QTest::newRow("vitelity") << 6
                                  << QStringList{"Trunk name", "Username", "Password", "Proxy", "Outbound-Proxy",
                                                 "Expire-Seconds", "Register-With-Gateway", "Retry-Seconds", "Context"};
    }
    void trunkFrameRowsFollowTheTemplate()
    {
        QFETCH(int, type);
        QFETCH(QStringList, keys);
        TframeTrunkProperties frame;
        frame.FillProviderList();
        QCOMPARE(frame.cboTrunkType->count(), 7);
        QVERIFY(frame.cboTrunkType->findData(5) < 0);
        QVERIFY(frame.cboTrunkType->findData(7) < 0);
        TGateway trunk;
        trunk.ApplyTemplate(type);
        trunk.Name = "Carrier";
        frame.Trunk2Frame(trunk);
        QStringList shown;
        for (int r = 0; r < frame.vleTrunkProperties->rowCount(); ++r) shown << frame.vleTrunkProperties->Key(r);
        QCOMPARE(shown, keys);
        QCOMPARE(frame.cboTrunkType->currentData().toInt(), type);

        // What is typed into any row shown is read back.
        TKeyValueGrid* g = frame.vleTrunkProperties;
        g->SetValueAt(g->FindRow("Trunk name"), "Renamed");
        g->SetValueAt(g->FindRow("Retry-Seconds"), "45");
        g->SetValueAt(g->FindRow("Register-With-Gateway"), "false");
        if (g->HasKey("Context")) g->SetValueAt(g->FindRow("Context"), "inbound");
        TGateway back;
        back.CopyFieldsFrom(trunk);
        frame.TrunkFromFrame(back);
        QCOMPARE(back.Name, QStringLiteral("Renamed"));
        QCOMPARE(back.RetrySeconds, 45);
        QVERIFY(!back.RegisterWithGateway);
        if (g->HasKey("Context")) QCOMPARE(back.Context, QStringLiteral("inbound"));
        QCOMPARE(back.GatewayType, type);
    }

    void trunkFrameRefusesWhatItCannotShowOrRead()
    {
        TframeTrunkProperties frame;
        frame.FillProviderList();
        TGateway trunk;
        trunk.ApplyTemplate(5);
        QVERIFY_THROWS_EXCEPTION(EKXError, frame.Trunk2Frame(trunk));
        try {
            frame.Trunk2Frame(trunk);
        } catch (const EKXError& e) {
            QCOMPARE(e.Message, QStringLiteral("Unable to determine Gateway Type - TframeTrunkProperties.Trunk2Frame"));
        }
        trunk.ApplyTemplate(1);
        trunk.Name = "Keep";
        frame.Trunk2Frame(trunk);
        frame.vleTrunkProperties->SetValueAt(frame.vleTrunkProperties->FindRow("Trunk name"), "Changed");
        frame.vleTrunkProperties->SetValueAt(frame.vleTrunkProperties->FindRow("Ping"), "soon");
        QVERIFY_THROWS_EXCEPTION(EKXError, frame.TrunkFromFrame(trunk));
        QCOMPARE(trunk.Name, QStringLiteral("Keep")); // nothing half-read
    }

    void outboundRouteFrameReadsBack()
    {
        TframeOutboundRouteProperties frame;
        QCOMPARE(frame.vleOutboundRouteOptions->rowCount(), 1);
        frame.cboTrunkToUse->addItem("Gradwell line", 2);
        frame.cboTrunkToUse->setCurrentIndex(0);
        frame.edtOutboundRouteName->setText("  Local ");
        frame.edtDigitisToDialForLine->setText(" 9");
        frame.edtDigitExpression->setText("[0-9]+ ");
        frame.vleOutboundRouteOptions->Clear();
        frame.vleOutboundRouteOptions->AddRow("effective_caller_id_number", "0123");
        TOutboundRoute route;
        frame.OutboundRouteFromFrame(route);
        QCOMPARE(route.Name, QStringLiteral("Local"));
        QCOMPARE(route.DigitForOutsideLine, QStringLiteral("9"));
        QCOMPARE(route.DigitExpression, QStringLiteral("[0-9]+"));
        QCOMPARE(route.Trunk, QStringLiteral("Gradwell line"));
        QCOMPARE(route.GatewayType, 2);
        QCOMPARE(route.EffectiveCallerIDNumber, QStringLiteral("0123"));
        // Without a trunk to choose, the route keeps its trunk.
        frame.cboTrunkToUse->clear();
        TOutboundRoute other;
        other.Trunk = "Old";
        other.GatewayType = 6;
        frame.OutboundRouteFromFrame(other);
        QCOMPARE(other.Trunk, QStringLiteral("Old"));
        QCOMPARE(other.GatewayType, 6);
    }
};

KX_TEST_GUI_MAIN(TestDialogs)
#include "tst_Dialogs.moc"
