// kestrix-cli: the Kestrix model and server operations for shells and scripts.
#include "cli/CliApp.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrix-cli"));
    TCliApp cli;
    Cli::RegisterUserCommands(cli);
    Cli::RegisterDialplanCommands(cli);
    Cli::RegisterCallGroupCommands(cli);
    Cli::RegisterTrunkCommands(cli);
    Cli::RegisterInboundRouteCommands(cli);
    Cli::RegisterOutboundRouteCommands(cli);
    Cli::RegisterGlobalsCommands(cli);
    Cli::RegisterPendingCommands(cli);
    Cli::RegisterServerCommands(cli);
    return cli.Run(QCoreApplication::arguments());
}
