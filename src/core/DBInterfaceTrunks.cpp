// Trunk operations of the database interface: the record files <Name>.trk and
// the gateway files <Name>.xml in sip_profiles/external/.
#include "core/DBInterface.h"
#include "core/KXGlobalsCB.h"
#include "core/Store.h"
#include "records/Gateway.h"
#include "records/gatewaylist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const QString TrunkRelFolder = QStringLiteral("sip_profiles/external");
const QString TrunkExt = QStringLiteral(".trk");
const QString GatewayExt = QStringLiteral(".xml");
const QString TrunkNameWhat = QStringLiteral("trunk name");

QString trunkServerFolder() { return Store::ServerFolder(TrunkRelFolder); }

QString nameTakenMessage(const QString& name)
{
    return QStringLiteral("A trunk with the name \"%1\" already exists. Please enter a different name").arg(name);
}
} // namespace

QString TDBInterface::TrunkFolder() const { return LocalFolder(TrunkRelFolder); }

void TDBInterface::LoadTrunks()
{
    const QString folder = TrunkFolder();
    forgetProblemsUnder(folder, TrunkExt);
    Store::LoadRecordFolder<TGateway>(*Gateways, folder, TrunkExt, Store::nsTrunks, LoadProblems);
}

void TDBInterface::SaveTrunks()
{
    // Check every name first, so that a bad one leaves the folder as it was.
    for (const auto& trunk : *Gateways)
        if (trunk->Modified) Store::CheckSafeFileBase(trunk->Name, TrunkNameWhat);

    PurgeGatewayFiles();
    const QString folder = TrunkFolder();
    const QString server = trunkServerFolder();
    for (const auto& trunk : *Gateways) {
        if (!trunk->Modified) continue;
        const QString recordFile = trunk->Name + TrunkExt;
        const QString xmlFile = trunk->Name + GatewayExt;
        trunk->SaveToFile(folder + recordFile);
        AddFileNeedingCommiting(folder, recordFile, server, fnaaPut);
        trunk->GenerateXML(folder + xmlFile);
        AddFileNeedingCommiting(folder, xmlFile, server, fnaaPut);
        // Modified stays set: the purge removed every gateway file, so each
        // save writes every listed trunk again.
    }
}

void TDBInterface::PurgeGatewayFiles()
{
    const QString folder = TrunkFolder();
    for (const QString& path : Store::ListRecordFiles(folder, GatewayExt)) {
        const QString fileName = QFileInfo(path).fileName();
        if (fileName == QLatin1String("example.xml")) continue;
        QFile file(path);
        if (!file.remove())
            throw EKXError(QStringLiteral("Unable to delete the file ") + folder + fileName + QStringLiteral(" - ")
                           + file.errorString());
    }
}

void TDBInterface::AddTrunk(TGateway* trunk)
{
    std::unique_ptr<TGateway> owned(trunk);
    Store::CheckSafeFileBase(owned->Name, TrunkNameWhat);
    if (TrunkNameExists(owned->Name)) throw EKXError(nameTakenMessage(owned->Name));
    owned->Id = NextTrunkId();
    owned->NodeKey = Store::MakeNodeKey(Store::nsTrunks, owned->Id);
    owned->Modified = true;
    Gateways->Add(owned.release());
}

int TDBInterface::NextTrunkId() { return TKXGlobalsCB::TakeNextId(TIdCounter::Gateway, Gateways->MaxId()); }

bool TDBInterface::GetTrunkById(int id, TGateway& dest) const
{
    const TGateway* trunk = Gateways->FindById(id);
    if (!trunk) return false;
    dest.CopyFieldsFrom(*trunk);
    return true;
}

void TDBInterface::UpdateTrunk(const TGateway& source)
{
    TGateway* trunk = Gateways->FindById(source.Id);
    if (!trunk)
        throw EKXError(QStringLiteral("The trunk \"%1\" (Id %2) is no longer listed, so the changes cannot be "
                                      "stored. Reload the trunks and edit it again.")
                           .arg(source.Name)
                           .arg(source.Id));

    const QString oldName = trunk->Name;
    const bool renamed = source.Name != oldName;
    if (renamed) {
        Store::CheckSafeFileBase(source.Name, TrunkNameWhat);
        for (const auto& other : *Gateways)
            if (other.get() != trunk && other->Name.toUpper() == source.Name.toUpper())
                throw EKXError(nameTakenMessage(source.Name));
        // The files under the old name go, here and on the server; the next
        // save writes them under the new one. A name that could never have
        // been a file name has no files to remove.
        if (Store::IsSafeFileBase(oldName)) {
            const QString folder = TrunkFolder();
            const QString server = trunkServerFolder();
            for (const QString& ext : {GatewayExt, TrunkExt}) {
                Store::DeleteFileIfExists(folder + oldName + ext);
                AddFileNeedingCommiting(QString(), oldName + ext, server, fnaaDelete);
            }
        }
    }

    const int id = trunk->Id;
    const int nodeKey = trunk->NodeKey;
    trunk->CopyFieldsFrom(source);
    trunk->Id = id;
    trunk->NodeKey = nodeKey;
    trunk->Modified = true;
}

bool TDBInterface::TrunkNameExists(const QString& name) const
{
    const QString upper = name.toUpper();
    for (const auto& trunk : *Gateways)
        if (trunk->Name.toUpper() == upper) return true;
    return false;
}

int TDBInterface::FindTrunkIdByName(const QString& name) const
{
    const QString upper = name.toUpper();
    for (const auto& trunk : *Gateways)
        if (trunk->Name.toUpper() == upper) return trunk->Id;
    return -1;
}

std::vector<TFileNeedingCommiting> TDBInterface::DeleteTrunk(const QString& name)
{
    Store::CheckSafeFileBase(name, TrunkNameWhat);
    const QString folder = TrunkFolder();
    const QString server = trunkServerFolder();
    std::vector<TFileNeedingCommiting> serverDeletes;
    // Files first: when one cannot be deleted the trunk stays listed, as it
    // still is on disk.
    for (const QString& ext : {GatewayExt, TrunkExt}) {
        Store::DeleteFileIfExists(folder + name + ext);
        serverDeletes.emplace_back(QString(), name + ext, server, fnaaDelete);
    }
    for (int i = Gateways->Count() - 1; i >= 0; --i)
        if (Gateways->Items(i)->Name == name) Gateways->Delete(i);
    return serverDeletes;
}
