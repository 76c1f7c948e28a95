// Inbound-route operations of the database interface.
#include "core/DBInterface.h"
#include "core/KXGlobalsCB.h"
#include "core/RecordFiles.h"
#include "core/Store.h"
#include "records/InboundRouteDestList.h"
#include "records/InboundRouteList.h"

#include <QFileInfo>
#include <QHash>
#include <algorithm>

namespace {
const QString IbrExt = QStringLiteral(".ibr");
const QString IrdExt = QStringLiteral(".ird");
const QString XmlExt = QStringLiteral(".xml");

// Base name of the files a route has on disk: that of the file it was read
// from or last written to, else its name.
QString diskBase(const TInboundRoute& r)
{
    return r.FileName.isEmpty() ? r.Name : QFileInfo(r.FileName).completeBaseName();
}

void removeStep(TKXInboundRouteDestList& list, int stepId)
{
    for (int i = list.Count() - 1; i >= 0; --i)
        if (list.Items(i)->Id == stepId) list.Delete(i);
}
} // namespace

QString TDBInterface::InboundRoutesFolder() const { return LocalFolder(QStringLiteral("dialplan/public")); }

QString TDBInterface::InboundRoutesServerFolder() const
{
    return Store::ServerFolder(QStringLiteral("dialplan/public"));
}

void TDBInterface::LoadInboundRoutes()
{
    const QString folder = InboundRoutesFolder();
    forgetProblemsUnder(folder, IbrExt);
    forgetProblemsUnder(folder, IrdExt);
    Store::LoadRecordFolder<TInboundRoute>(*InboundRoutes, folder, IbrExt, Store::nsInboundRoutes, LoadProblems);
    // Every step file is read once and handed to the routes that it names.
    TRecordList<TKXInboundRouteDest> steps;
    Store::LoadRecordFolder<TKXInboundRouteDest>(steps, folder, IrdExt, 0, LoadProblems);
    for (const auto& route : *InboundRoutes) {
        for (const auto& step : steps)
            if (step->InboundRouteId == route->Id) route->Destinations.Add(new TKXInboundRouteDest(*step));
        route->Destinations.SortByPosition();
    }
}

void TDBInterface::LoadInboundRouteDests()
{
    const QString folder = InboundRoutesFolder();
    forgetProblemsUnder(folder, IrdExt);
    Store::LoadRecordFolder<TKXInboundRouteDest>(*InboundRouteDests, folder, IrdExt, 0, LoadProblems);
    InboundRouteDests->SortByPosition();
}

int TDBInterface::NextInboundRouteId()
{
    return TKXGlobalsCB::TakeNextId(TIdCounter::InboundRoute, InboundRoutes->MaxId());
}

int TDBInterface::NextInboundRouteDestId()
{
    int largest = InboundRouteDests->MaxId();
    for (const auto& route : *InboundRoutes) largest = std::max(largest, route->Destinations.MaxId());
    return TKXGlobalsCB::TakeNextId(TIdCounter::InboundRouteDest, largest);
}

void TDBInterface::AddInboundRoute(TInboundRoute* route)
{
    std::unique_ptr<TInboundRoute> owned(route);
    owned->Id = NextInboundRouteId();
    owned->Modified = true;
    for (const auto& step : owned->Destinations) {
        step->InboundRouteId = owned->Id;
        if (step->Id < 0) step->Id = NextInboundRouteDestId();
    }
    InboundRoutes->Add(owned.release());
}

void TDBInterface::AddInboundRouteDest(TInboundRoute& route, TKXInboundRouteDest* step)
{
    std::unique_ptr<TKXInboundRouteDest> owned(step);
    owned->InboundRouteId = route.Id;
    if (owned->Id < 0) owned->Id = NextInboundRouteDestId();
    route.Destinations.Add(owned.release());
}

