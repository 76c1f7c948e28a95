#include "core/DBInterface.h"
#include "core/Store.h"

#include "engine/DialplanDomain.h"
#include "engine/DialplanDomainXML.h"
#include "engine/DirectoryDomain.h"
#include "engine/DirectoryDomainXML.h"
#include "engine/SIPExternalXML.h"
#include "engine/SIPInternalXML.h"
#include "engine/kxVarsXML.h"
#include "engine/voicemailconf.h"
#include "records/CallGroupList.h"
#include "records/InboundRouteDestList.h"
#include "records/InboundRouteList.h"
#include "records/OutboundRouteList.h"
#include "records/UserList.h"
#include "records/basicdialplanentrylist.h"
#include "records/gatewaylist.h"

#include <QDir>
#include <QFileInfo>
#include <functional>

TDBInterface::TDBInterface(const QString& domain, TProgressSink* progressForm)
    : Domain(domain), ProgressForm(progressForm)
{
    ControlBlock = std::make_unique<TKXControlBlock>();
    ControlBlock->LoadFromFile();
    CallGroups = std::make_unique<TKXCallGroupList>();
    DialplanDomain = std::make_unique<TDialplanDomain>();
    DirectoryDomain = std::make_unique<TDirectoryDomain>();
    FilesNeedingCommiting = std::make_unique<TFilesNeedingCommitingList>();
    Users = std::make_unique<TUserList>();
    Gateways = std::make_unique<TGatewayList>();
    InboundRoutes = std::make_unique<TInboundRouteList>();
    InboundRouteDests = std::make_unique<TKXInboundRouteDestList>();
    OutboundRoutes = std::make_unique<TOutboundRouteList>();
    VoicemailConf = std::make_unique<TVoicemailConf>();
    VarsXML = std::make_unique<TKesFSVarsXML>();
    DialplanDomainXML = std::make_unique<TDialplanDomainXML>(VarsXML.get());
    DirectoryDomainXML = std::make_unique<TDirectoryDomainXML>(VarsXML.get(), Domain);
    SIPExternal = std::make_unique<TSIPExternalXML>();
    SIPInternal = std::make_unique<TSIPInternalXML>();
    BasicDialplanEntries = std::make_unique<TBasicDialplanEntryList>();
}

TDBInterface::~TDBInterface() = default;

QString TDBInterface::WorkingDir() const { return Store::WithTrailingDelimiter(ControlBlock->WorkingDir); }

QString TDBInterface::LocalFolder(const QString& relFolder) const
{
    return Store::LocalFolder(ControlBlock->WorkingDir, relFolder);
}

QStringList TDBInterface::LoadProblemTexts() const
{
    QStringList texts;
    for (const TLoadProblem& p : LoadProblems) texts << p.Text();
    return texts;
}

void TDBInterface::forgetProblemsUnder(const QString& folder, const QString& ext)
{
    std::erase_if(LoadProblems, [&](const TLoadProblem& p) {
        return QDir::cleanPath(QFileInfo(p.Path).absolutePath())
                   == QDir::cleanPath(QFileInfo(folder).absoluteFilePath())
               && p.Path.endsWith(ext, Qt::CaseInsensitive);
    });
}

namespace {
// One engine-wide configuration file: its record file and generated file in
// a folder of the working directory, and how its object reads, writes and
// generates. LoadGlobals and SaveGlobals walk this table in order.
struct TGlobalFile {
    QString RelFolder;
    QString RecordFile;
    QString XMLFile;
    std::function<void(const QString&)> Load;
    std::function<void(const QString&)> Save;
    std::function<void(const QString&)> Generate;
};

template <class T>
TGlobalFile globalFile(T* object, QString rel, QString record, QString xml,
                       std::function<void()> afterLoad = {})
{
    return {std::move(rel), std::move(record), std::move(xml),
            [object, afterLoad](const QString& p) {
                object->LoadFromFile(p);
                if (afterLoad) afterLoad();
            },
            [object](const QString& p) { object->SaveToFile(p); },
            [object](const QString& p) { object->GenerateXML(p); }};
}
} // namespace

