// Outbound-route operations of the database interface.
#include "core/DBInterface.h"
#include "core/RecordFiles.h"
#include "core/Store.h"
#include "records/OutboundRouteList.h"

#include <QFileInfo>

namespace {
const QString ObrExt = QStringLiteral(".obr");
const QString XmlExt = QStringLiteral(".xml");

// Base name of the files a route has on disk: that of the file it was read
// from or last written to, else its name.
QString diskBase(const TOutboundRoute& r)
{
    return r.FileName.isEmpty() ? r.Name : QFileInfo(r.FileName).completeBaseName();
}
} // namespace

QString TDBInterface::OutboundRoutesFolder() const { return LocalFolder(QStringLiteral("dialplan/") + Domain); }

QString TDBInterface::OutboundRoutesServerFolder() const
{
    return Store::ServerFolder(QStringLiteral("dialplan/") + Domain);
}

void TDBInterface::LoadOutboundRoutes()
{
    const QString folder = OutboundRoutesFolder();
    forgetProblemsUnder(folder, ObrExt);
    Store::LoadRecordFolder<TOutboundRoute>(*OutboundRoutes, folder, ObrExt, Store::nsOutboundRoutes,
                                            LoadProblems);
}

int TDBInterface::NextOutboundRouteId() const { return OutboundRoutes->MaxId() + 1; }

void TDBInterface::AddOutboundRoute(TOutboundRoute* route)
{
    route->Id = NextOutboundRouteId();
    route->Modified = true;
    OutboundRoutes->Add(route);
}

void TDBInterface::SaveOutboundRoutes()
{
    // Check everything before the first file is written.
    Store::CheckSafeFileBase(Domain, QStringLiteral("domain"));
    for (const auto& r : *OutboundRoutes) {
        if (!r->Modified) continue;
        Store::CheckSafeFileBase(r->Name, QStringLiteral("outbound route name"));
        for (const auto& other : *OutboundRoutes)
            if (other != r && other->Name == r->Name)
                throw EKXError(QStringLiteral("Two outbound routes are named \"%1\". Each outbound route needs "
                                              "a name of its own, because its files are named after it.")
                                   .arg(r->Name));
    }

    const QString folder = OutboundRoutesFolder();
    const QString server = OutboundRoutesServerFolder();
    QSet<QString> written;
    QStringList retired;
    for (const auto& r : *OutboundRoutes) {
        if (!r->Modified) continue;
        const QString record = r->Name + ObrExt;
        const QString xml = r->Name + XmlExt;
        const QString oldBase = diskBase(*r);
        r->SaveToFile(folder + record);
        r->GenerateXML(folder + xml);
        r->FileName = record;
        AddSavedRecordPair(folder, record, xml, server);
        written << record << xml;
        if (oldBase != r->Name && Store::IsSafeFileBase(oldBase)) retired << oldBase + ObrExt << oldBase + XmlExt;
    }
    for (const TFileNeedingCommiting& d : RecordFiles::RetireOldFiles(folder, retired, written, server))
        FilesNeedingCommiting->Add(d);
}

bool TDBInterface::GetOutboundRouteById(int id, TOutboundRoute& dest) const
{
    bool found = false;
    for (const auto& r : *OutboundRoutes) {
        if (r->Id != id) continue;
        QStringList keep = std::move(dest.XMLText);
        dest = *r;
        dest.XMLText = std::move(keep);
        found = true;
    }
    return found;
}

void TDBInterface::UpdateOutboundRoute(const TOutboundRoute& source)
{
    for (const auto& r : *OutboundRoutes) {
        if (r->Id != source.Id) continue;
        r->Modified = true;
        r->DigitExpression = source.DigitExpression;
        r->DigitForOutsideLine = source.DigitForOutsideLine;
        r->EffectiveCallerIDNumber = source.EffectiveCallerIDNumber;
        r->GatewayType = source.GatewayType;
        r->Name = source.Name;
        r->Trunk = source.Trunk;
    }
}

bool TDBInterface::OutboundRouteNameExists(const QString& name) const
{
    for (const auto& r : *OutboundRoutes)
        if (r->Name == name) return true;
    return false;
}

int TDBInterface::FindOutboundRouteIdByName(const QString& name) const
{
    const QString wanted = name.toUpper();
    for (const auto& r : *OutboundRoutes)
        if (r->Name.toUpper() == wanted) return r->Id;
    return -1;
}

std::vector<TFileNeedingCommiting> TDBInterface::DeleteOutboundRoute(int id)
{
    QString base;
    bool removed = false;
    for (int i = OutboundRoutes->Count() - 1; i >= 0; --i) {
        if (OutboundRoutes->Items(i)->Id != id) continue;
        base = diskBase(*OutboundRoutes->Items(i));
        removed = true;
        OutboundRoutes->Delete(i);
    }
    if (!removed || !Store::IsSafeFileBase(base)) return {};
    return RecordFiles::DeleteFiles(OutboundRoutesFolder(), {base + ObrExt, base + XmlExt},
                                    OutboundRoutesServerFolder(), *FilesNeedingCommiting);
}