void TDBInterface::SaveInboundRoutes()
{
    // Check every name before the first file is written.
    for (const auto& r : *InboundRoutes) {
        if (!r->Modified) continue;
        Store::CheckSafeFileBase(r->Name, QStringLiteral("inbound route name"));
        for (const auto& other : *InboundRoutes)
            if (other != r && other->Name == r->Name)
                throw EKXError(QStringLiteral("Two inbound routes are named \"%1\". Each inbound route needs "
                                              "a name of its own, because its files are named after it.")
                                   .arg(r->Name));
        for (const auto& s : r->Destinations)
            if (s->Modified) Store::CheckSafeFileBase(s->Name, QStringLiteral("inbound route destination name"));
    }
    // Every step written needs an Id, its route's Id and a name no other step has.
    for (const auto& r : *InboundRoutes) {
        if (!r->Modified) continue;
        for (const auto& s : r->Destinations) {
            s->InboundRouteId = r->Id;
            if (s->Id < 0) s->Id = NextInboundRouteDestId();
        }
    }
    QHash<QString, int> stepIdByName;
    const auto claim = [&](const TKXInboundRouteDest& s) {
        const auto it = stepIdByName.constFind(s.Name);
        if (it != stepIdByName.cend() && it.value() != s.Id)
            throw EKXError(QStringLiteral("Two inbound route destinations are named \"%1\". Each destination "
                                          "needs a name of its own, because its file is named after it.")
                               .arg(s.Name));
        stepIdByName.insert(s.Name, s.Id);
    };
    QSet<int> routeStepIds;
    for (const auto& r : *InboundRoutes)
        for (const auto& s : r->Destinations) {
            claim(*s);
            routeStepIds.insert(s->Id);
        }
    // Step files read for no listed route keep their names too.
    for (const auto& s : *InboundRouteDests)
        if (!routeStepIds.contains(s->Id) && !s->SavedName.isEmpty()) {
            TKXInboundRouteDest onDisk(*s);
            onDisk.Name = s->SavedName;
            claim(onDisk);
        }

    const QString folder = InboundRoutesFolder();
    const QString server = InboundRoutesServerFolder();
    QSet<QString> written;
    QStringList retired;
    for (const auto& r : *InboundRoutes) {
        if (!r->Modified) continue;
        for (const auto& s : r->Destinations) {
            if (!s->Modified) continue;
            const QString file = s->Name + IrdExt;
            s->SaveToFile(folder + file);
            AddFileNeedingCommiting(folder, file, server, fnaaPut);
            written << file;
            if (!s->SavedName.isEmpty() && s->SavedName != s->Name) retired << s->SavedName + IrdExt;
            s->SavedName = s->Name;
        }
        const QString record = r->Name + IbrExt;
        const QString xml = r->Name + XmlExt;
        const QString oldBase = diskBase(*r);
        const QString oldFileName = r->FileName;
        r->FileName = record; // the record file names itself
        try {
            r->SaveToFile(folder + record);
            r->GenerateXML(folder + xml);
        } catch (const EKXError&) {
            r->FileName = oldFileName;
            throw;
        }
        AddSavedRecordPair(folder, record, xml, server);
        written << record << xml;
        if (oldBase != r->Name && Store::IsSafeFileBase(oldBase)) retired << oldBase + IbrExt << oldBase + XmlExt;
    }
    for (const TFileNeedingCommiting& d : RecordFiles::RetireOldFiles(folder, retired, written, server))
        FilesNeedingCommiting->Add(d);
}

bool TDBInterface::GetInboundRouteById(int id, TInboundRoute& dest) const
{
    bool found = false;
    for (const auto& r : *InboundRoutes) {
        if (r->Id != id) continue;
        QStringList keep = std::move(dest.XMLText);
        dest.Assign(*r);
        dest.XMLText = std::move(keep);
        found = true;
    }
    return found;
}

void TDBInterface::UpdateInboundRoute(const TInboundRoute& source)
{
    for (const auto& r : *InboundRoutes) {
        if (r->Id != source.Id) continue;
        r->Modified = true;
        r->Name = source.Name;
        r->Context = source.Context;
        r->DestinationNumber = source.DestinationNumber;
        r->Domain = source.Domain;
        r->Transfer = source.Transfer;
        r->Destinations.Clear();
        for (const auto& s : source.Destinations) {
            r->Destinations.AddCopy(*s);
            r->Destinations.Items(r->Destinations.Count() - 1)->InboundRouteId = r->Id;
        }
    }
}

bool TDBInterface::InboundRouteNameExists(const QString& name) const
{
    for (const auto& r : *InboundRoutes)
        if (r->Name == name) return true;
    return false;
}