static std::vector<TGlobalFile> globalFiles(TDBInterface& db)
{
    const QString d = db.Domain;
    auto* dpd = db.DialplanDomainXML.get();
    auto* ddm = db.DirectoryDomainXML.get();
    return {
        globalFile(db.VarsXML.get(), QString(), QStringLiteral("vars.vrs"), QStringLiteral("vars.xml")),
        globalFile(dpd, QStringLiteral("dialplan"), d + QStringLiteral(".dpd"), d + QStringLiteral(".xml"),
                   [dpd, d] { dpd->Domain = d; dpd->ContextName = d; }),
        globalFile(ddm, QStringLiteral("directory"), d + QStringLiteral(".ddm"), d + QStringLiteral(".xml"),
                   [ddm, d] { ddm->Domain = d; }),
        globalFile(db.SIPInternal.get(), QStringLiteral("sip_profiles"), QStringLiteral("internal.six"),
                   QStringLiteral("internal.xml")),
        globalFile(db.SIPExternal.get(), QStringLiteral("sip_profiles"), QStringLiteral("external.sex"),
                   QStringLiteral("external.xml")),
    };
}

void TDBInterface::LoadGlobals()
{
    // Read order differs from the write order only in the two SIP profiles.
    auto files = globalFiles(*this);
    std::swap(files[3], files[4]);
    for (const TGlobalFile& f : files) f.Load(LocalFolder(f.RelFolder) + f.RecordFile);
}

void TDBInterface::SaveGlobals()
{
    // The domain names two of the files: refuse an empty or unsafe one before
    // anything is written. Those two files also name the domain inside, so they
    // follow it when it changed after the globals were loaded.
    Store::CheckSafeFileBase(Domain, QStringLiteral("domain"));
    DialplanDomainXML->Domain = Domain;
    DialplanDomainXML->ContextName = Domain;
    DirectoryDomainXML->Domain = Domain;
    for (const TGlobalFile& f : globalFiles(*this)) {
        Store::CheckSafeFileBase(f.RecordFile, QStringLiteral("file name"));
        const QString folder = LocalFolder(f.RelFolder);
        f.Save(folder + f.RecordFile);
        f.Generate(folder + f.XMLFile);
    }
    for (const TGlobalFile& f : globalFiles(*this))
        AddSavedRecordPair(LocalFolder(f.RelFolder), f.RecordFile, f.XMLFile, Store::ServerFolder(f.RelFolder));
}

bool TDBInterface::IsPasswordSecure(const QString& password)
{
    if (password.size() < 3) return false;
    bool lower = false, upper = false, digit = false;
    for (QChar c : password) {
        const char16_t u = c.unicode();
        if (u >= 'a' && u <= 'z') lower = true;
        else if (u >= 'A' && u <= 'Z') upper = true;
        else if (u >= '0' && u <= '9') digit = true;
        if (lower && upper && digit) return true;
    }
    return false;
}

void TDBInterface::ShowStatus(const QString& text)
{
    if (!ProgressForm) return;
    ProgressForm->ShowStatus(text);
    ProgressForm->ProcessEvents();
}

void TDBInterface::StepProgress()
{
    if (!ProgressForm) return;
    ProgressForm->StepProgress();
    ProgressForm->ProcessEvents();
}

void TDBInterface::AddFileNeedingCommiting(const QString& srcFolder, const QString& srcFile,
                                           const QString& destFolder, qint32 actionType)
{
    if (Store::IsLocalAddress(ControlBlock->LastIPAddress)) return;
    FilesNeedingCommiting->Add(new TFileNeedingCommiting(srcFolder, srcFile, destFolder, actionType));
}

void TDBInterface::AddSavedRecordPair(const QString& localFolder, const QString& recordFile,
                                      const QString& xmlFile, const QString& serverFolder)
{
    AddFileNeedingCommiting(localFolder, recordFile, serverFolder, fnaaPut);
    AddFileNeedingCommiting(localFolder, xmlFile, serverFolder, fnaaPut);
}

QString TDBInterface::PendingChangesFolder() { return Store::AppConfigDir() + QStringLiteral("fnc/"); }

void TDBInterface::LoadFilesNeedingCommiting() { FilesNeedingCommiting->LoadFromFolder(PendingChangesFolder()); }

void TDBInterface::SaveFilesNeedingCommiting() { FilesNeedingCommiting->SaveToFolder(PendingChangesFolder()); }
