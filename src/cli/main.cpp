// kestrix-cli: the Kestrix model and server operations for shells and scripts.
#include "cli/CliApp.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrix-cli"));
    TCliApp cli;
    Cli::RegisterUserCommands(cli);
    Cli::RegisterPendingCommands(cli);
    return cli.Run(QCoreApplication::arguments());
}
