#include "core/Store.h"
#include "ui/kxIcons.h"
#include "ui/kxMessages.h"
#include "ui/kxRender.h"
#include "ui/main.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(Store::ApplicationName));
    QApplication::setApplicationVersion(QStringLiteral("0.99.3"));
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
    KxIcons::InitIconTheme();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Kestrix: administration of a FreeSWITCH PBX.\n"
        "Without options the connect dialog asks for the server at every start."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption workingDir(QStringLiteral("working-dir"),
                                        QStringLiteral("Use <dir> as the working directory (stored in the settings)."),
                                        QStringLiteral("dir"));
    const QCommandLineOption local(QStringLiteral("local"),
                                   QStringLiteral("Connect to \"local\": the working directory is this machine's "
                                                  "live configuration; nothing is downloaded. Skips the connect "
                                                  "dialog (needs --domain)."));
    const QCommandLineOption domain(QStringLiteral("domain"), QStringLiteral("The FreeSWITCH domain to use with --local."),
                                    QStringLiteral("name"));
    const QCommandLineOption renderUi(QStringLiteral("render-ui"),
                                      QStringLiteral("Start, render every page and dialog to PNG files in <dir>, then quit."),
                                      QStringLiteral("dir"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Start, save the main window to <file> (PNG), print the tree, then quit."),
                                        QStringLiteral("file"));
    parser.addOptions({workingDir, local, domain, renderUi, screenshot});
    parser.process(app);

    const bool unattended = parser.isSet(renderUi) || parser.isSet(screenshot);
    if (parser.isSet(local) && parser.value(domain).trimmed().isEmpty()) {
        std::fprintf(stderr, "kestrix: --local needs --domain\n");
        return 2;
    }
    if (unattended) {
        // Nobody is there to answer: messages go to the error output.
        KxUi::SetMessageHook([](QWidget*, KxUi::TMsgKind, const QString& title, const QString& text,
                                QMessageBox::StandardButtons buttons) {
            std::fprintf(stderr, "[%s] %s\n", qPrintable(title), qPrintable(KxUi::CRToLF(text)));
            return buttons.testFlag(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
        });
        KxUi::SetModalHook([](QDialog&) { return int(QDialog::Rejected); });
    }

    TfrmMain w;
    TfrmMain::TStartOptions options;
    options.WorkingDir = parser.value(workingDir);
    if (parser.isSet(local)) {
        options.Preset = true;
        options.Address = QStringLiteral("local");
        options.Domain = parser.value(domain);
    }
    w.SetStartOptions(options);
    w.show();

    if (unattended) {
        int rc = 0;
        QTimer::singleShot(0, &w, [&] {
            w.FormActivate();
            if (!w.isVisible()) {
                std::fprintf(stderr, "kestrix: the window closed during startup\n");
                rc = 1;
            } else if (parser.isSet(screenshot)) {
                for (const QString& line : KxRender::TreeSummary(w)) std::printf("%s\n", qPrintable(line));
                if (!KxRender::SaveWindow(w, parser.value(screenshot))) rc = 1;
                else std::printf("saved %s\n", qPrintable(parser.value(screenshot)));
            } else {
                const QStringList files = KxRender::RenderAll(w, parser.value(renderUi));
                for (const QString& f : files) std::printf("%s\n", qPrintable(f));
                if (files.isEmpty()) rc = 1;
            }
            std::fflush(stdout);
            w.close();
            QApplication::exit(rc);
        });
        const int loop = app.exec();
        return rc ? rc : loop;
    }
    return app.exec();
}
