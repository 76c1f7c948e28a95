// Call-group operations of the database interface.
#include "core/DBInterface.h"
#include "core/KXGlobalsCB.h"
#include "core/RecordFiles.h"
#include "core/Store.h"
#include "records/CallGroupList.h"

namespace {
const QString CgpExt = QStringLiteral(".cgp");
const QString XmlExt = QStringLiteral(".xml");
} // namespace

QString TDBInterface::CallGroupsFolder() const { return LocalFolder(QStringLiteral("directory/") + Domain); }

QString TDBInterface::CallGroupsServerFolder() const
{
    return Store::ServerFolder(QStringLiteral("directory/") + Domain);
}

void TDBInterface::LoadCallGroups()
{
    const QString folder = CallGroupsFolder();
    forgetProblemsUnder(folder, CgpExt);
    Store::LoadRecordFolder<TKXCallGroup>(*CallGroups, folder, CgpExt, Store::nsCallGroups, LoadProblems);
}

int TDBInterface::NextCallGroupId()
{
    return TKXGlobalsCB::TakeNextId(TIdCounter::CallGroup, CallGroups->MaxId());
}

void TDBInterface::AddCallGroup(TKXCallGroup* group)
{
    group->Modified = true;
    group->Id = NextCallGroupId();
    CallGroups->Add(group);
}

void TDBInterface::SaveCallGroups()
{
    // Check everything before the first file is written.
    Store::CheckSafeFileBase(Domain, QStringLiteral("domain"));
    for (const auto& gp : *CallGroups) {
        const TKXCallGroup* g = gp.get();
        if (!g->Modified) continue;
        Store::CheckSafeFileBase(g->Name, QStringLiteral("call group name"));
        for (const auto& other : *CallGroups)
            if (other.get() != g && other->Name == g->Name)
                throw EKXError(QStringLiteral("Two call groups are named \"%1\". Each call group needs a "
                                              "name of its own, because its files are named after it.")
                                   .arg(g->Name));
    }

    const QString folder = CallGroupsFolder();
    const QString server = CallGroupsServerFolder();
    QSet<QString> written;
    QStringList retired;
    for (const auto& g : *CallGroups) {
        if (!g->Modified) continue;
        const QString record = g->Name + CgpExt;
        const QString xml = g->Name + XmlExt;
        g->SaveToFile(folder + record);
        g->GenerateXML(folder + xml);
        AddSavedRecordPair(folder, record, xml, server);
        g->Modified = false;
        written << record << xml;
        if (!g->SavedName.isEmpty() && g->SavedName != g->Name)
            retired << g->SavedName + CgpExt << g->SavedName + XmlExt;
        g->SavedName = g->Name;
    }
    for (const TFileNeedingCommiting& d : RecordFiles::RetireOldFiles(folder, retired, written, server))
        FilesNeedingCommiting->Add(d);
}

bool TDBInterface::GetCallGroupById(int id, TKXCallGroup& dest) const
{
    bool found = false;
    for (const auto& g : *CallGroups) {
        if (g->Id != id) continue;
        dest.Id = g->Id;
        dest.NodeKey = g->NodeKey;
        dest.Modified = g->Modified;
        dest.Name = g->Name;
        dest.Members = g->Members;
        dest.SavedName = g->SavedName;
        found = true;
    }
    return found;
}

void TDBInterface::UpdateCallGroup(int id, const TKXCallGroup& source)
{
    for (const auto& g : *CallGroups) {
        if (g->Id != id) continue;
        g->Modified = true;
        g->Id = source.Id;
        g->Name = source.Name;
        g->Members = source.Members;
    }
}

bool TDBInterface::CallGroupNameExists(const QString& name) const
{
    for (const auto& g : *CallGroups)
        if (g->Name == name) return true;
    return false;
}

int TDBInterface::FindCallGroupIdByName(const QString& name) const
{
    const QString wanted = name.toUpper();
    for (const auto& g : *CallGroups)
        if (g->Name.toUpper() == wanted) return g->Id;
    return -1;
}

void TDBInterface::DeleteCallGroup(int id)
{
    QString base;
    bool removed = false;
    for (int i = CallGroups->Count() - 1; i >= 0; --i) {
        const TKXCallGroup* g = CallGroups->Items(i);
        if (g->Id != id) continue;
        base = g->SavedName.isEmpty() ? g->Name : g->SavedName;
        removed = true;
        CallGroups->Delete(i);
    }
    if (!removed || base.isEmpty() || !Store::IsSafeFileBase(base)) return;
    for (const TFileNeedingCommiting& d :
         RecordFiles::DeleteFiles(CallGroupsFolder(), {base + CgpExt, base + XmlExt}, CallGroupsServerFolder(),
                                   *FilesNeedingCommiting))
        FilesNeedingCommiting->Add(d);
}
