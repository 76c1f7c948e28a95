// Dialplan-entry operations of the database interface: the record files
// 00_<number>.dpe and the dialplan files 00_<number>.xml in dialplan/<domain>/.
#include "core/DBInterface.h"
#include "core/Store.h"
#include "records/DPECallGroup.h"
#include "records/DPEExtensionNoVM.h"
#include "records/DPEExtensionWithVM.h"
#include "records/DPEVoicemailMain.h"
#include "records/basicdialplanentrylist.h"

#include <QFile>
#include <QSet>

namespace {
const QString RecordExt = QStringLiteral(".dpe");
const QString XmlExt = QStringLiteral(".xml");
const QString FileWhat = QStringLiteral("dialplan entry file name");

QString relFolder(const QString& domain) { return QStringLiteral("dialplan/") + domain; }

void deleteEntryFile(const QString& path)
{
    QFile file(path);
    if (file.exists() && !file.remove())
        throw EKXError(QStringLiteral("Unable to delete the file \"") + path + QStringLiteral("\"\n\n")
                       + file.errorString());
}

template <class T>
void loadEntry(const TDBInterface& db, const QString& number, T& entry)
{
    const QString base = TBasicDialplanEntry::FileBase(number);
    Store::CheckSafeFileBase(base, FileWhat);
    entry.LoadFromFile(db.DialplanEntryFolder() + base + RecordExt);
}

// Both extension kinds are written alike; see SaveDPEExtensionWithVM.
template <class T>
void saveExtensionEntry(TDBInterface& db, T& entry)
{
    const QString folder = db.DialplanEntryFolder();
    const QString server = Store::ServerFolder(relFolder(db.Domain));
    TBasicDialplanEntryList& list = *db.BasicDialplanEntries;
    const QString newNumber = QString::number(entry.NumberDialled);
    const QString newBase = TBasicDialplanEntry::FileBase(newNumber);
    Store::CheckSafeFileBase(newBase, FileWhat);

    // The number the entry's files lie under now: as read, or as listed.
    QString oldNumber = entry.StoredNumber;
    if (oldNumber.isEmpty() && entry.Id >= 0)
        if (const TBasicDialplanEntry* head = list.FindById(entry.Id)) oldNumber = head->NumberDialled;
    const bool renumbered = !oldNumber.isEmpty() && oldNumber != newNumber;

    // Never write over another entry's files.
    const QString newRecordPath = folder + newBase + RecordExt;
    if ((oldNumber.isEmpty() || renumbered) && QFile::exists(newRecordPath))
        throw EKXError(QStringLiteral("A dialplan entry for the number %1 already exists (%2). Choose another "
                                      "number, or edit or delete that entry.")
                           .arg(newNumber, newRecordPath));

    // A usable Id: non-negative and not another entry's.
    bool idTaken = false;
    for (const auto& head : list)
        if (head->Id == entry.Id && head->NumberDialled != oldNumber && head->NumberDialled != newNumber)
            idTaken = true;
    if (entry.Id < 0 || idTaken) entry.Id = db.NextDialplanEntryId();

    entry.SaveToFile(newRecordPath);
    entry.GenerateXML(folder + newBase + XmlExt);
    db.AddSavedRecordPair(folder, newBase + RecordExt, newBase + XmlExt, server);

    if (renumbered) {
        const QString oldBase = TBasicDialplanEntry::FileBase(oldNumber);
        if (Store::IsSafeFileBase(oldBase)) {
            for (const QString& ext : {RecordExt, XmlExt}) {
                deleteEntryFile(folder + oldBase + ext);
                db.AddFileNeedingCommiting(QString(), oldBase + ext, server, fnaaDelete);
            }
        }
    }

    // Keep the list in step with the folder.
    for (int i = list.Count() - 1; i >= 0; --i) {
        const TBasicDialplanEntry* head = list.Items(i);
        if (head->Id == entry.Id || head->NumberDialled == newNumber
            || (renumbered && head->NumberDialled == oldNumber))
            list.Delete(i);
    }
    auto* head = new TBasicDialplanEntry;
    head->Id = entry.Id;
    head->NodeKey = Store::MakeNodeKey(Store::nsDialplanEntries, entry.Id);
    head->NumberDialled = newNumber;
    head->DialplanEntryType = entry.DialplanEntryType;
    head->Name = entry.Name;
    list.Add(head);
    entry.StoredNumber = newNumber;
}
} // namespace

