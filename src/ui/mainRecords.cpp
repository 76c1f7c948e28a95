// The main window's record side: the tree's record children, the read-only
// record pages, the loading block of the startup and the first-run defaults.
#include "ui/main.h"

#include "core/DBInterface.h"
#include "core/KXCB.h"
#include "core/KxError.h"
#include "core/Store.h"
#include "engine/kxVarsXML.h"
#include "records/CallGroup.h"
#include "records/CallGroupList.h"
#include "records/DPECallGroup.h"
#include "records/DPEExtensionNoVM.h"
#include "records/DPEExtensionWithVM.h"
#include "records/DPEVoicemailMain.h"
#include "records/Gateway.h"
#include "records/InboundRoute.h"
#include "records/InboundRouteList.h"
#include "records/OutboundRoute.h"
#include "records/OutboundRouteList.h"
#include "records/User.h"
#include "records/UserList.h"
#include "records/basicdialplanentrylist.h"
#include "records/gatewaylist.h"
#include "sync/fileneedingcommiting.h"
#include "ui/fmeCallGroupProperties.h"
#include "ui/fmeDPGroupDial.h"
#include "ui/fmeExtensionNoVoicemail.h"
#include "ui/fmeExtensionWithVoicemail.h"
#include "ui/fmeInboundRouteProperties.h"
#include "ui/fmeOutboundRouteProperties.h"
#include "ui/fmeOutgoing.h"
#include "ui/fmeTrunkProperties.h"
#include "ui/fmeUsers.h"
#include "ui/kxMessages.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSpinBox>
#include <QStackedWidget>

// ---------------------------------------------------------------------------
// Tree children

TfrmMain::TNodeList TfrmMain::UserNodes() const
{
    TNodeList nodes;
    if (DBInterface)
        for (const auto& u : *DBInterface->Users) nodes.append({QString::number(u->Extension), u->NodeKey});
    return nodes;
}

TfrmMain::TNodeList TfrmMain::DialplanNodes() const
{
    TNodeList nodes;
    if (DBInterface)
        for (const auto& e : *DBInterface->BasicDialplanEntries) nodes.append({e->NumberDialled, e->NodeKey});
    return nodes;
}

TfrmMain::TNodeList TfrmMain::CallGroupNodes() const
{
    TNodeList nodes;
    if (DBInterface)
        for (const auto& g : *DBInterface->CallGroups) nodes.append({g->Name, g->NodeKey});
    return nodes;
}

TfrmMain::TNodeList TfrmMain::TrunkNodes() const
{
    TNodeList nodes;
    if (DBInterface)
        for (const auto& t : *DBInterface->Gateways) nodes.append({t->Name, t->NodeKey});
    return nodes;
}

TfrmMain::TNodeList TfrmMain::InboundRouteNodes() const
{
    TNodeList nodes;
    if (DBInterface)
        for (const auto& r : *DBInterface->InboundRoutes) nodes.append({r->Name, r->NodeKey});
    return nodes;
}

TfrmMain::TNodeList TfrmMain::OutboundRouteNodes() const
{
    TNodeList nodes;
    if (DBInterface)
        for (const auto& r : *DBInterface->OutboundRoutes) nodes.append({r->Name, r->NodeKey});
    return nodes;
}

// ---------------------------------------------------------------------------
// Read-only pages

QString TfrmMain::DisplayGlobalReference(const QString& value) const
{
    return TframeUsers::DisplayGlobalReference(value, *DBInterface->VarsXML);
}

void TfrmMain::ShowUserPage()
{
    *CurrentUser = TUser();
    DBInterface->GetUserByNodeKey(SelectedUserKey, *CurrentUser);
    nbMain->setCurrentIndex(pgiUsers);
    SetPageHeading(pgiUsers, tr("User %1").arg(CurrentUser->Extension));
    frameUsers1->User2Frame(*CurrentUser, *DBInterface->VarsXML);
    frameUsers1->SetEditable(false);
}

void TfrmMain::ShowCallGroupPage()
{
    *CurrentCallGroup = TKXCallGroup();
    DBInterface->GetCallGroupById(RecordIdFromKey(SelectedCallGroupKey), *CurrentCallGroup);
    nbMain->setCurrentIndex(pgiCallGroupProperties);
    SetPageHeading(pgiCallGroupProperties, tr("Call group %1").arg(CurrentCallGroup->Name));
    frameCallGroupProperties1->CallGroup2Frame(*CurrentCallGroup);
    frameCallGroupProperties1->SetEditable(false);
}

