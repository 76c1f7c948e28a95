#include "core/Store.h"
#include "ui/main.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(Store::ApplicationName));
    TfrmMain w;
    w.show();
    return app.exec();
}