QString TDBInterface::DialplanEntryFolder() const { return LocalFolder(relFolder(Domain)); }

void TDBInterface::LoadDialplanEntries()
{
    const QString folder = DialplanEntryFolder();
    forgetProblemsUnder(folder, RecordExt);
    Store::LoadRecordFolder<TBasicDialplanEntry>(*BasicDialplanEntries, folder, RecordExt,
                                                 Store::nsDialplanEntries, LoadProblems);
    // Entries written without an Id, with -1, or with a copy of another's
    // get the next free Id for as long as they are listed.
    int next = BasicDialplanEntries->MaxId() + 1;
    QSet<int> seen;
    for (const auto& head : *BasicDialplanEntries) {
        if (head->Id < 0 || seen.contains(head->Id)) head->Id = next++;
        seen.insert(head->Id);
        head->NodeKey = Store::MakeNodeKey(Store::nsDialplanEntries, head->Id);
    }
}

int TDBInterface::NextDialplanEntryId() const { return BasicDialplanEntries->MaxId() + 1; }

bool TDBInterface::DialplanEntryFileExists(const QString& number) const
{
    return QFile::exists(DialplanEntryFolder() + TBasicDialplanEntry::FileBase(number) + RecordExt);
}

int TDBInterface::GetDialplanEntryTypeByNodeKey(int nodeKey) const
{
    for (const auto& head : *BasicDialplanEntries)
        if (head->NodeKey == nodeKey) return head->DialplanEntryType;
    return 0;
}

QString TDBInterface::GetDialplanEntryNumberById(int id) const
{
    const TBasicDialplanEntry* head = BasicDialplanEntries->FindById(id);
    return head ? head->NumberDialled : QString();
}

void TDBInterface::LoadDPEExtensionWithVM(int number, TDPEExtensionWithVM& entry) const
{
    entry.NumberDialled = number;
    loadEntry(*this, QString::number(number), entry);
    entry.StoredNumber = QString::number(number);
}

void TDBInterface::LoadDPEExtensionNoVM(int number, TDPEExtensionNoVM& entry) const
{
    entry.NumberDialled = number;
    loadEntry(*this, QString::number(number), entry);
    entry.StoredNumber = QString::number(number);
}

void TDBInterface::LoadDPECallGroup(int number, TDPECallGroup& entry) const
{
    entry.NumberDialled = number;
    loadEntry(*this, QString::number(number), entry);
}

void TDBInterface::LoadDPEVoicemailMain(const QString& number, TDPEVoicemailMain& entry) const
{
    entry.NumberDialled = number;
    loadEntry(*this, number, entry);
}

void TDBInterface::SaveDPEExtensionWithVM(TDPEExtensionWithVM& entry) { saveExtensionEntry(*this, entry); }

void TDBInterface::SaveDPEExtensionNoVM(TDPEExtensionNoVM& entry) { saveExtensionEntry(*this, entry); }

void TDBInterface::DeleteDialplanEntry(const QString& number)
{
    const QString base = TBasicDialplanEntry::FileBase(number);
    Store::CheckSafeFileBase(base, FileWhat);
    const int index = BasicDialplanEntries->IndexOfNumber(number);
    if (index >= 0) BasicDialplanEntries->Delete(index);
    const QString folder = DialplanEntryFolder();
    const QString server = Store::ServerFolder(relFolder(Domain));
    for (const QString& ext : {RecordExt, XmlExt}) {
        deleteEntryFile(folder + base + ext);
        AddFileNeedingCommiting(QString(), base + ext, server, fnaaDelete);
    }
}

bool TDBInterface::AddDefaultDialplanEntry(int extension)
{
    const QString number = QString::number(extension);
    if (DialplanEntryFileExists(number)) return false;
    // Ids continue after the entries already on disk.
    if (BasicDialplanEntries->Count() == 0) LoadDialplanEntries();
    TDPEExtensionWithVM entry;
    entry.ExtToRing = extension;
    entry.NumberDialled = extension;
    entry.Call_Timeout = 30;
    entry.Name = QStringLiteral("Local Extension");
    entry.Id = NextDialplanEntryId();
    SaveDPEExtensionWithVM(entry);
    return true;
}