void TfrmMain::ShowTrunkPage()
{
    *CurrentTrunk = TGateway();
    DBInterface->GetTrunkById(RecordIdFromKey(SelectedTrunkKey), *CurrentTrunk);
    nbMain->setCurrentIndex(pgiTrunkProperties);
    SetPageHeading(pgiTrunkProperties, tr("Trunk %1").arg(CurrentTrunk->Name));
    frameTrunkProperties1->FillProviderList();
    frameTrunkProperties1->Trunk2Frame(*CurrentTrunk);
    frameTrunkProperties1->SetEditable(false);
}

void TfrmMain::ShowInboundRoutePage()
{
    CurrentInboundRoute = std::make_unique<TInboundRoute>();
    DBInterface->GetInboundRouteById(RecordIdFromKey(SelectedInboundKey), *CurrentInboundRoute);
    nbMain->setCurrentIndex(pgiInboundRouteProperties);
    SetPageHeading(pgiInboundRouteProperties, tr("Inbound route %1").arg(CurrentInboundRoute->Name));
    frameInboundRouteProperties1->PrepareDestinationGrid();
    frameInboundRouteProperties1->InboundRoute2Frame(*DBInterface, *CurrentInboundRoute);
    frameInboundRouteProperties1->SetEditable(false);
}

void TfrmMain::ShowOutboundRoutePage()
{
    *CurrentOutboundRoute = TOutboundRoute();
    DBInterface->GetOutboundRouteById(RecordIdFromKey(SelectedOutboundKey), *CurrentOutboundRoute);
    nbMain->setCurrentIndex(pgiOutboundRouteProperties);
    SetPageHeading(pgiOutboundRouteProperties, tr("Outbound route %1").arg(CurrentOutboundRoute->Name));
    frameOutboundRouteProperties1->OutboundRoute2Frame(*DBInterface, *CurrentOutboundRoute);
    frameOutboundRouteProperties1->SetEditable(false);
}

void TfrmMain::ShowDialplanEntryPage()
{
    SelectedEntryNumber = DBInterface->GetDialplanEntryNumberById(RecordIdFromKey(SelectedDialplanKey));
    SelectedEntryType = DBInterface->GetDialplanEntryTypeByNodeKey(SelectedDialplanKey);
    DialplanEntry2Form(SelectedEntryType, SelectedEntryNumber);
}

namespace {
QStringList userExtensions(const TDBInterface& db)
{
    QStringList list;
    for (const auto& u : *db.Users) list << QString::number(u->Extension);
    return list;
}
} // namespace

void TfrmMain::DialplanEntry2Form(int kind, const QString& number)
{
    switch (kind) {
    case detExtensionWithVM:
    case detExtensionNoVM: {
        TframeExtensionBase* frame = kind == detExtensionWithVM
                                         ? static_cast<TframeExtensionBase*>(frameExtensionWithVoicemail1)
                                         : static_cast<TframeExtensionBase*>(frameExtensionNoVoicemail1);
        int numberDialled = 0, extToRing = 0, timeout = 1;
        if (kind == detExtensionWithVM) {
            TDPEExtensionWithVM entry;
            DBInterface->LoadDPEExtensionWithVM(number.toInt(), entry);
            numberDialled = entry.NumberDialled;
            extToRing = entry.ExtToRing;
            timeout = entry.Call_Timeout;
        } else {
            TDPEExtensionNoVM entry;
            DBInterface->LoadDPEExtensionNoVM(number.toInt(), entry);
            numberDialled = entry.NumberDialled;
            extToRing = entry.ExtToRing;
            timeout = entry.Call_Timeout;
        }
        nbMain->setCurrentIndex(kind == detExtensionWithVM ? pgiExtensionWithVoicemail : pgiExtensionNoVoicemail);
        frame->FillExtensions(userExtensions(*DBInterface));
        {
            // The number alone must not pick the extension: the entry names it.
            const QSignalBlocker block(frame->edtDialledNumber);
            frame->edtDialledNumber->setText(QString::number(numberDialled));
        }
        frame->SelectExtension(QString::number(extToRing));
        frame->spSeconds->setValue(timeout);
        frame->SetEditable(false);
        break;
    }
    case detCallGroup: {
        TDPECallGroup entry;
        DBInterface->LoadDPECallGroup(number.toInt(), entry);
        nbMain->setCurrentIndex(pgiDPGroupDial);
        frameDPGroupDial1->edt4DialledNumber->setText(QString::number(entry.NumberDialled));
        frameDPGroupDial1->cbo4CallGroups->clear();
        for (const auto& g : *DBInterface->CallGroups) frameDPGroupDial1->cbo4CallGroups->addItem(g->Name);
        frameDPGroupDial1->cbo4CallGroups->setCurrentIndex(
            frameDPGroupDial1->cbo4CallGroups->findText(entry.CallGroupToRing, Qt::MatchExactly));
        frameDPGroupDial1->sp4Seconds->setValue(entry.LegTimeout);
        frameDPGroupDial1->SetEditable(false);
        break;
    }
    case detVoicemailMain: {
        TDPEVoicemailMain entry;
        DBInterface->LoadDPEVoicemailMain(number, entry);
        nbMain->setCurrentIndex(pgiOutgoing);
        frameOutgoing1->edt5DialledNumber->setText(entry.NumberDialled);
        frameOutgoing1->SetEditable(false);
        break;
    }
    default:
        KxUi::Inform(this, QStringLiteral("Unable to determine DialplanEntryType - TfrmMain.DialplanEntry2Form"));
        break;
    }
}

