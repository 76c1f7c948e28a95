#include "ui/kxRender.h"

#include "ui/connect.h"
#include "ui/getrootpassword.h"
#include "ui/kfsProgress.h"
#include "ui/main.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QStackedWidget>
#include <QTreeWidget>

namespace KxRender {

namespace {

void settle()
{
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

bool saveWidget(QWidget& w, const QString& path)
{
    settle();
    const QPixmap pixmap = w.grab();
    return !pixmap.isNull() && pixmap.save(path, "PNG");
}

// The key of the first child of a node with that key (or the key itself).
int firstChildKey(const TfrmMain& window, int key)
{
    QTreeWidgetItem* node = window.FindNodeByKey(key);
    if (node && node->childCount() > 0) return node->child(0)->data(0, Qt::UserRole).toInt();
    return key;
}

} // namespace

bool SaveWindow(TfrmMain& window, const QString& path)
{
    return saveWidget(window, path);
}

QStringList TreeSummary(const TfrmMain& window)
{
    QStringList lines;
    for (int i = 0; i < window.tvMain->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* n = window.tvMain->topLevelItem(i);
        QStringList children;
        for (int c = 0; c < n->childCount(); ++c) children << n->child(c)->text(0);
        lines << QStringLiteral("%1: %2").arg(n->text(0), children.join(QStringLiteral(", ")));
    }
    return lines;
}

QStringList RenderAll(TfrmMain& window, const QString& outDir)
{
    QDir().mkpath(outDir);
    QStringList written;
    auto save = [&](QWidget& w, const QString& name) {
        const QString path = QDir(outDir).filePath(name + QStringLiteral(".png"));
        if (saveWidget(w, path)) written << path;
    };

    // The main window on each page: the node that shows it is selected.
    struct TView {
        const char* name;
        int key;      // node to select; 0 = Home
        bool record;  // select the section's first record instead
    };
    const TView views[] = {
        {"main-00-welcome", 0, false},
        {"main-01-users", tsUsers, false},
        {"main-02-user", tsUsers, true},
        {"main-03-dialplan", tsDialplan, false},
        {"main-04-dialplan-entry", tsDialplan, true},
        {"main-05-groups", tsGroups, false},
        {"main-06-callgroups", tsCallGroups, false},
        {"main-07-callgroup", tsCallGroups, true},
        {"main-08-trunks", tsTrunks, false},
        {"main-09-trunk", tsTrunks, true},
        {"main-10-inbound-routes", tsInboundRoutes, false},
        {"main-11-inbound-route", tsInboundRoutes, true},
        {"main-12-outbound-routes", tsOutboundRoutes, false},
        {"main-13-outbound-route", tsOutboundRoutes, true},
        {"main-14-globals", tsGlobals, false},
    };
    for (const TView& v : views) {
        if (v.key == 0) window.actHomeExecute();
        else {
            const int key = v.record ? firstChildKey(window, v.key) : v.key;
            if (v.record && key == v.key) continue; // no record of that kind
            window.SelectNodeByKey(key);
        }
        save(window, QString::fromLatin1(v.name));
    }
    for (int key = 17; key <= tsGlobalsLast; ++key) {
        window.SelectNodeByKey(key);
        save(window, QStringLiteral("main-globals-%1").arg(key));
    }
    window.actHomeExecute();

    // The dialogs.
    {
        TfrmConnect dialog(&window);
        dialog.edtIPAddress->setText(QStringLiteral("192.168.1.20"));
        dialog.edtDomain->setText(QStringLiteral("office"));
        dialog.show();
        save(dialog, QStringLiteral("dialog-connect"));
        dialog.hide();
    }
    {
        TfrmGetRootPassword dialog(&window);
        dialog.show();
        save(dialog, QStringLiteral("dialog-root-password"));
        dialog.hide();
    }
    {
        TfrmProgress dialog(&window);
        dialog.SetProgressMax(12);
        dialog.BeginRun();
        dialog.ShowStatus(QStringLiteral("Downloading configuration files from server..."));
        dialog.AppendOutput(QStringLiteral(
            "Remote working directory is /root\n"
            "remote:/etc/freeswitch/freeswitch.xml => local:/home/admin/Kestrix/freeswitch.xml\n"
            "remote:/etc/freeswitch/vars.xml => local:/home/admin/Kestrix/vars.xml\n"
            "remote:/etc/freeswitch/directory/office/100.xml => local:/home/admin/Kestrix/directory/office/100.xml\n"
            "remote:/etc/freeswitch/directory/office/101.xml => local:/home/admin/Kestrix/directory/office/101.xml\n"));
        dialog.show();
        save(dialog, QStringLiteral("dialog-progress"));
        dialog.EndRun();
        dialog.hide();
    }
    return written;
}

} // namespace KxRender
