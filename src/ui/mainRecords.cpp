// The main window's record side: the tree's record children, the read-only
// record pages, the loading block of the startup and the first-run defaults.
#include "ui/main.h"

#include "core/DBInterface.h"
#include "core/KxError.h"
#include "ui/kxMessages.h"

#include <QStackedWidget>

TfrmMain::TNodeList TfrmMain::UserNodes() const { return {}; }
TfrmMain::TNodeList TfrmMain::DialplanNodes() const { return {}; }
TfrmMain::TNodeList TfrmMain::CallGroupNodes() const { return {}; }
TfrmMain::TNodeList TfrmMain::TrunkNodes() const { return {}; }
TfrmMain::TNodeList TfrmMain::InboundRouteNodes() const { return {}; }
TfrmMain::TNodeList TfrmMain::OutboundRouteNodes() const { return {}; }

void TfrmMain::ShowUserPage() { nbMain->setCurrentIndex(pgiUsers); }
void TfrmMain::ShowTrunkPage() { nbMain->setCurrentIndex(pgiTrunkProperties); }
void TfrmMain::ShowInboundRoutePage() { nbMain->setCurrentIndex(pgiInboundRouteProperties); }
void TfrmMain::ShowOutboundRoutePage() { nbMain->setCurrentIndex(pgiOutboundRouteProperties); }
void TfrmMain::ShowCallGroupPage() { nbMain->setCurrentIndex(pgiCallGroupProperties); }
void TfrmMain::ShowDialplanEntryPage() {}
void TfrmMain::DialplanEntry2Form(int, const QString&) {}

QString TfrmMain::DisplayGlobalReference(const QString& value) const { return value; }

void TfrmMain::LoadRecords()
{
    StartupProblems << DBInterface->LoadProblemTexts();
}

void TfrmMain::AddFirstRunDefaults() {}

void TfrmMain::CheckDefaultPassword() {}