// ---------------------------------------------------------------------------
// Startup: loading, first-run defaults, password check

void TfrmMain::LoadRecords()
{
    // Every kind is loaded even when another fails; what could not be read
    // is reported once, after the tree is built.
    auto step = [this](const std::function<void()>& load) {
        try {
            load();
        } catch (const EKXError& e) {
            StartupProblems << e.Message;
        }
    };
    step([&] { DBInterface->LoadUsers(); });
    step([&] { DBInterface->LoadCallGroups(); });
    step([&] { DBInterface->LoadTrunks(); });
    step([&] { DBInterface->LoadInboundRoutes(); });
    step([&] { DBInterface->LoadInboundRouteDests(); });
    step([&] { DBInterface->LoadOutboundRoutes(); });
    step([&] { ShowGlobalsPages(); });
    if (ControlBlock->FirstTimeRun) {
        step([&] {
            AddFirstRunDefaults();
            ControlBlock->FirstTimeRun = false;
            ControlBlock->SaveToFile();
        });
    }
    step([&] { DBInterface->LoadDialplanEntries(); });
    StartupProblems << DBInterface->LoadProblemTexts();
}

void TfrmMain::AddFirstRunDefaults()
{
    // One entry ringing each user's extension, unless the number has one.
    for (const auto& user : *DBInterface->Users) DBInterface->AddDefaultDialplanEntry(user->Extension);

    // The stock default dialplan rings every local extension itself; those
    // blocks go, since the entries above do the same per user.
    const QString folder = DBInterface->LocalFolder(QStringLiteral("dialplan"));
    const QString path = folder + QStringLiteral("default.xml");
    QFile file(path);
    if (!file.exists()) return;
    if (!file.open(QIODevice::ReadOnly))
        throw EKXError(QStringLiteral("Unable to read file %1: %2").arg(path, file.errorString()));
    const QString text = QString::fromUtf8(file.readAll());
    file.close();
    const QString eol = text.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QStringList lines = text.split(eol);
    const bool endsWithEol = text.endsWith(eol);
    if (endsWithEol) lines.removeLast();
    const QStringList before = lines;
    RemoveTextBlock(lines, QStringLiteral("<extension name=\"Local_Extension\">"), true, QStringLiteral("</extension>"));
    RemoveTextBlock(lines, QStringLiteral("<extension name=\"Local_Extension_Skinny\">"), true,
                    QStringLiteral("</extension>"));
    if (lines == before) return;
    Store::WriteFileAtomically(path, (lines.join(eol) + (endsWithEol ? eol : QString())).toUtf8());
    DBInterface->AddFileNeedingCommiting(folder, QStringLiteral("default.xml"),
                                         Store::ServerFolder(QStringLiteral("dialplan")), fnaaPut);
}

void TfrmMain::CheckDefaultPassword()
{
    if (TDBInterface::IsPasswordSecure(DBInterface->VarsXML->DefaultPassword)) return;
    SelectNodeByKey(tsGlobals);
    KxUi::Warn(this, tr("Default Password not secure"),
               tr("The default password that Kestrix is using is NOT secure.\r\rPlease choose a secure "
                  "password that contains at least one uppercase and lowercase letter and a number."));
    if (auto* edit = frameGlobals1->findChild<QLineEdit*>(QStringLiteral("edtDefaultPassword"))) edit->setFocus();
}
