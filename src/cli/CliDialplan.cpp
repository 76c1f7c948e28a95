// dialplan: what happens when a number is dialled inside the system. Entries
// that ring an extension (with or without its voicemail) are added, changed
// and deleted; entries that ring a call group or reach the voicemail main
// menu are shown and deleted.
#include "cli/CliRecords.h"
#include "core/DBInterface.h"
#include "records/DPECallGroup.h"
#include "records/DPEExtensionNoVM.h"
#include "records/DPEExtensionWithVM.h"
#include "records/DPEVoicemailMain.h"
#include "records/basicdialplanentrylist.h"

#include <algorithm>

namespace {

const QString Group = QStringLiteral("dialplan");

// The two extension kinds have the same fields.
template <class T>
const TCliFields<T>& extensionFields()
{
    static const TCliFields<T> fields = {
        {QStringLiteral("NumberDialled"), &T::NumberDialled, TFieldAccess::ReadOnly,
         QStringLiteral("the number; the first argument of add")},
        {QStringLiteral("ExtToRing"), &T::ExtToRing, TFieldAccess::Settable,
         QStringLiteral("extension of the user to ring (required)")},
        {QStringLiteral("Call_Timeout"), &T::Call_Timeout, TFieldAccess::Settable,
         QStringLiteral("seconds to ring, 1 to 180")},
        {QStringLiteral("Name"), &T::Name, TFieldAccess::Settable,
         QStringLiteral("name of the extension in the dialplan (a new entry: its number)")},
        {QStringLiteral("DialplanEntryType"), &T::DialplanEntryType, TFieldAccess::ReadOnly,
         QStringLiteral("1 with voicemail, 2 without")},
        {QStringLiteral("Ringback"), &T::Ringback, TFieldAccess::ReadOnly},
        {QStringLiteral("Id"), &T::Id, TFieldAccess::ReadOnly},
    };
    return fields;
}

const TCliFields<TDPECallGroup>& callGroupEntryFields()
{
    static const TCliFields<TDPECallGroup> fields = {
        {QStringLiteral("NumberDialled"), &TDPECallGroup::NumberDialled, TFieldAccess::ReadOnly},
        {QStringLiteral("CallGroupToRing"), &TDPECallGroup::CallGroupToRing, TFieldAccess::ReadOnly},
        {QStringLiteral("LegTimeout"), &TDPECallGroup::LegTimeout, TFieldAccess::ReadOnly},
        {QStringLiteral("RingType"), &TDPECallGroup::RingType, TFieldAccess::ReadOnly},
        {QStringLiteral("Name"), &TDPECallGroup::Name, TFieldAccess::ReadOnly},
        {QStringLiteral("DialplanEntryType"), &TDPECallGroup::DialplanEntryType, TFieldAccess::ReadOnly},
    };
    return fields;
}

const TCliFields<TDPEVoicemailMain>& voicemailMainFields()
{
    static const TCliFields<TDPEVoicemailMain> fields = {
        {QStringLiteral("NumberDialled"), &TDPEVoicemailMain::NumberDialled, TFieldAccess::ReadOnly},
        {QStringLiteral("Name"), &TDPEVoicemailMain::Name, TFieldAccess::ReadOnly},
        {QStringLiteral("DialplanEntryType"), &TDPEVoicemailMain::DialplanEntryType, TFieldAccess::ReadOnly},
    };
    return fields;
}

QString kindName(int type)
{
    switch (type) {
    case detExtensionWithVM: return QStringLiteral("extension with voicemail");
    case detExtensionNoVM: return QStringLiteral("extension without voicemail");
    case detCallGroup: return QStringLiteral("call group");
    case detVoicemailMain: return QStringLiteral("voicemail main menu");
    default: return QStringLiteral("unknown (%1)").arg(type);
    }
}

const TBasicDialplanEntry* findEntry(const TDBInterface& db, const QString& number)
{
    for (const auto& e : *db.BasicDialplanEntries)
        if (e->NumberDialled == number.trimmed()) return e.get();
    throw ECliFailure(QStringLiteral("There is no dialplan entry for the number %1.").arg(number.trimmed()));
}

int entryNumber(const TBasicDialplanEntry& head)
{
    bool ok = false;
    const int n = head.NumberDialled.toInt(&ok);
    if (!ok) throw ECliFailure(QStringLiteral("The dialplan entry \"%1\" has no number.").arg(head.NumberDialled));
    return n;
}

void runList(TCliContext& ctx)
{
    const TDBInterface& db = ctx.Db();
    std::vector<const TBasicDialplanEntry*> entries;
    for (const auto& e : *db.BasicDialplanEntries) entries.push_back(e.get());
    std::sort(entries.begin(), entries.end(), [](auto a, auto b) {
        bool okA = false, okB = false;
        const qlonglong na = a->NumberDialled.toLongLong(&okA), nb = b->NumberDialled.toLongLong(&okB);
        if (okA && okB && na != nb) return na < nb;
        if (okA != okB) return okA;
        return a->NumberDialled < b->NumberDialled;
    });
    if (ctx.Json()) {
        QJsonArray a;
        for (auto e : entries)
            a.append(QJsonObject{{QStringLiteral("NumberDialled"), e->NumberDialled},
                                 {QStringLiteral("DialplanEntryType"), e->DialplanEntryType},
                                 {QStringLiteral("Kind"), kindName(e->DialplanEntryType)},
                                 {QStringLiteral("Name"), e->Name},
                                 {QStringLiteral("Id"), e->Id}});
        CliOut::PrintJson(a);
        return;
    }
    QList<QStringList> rows;
    for (auto e : entries) rows << QStringList{e->NumberDialled, kindName(e->DialplanEntryType), e->Name, QString::number(e->Id)};
    CliOut::PrintTable({QStringLiteral("Number"), QStringLiteral("Kind"), QStringLiteral("Name"), QStringLiteral("Id")}, rows);
}

void runShow(TCliContext& ctx)
{
    const TDBInterface& db = ctx.Db();
    const TBasicDialplanEntry* head = findEntry(db, ctx.Positional().first());
    switch (head->DialplanEntryType) {
    case detExtensionWithVM: {
        TDPEExtensionWithVM e;
        db.LoadDPEExtensionWithVM(entryNumber(*head), e);
        CliRecords::PrintRecord(ctx, extensionFields<TDPEExtensionWithVM>(), e);
        return;
    }
    case detExtensionNoVM: {
        TDPEExtensionNoVM e;
        db.LoadDPEExtensionNoVM(entryNumber(*head), e);
        CliRecords::PrintRecord(ctx, extensionFields<TDPEExtensionNoVM>(), e);
        return;
    }
    case detCallGroup: {
        TDPECallGroup e;
        db.LoadDPECallGroup(entryNumber(*head), e);
        CliRecords::PrintRecord(ctx, callGroupEntryFields(), e);
        return;
    }
    case detVoicemailMain: {
        TDPEVoicemailMain e;
        db.LoadDPEVoicemailMain(head->NumberDialled, e);
        CliRecords::PrintRecord(ctx, voicemailMainFields(), e);
        return;
    }
    default:
        throw ECliFailure(QStringLiteral("The dialplan entry %1 is of an unknown kind (%2).")
                              .arg(head->NumberDialled)
                              .arg(head->DialplanEntryType));
    }
}

// As the dialog's OK: the checks, then the copy-back (Name is the number
// text for a new entry; the number of an existing entry cannot change).
template <class T>
void storeEntry(TCliContext& ctx, TDBInterface& db, T& e, const QString& numberText, const QStringList& set,
                TEditMode mode)
{
    const QString extText = (mode == TEditMode::Add && !set.contains(QStringLiteral("ExtToRing")))
                                ? QString()
                                : QString::number(e.ExtToRing);
    CliRecords::Require(RecordChecks::CheckDialplanExtension(db, mode, numberText, extText, e.Call_Timeout));
    if (mode == TEditMode::Add) {
        e.NumberDialled = RecordChecks::ParseExtension(numberText);
        if (!set.contains(QStringLiteral("Name"))) e.Name = numberText.trimmed();
        e.Id = db.NextDialplanEntryId();
    }
    if constexpr (std::is_same_v<T, TDPEExtensionWithVM>) db.SaveDPEExtensionWithVM(e);
    else db.SaveDPEExtensionNoVM(e);
    db.LoadDialplanEntries();
    CliRecords::PrintRecord(ctx, extensionFields<T>(), e,
                            QStringLiteral("%1 dialplan entry %2: rings extension %3 for %4 seconds%5.")
                                .arg(mode == TEditMode::Add ? QStringLiteral("Added") : QStringLiteral("Saved"))
                                .arg(e.NumberDialled)
                                .arg(e.ExtToRing)
                                .arg(e.Call_Timeout)
                                .arg(e.DialplanEntryType == detExtensionWithVM ? QStringLiteral(", then its voicemail")
                                                                               : QString()));
}

template <class T>
void addEntry(TCliContext& ctx, TDBInterface& db, const QString& numberText, const QStringList& args)
{
    T e;
    const QStringList set = CliFields::Assign(extensionFields<T>(), e, args);
    storeEntry(ctx, db, e, numberText, set, TEditMode::Add);
}

template <class T>
void editEntry(TCliContext& ctx, TDBInterface& db, const TBasicDialplanEntry& head, const QStringList& args)
{
    T e;
    if constexpr (std::is_same_v<T, TDPEExtensionWithVM>) db.LoadDPEExtensionWithVM(entryNumber(head), e);
    else db.LoadDPEExtensionNoVM(entryNumber(head), e);
    const QStringList set = CliFields::Assign(extensionFields<T>(), e, args);
    storeEntry(ctx, db, e, head.NumberDialled, set, TEditMode::Edit);
}

void runAdd(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    QStringList args = ctx.Positional();
    const QString number = args.takeFirst();
    if (ctx.Args.isSet(QStringLiteral("no-voicemail"))) addEntry<TDPEExtensionNoVM>(ctx, db, number, args);
    else addEntry<TDPEExtensionWithVM>(ctx, db, number, args);
}

void runEdit(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    QStringList args = ctx.Positional();
    const TBasicDialplanEntry* head = findEntry(db, args.takeFirst());
    switch (head->DialplanEntryType) {
    case detExtensionWithVM: editEntry<TDPEExtensionWithVM>(ctx, db, *head, args); return;
    case detExtensionNoVM: editEntry<TDPEExtensionNoVM>(ctx, db, *head, args); return;
    default:
        throw ECliFailure(QStringLiteral("The dialplan entry %1 rings a %2: such entries can be shown and deleted here, "
                                         "not changed.")
                              .arg(head->NumberDialled, kindName(head->DialplanEntryType)));
    }
}

void runDelete(TCliContext& ctx)
{
    TDBInterface& db = ctx.Db();
    const QString number = findEntry(db, ctx.Positional().first())->NumberDialled;
    db.DeleteDialplanEntry(number);
    CliRecords::PrintDeleted(ctx, QStringLiteral("dialplan entry"), number);
}

} // namespace