int TDBInterface::FindInboundRouteIdByName(const QString& name) const
{
    const QString wanted = name.toUpper();
    for (const auto& r : *InboundRoutes)
        if (r->Name.toUpper() == wanted) return r->Id;
    return -1;
}

void TDBInterface::GetStepsOfRoute(int routeId, TKXInboundRouteDestList& list) const
{
    for (const auto& s : *InboundRouteDests)
        if (s->InboundRouteId == routeId) list.AddCopy(*s);
}

bool TDBInterface::GetInboundRouteDestById(int id, TKXInboundRouteDest& dest) const
{
    const TKXInboundRouteDest* s = InboundRouteDests->FindById(id);
    if (!s) return false;
    dest = *s;
    return true;
}

bool TDBInterface::InboundRouteDestNameExists(const QString& name) const
{
    for (const auto& s : *InboundRouteDests)
        if (s->Name == name) return true;
    return false;
}

std::vector<TFileNeedingCommiting> TDBInterface::DeleteInboundRoute(int id)
{
    const QString folder = InboundRoutesFolder();
    const QString server = InboundRoutesServerFolder();
    std::vector<TFileNeedingCommiting> pending;
    const auto deleteFiles = [&](const QStringList& names) {
        // On failure, what was removed before reaches the server all the same.
        try {
            for (auto& d : RecordFiles::DeleteFiles(folder, names, server, *FilesNeedingCommiting))
                pending.push_back(std::move(d));
        } catch (const EKXError&) {
            for (const TFileNeedingCommiting& d : pending) FilesNeedingCommiting->Add(d);
            throw;
        }
    };
    bool removed = false;
    for (int i = InboundRoutes->Count() - 1; i >= 0; --i) {
        TInboundRoute* r = InboundRoutes->Items(i);
        if (r->Id != id) continue;
        // The route's steps on disk: those it holds, and any other step file
        // read for it.
        QStringList stepNames;
        for (const auto& s : r->Destinations)
            if (!s->SavedName.isEmpty()) stepNames << s->SavedName;
        for (const auto& s : *InboundRouteDests)
            if (s->InboundRouteId == id && !s->SavedName.isEmpty() && !stepNames.contains(s->SavedName))
                stepNames.prepend(s->SavedName);
        for (int k = stepNames.size() - 1; k >= 0; --k) {
            if (!Store::IsSafeFileBase(stepNames[k])) continue;
            deleteFiles({stepNames[k] + IrdExt});
            for (int j = r->Destinations.Count() - 1; j >= 0; --j)
                if (r->Destinations.Items(j)->SavedName == stepNames[k]) r->Destinations.Delete(j);
        }
        const QString base = diskBase(*r);
        InboundRoutes->Delete(i);
        removed = true;
        if (Store::IsSafeFileBase(base)) deleteFiles({base + XmlExt, base + IbrExt});
    }
    if (removed)
        for (int i = InboundRouteDests->Count() - 1; i >= 0; --i)
            if (InboundRouteDests->Items(i)->InboundRouteId == id) InboundRouteDests->Delete(i);
    return pending;
}

std::vector<TFileNeedingCommiting> TDBInterface::DeleteInboundRouteDest(TInboundRoute& route, int stepId)
{
    // The step's file as any of its copies knows it.
    QString savedName;
    const auto note = [&](const TKXInboundRouteDestList& list) {
        if (const TKXInboundRouteDest* s = list.FindById(stepId); s && savedName.isEmpty())
            savedName = s->SavedName;
    };
    note(route.Destinations);
    for (const auto& r : *InboundRoutes)
        if (r->Id == route.Id) note(r->Destinations);
    note(*InboundRouteDests);

    if (!route.Destinations.FindById(stepId)) return {};
    removeStep(route.Destinations, stepId);
    for (const auto& r : *InboundRoutes)
        if (r->Id == route.Id && r.get() != &route) removeStep(r->Destinations, stepId);
    removeStep(*InboundRouteDests, stepId);
    if (savedName.isEmpty() || !Store::IsSafeFileBase(savedName)) return {};
    return RecordFiles::DeleteFiles(InboundRoutesFolder(), {savedName + IrdExt}, InboundRoutesServerFolder(),
                                    *FilesNeedingCommiting);
}