void Cli::RegisterDialplanCommands(TCliApp& app)
{
    using CliRecords::Command;
    const QString fields = CliFields::Help(extensionFields<TDPEExtensionWithVM>(), TDPEExtensionWithVM());
    app.Add(Command(Group, QStringLiteral("list"), QString(), 0, 0, QStringLiteral("List the dialplan entries."), QString(),
                    runList));
    app.Add(Command(Group, QStringLiteral("show"), QStringLiteral("NUMBER"), 1, 1, QStringLiteral("Show a dialplan entry."),
                    QString(), runShow));
    TCliCommand add = Command(
        Group, QStringLiteral("add"), QStringLiteral("NUMBER ExtToRing=EXT [FIELD=VALUE ...]"), 1, -1,
        QStringLiteral("Add an entry that rings an extension, then its voicemail (or not: --no-voicemail)."),
        QStringLiteral("Writes 00_<number>.dpe and 00_<number>.xml in dialplan/<domain>/ and enters both as\n"
                       "pending uploads.\nExample: kestrix-cli dialplan add 201 ExtToRing=101 Call_Timeout=20\n\n")
            + fields,
        runAdd);
    add.Options.push_back(QCommandLineOption(QStringLiteral("no-voicemail"),
                                             QStringLiteral("Ring the extension only, without falling through to its "
                                                            "voicemail.")));
    app.Add(add);
    app.Add(Command(Group, QStringLiteral("edit"), QStringLiteral("NUMBER FIELD=VALUE ..."), 1, -1,
                    QStringLiteral("Change an entry that rings an extension (its number cannot change)."), fields, runEdit));
    app.Add(Command(Group, QStringLiteral("delete"), QStringLiteral("NUMBER"), 1, 1, QStringLiteral("Delete a dialplan entry."),
                    QStringLiteral("Deletes the entry's two files and enters their deletion on the server as pending."),
                    runDelete));
}
