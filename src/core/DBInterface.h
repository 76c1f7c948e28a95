#pragma once
// The one object through which the user interface reaches the stored model:
// it owns every record list, every engine configuration object and the
// pending changes, and drives loading, saving, generation and transfers.
#include "core/KXCB.h"
#include "core/ProgressSink.h"
#include "core/RecordList.h"
#include "sync/filesneedingcommitinglist.h"

#include <QString>
#include <memory>
#include <vector>

class TBasicDialplanEntryList;
class TKXCallGroupList;
class TDialplanDomain;
class TDialplanDomainXML;
class TDirectoryDomain;
class TDirectoryDomainXML;
class TUserList;
class TGatewayList;
class TInboundRouteList;
class TKXInboundRouteDestList;
class TOutboundRouteList;
class TSIPExternalXML;
class TSIPInternalXML;
class TKesFSVarsXML;
class TVoicemailConf;

class TDBInterface {
public:
    TDBInterface(const QString& domain, TProgressSink* progressForm);
    ~TDBInterface();
    TDBInterface(const TDBInterface&) = delete;
    TDBInterface& operator=(const TDBInterface&) = delete;

    // ---- Owned objects -------------------------------------------------
    std::unique_ptr<TBasicDialplanEntryList> BasicDialplanEntries;
    std::unique_ptr<TKXCallGroupList> CallGroups;
    std::unique_ptr<TDialplanDomain> DialplanDomain;
    std::unique_ptr<TDialplanDomainXML> DialplanDomainXML;
    std::unique_ptr<TDirectoryDomain> DirectoryDomain;
    std::unique_ptr<TDirectoryDomainXML> DirectoryDomainXML;
    QString Domain;
    std::unique_ptr<TKXControlBlock> ControlBlock;
    TProgressSink* ProgressForm = nullptr; // not owned
    std::unique_ptr<TFilesNeedingCommitingList> FilesNeedingCommiting;
    std::unique_ptr<TUserList> Users;
    std::unique_ptr<TGatewayList> Gateways;
    std::unique_ptr<TInboundRouteList> InboundRoutes;
    std::unique_ptr<TKXInboundRouteDestList> InboundRouteDests;
    std::unique_ptr<TOutboundRouteList> OutboundRoutes;
    std::unique_ptr<TSIPExternalXML> SIPExternal;
    std::unique_ptr<TSIPInternalXML> SIPInternal;
    std::unique_ptr<TKesFSVarsXML> VarsXML;
    std::unique_ptr<TVoicemailConf> VoicemailConf;

    // Record files that the load-all operations skipped, with the reason.
    // Each load-all clears the problems of its own folder's files first.
    std::vector<TLoadProblem> LoadProblems;
    QStringList LoadProblemTexts() const;

    // ---- Frame ---------------------------------------------------------
    void LoadGlobals();
    void SaveGlobals();
    static bool IsPasswordSecure(const QString& password);
    void ShowStatus(const QString& text);
    void StepProgress();

    // Working directory with one trailing delimiter, and a folder below it.
    QString WorkingDir() const;
    QString LocalFolder(const QString& relFolder) const;

    // ---- Pending changes ----------------------------------------------
    void AddFileNeedingCommiting(const QString& srcFolder, const QString& srcFile,
                                 const QString& destFolder, qint32 actionType);
    void LoadFilesNeedingCommiting();
    void SaveFilesNeedingCommiting();
    static QString PendingChangesFolder();
    // Writes nothing itself: enters the record file and then the generated
    // file of one saved record as pending uploads.
    void AddSavedRecordPair(const QString& localFolder, const QString& recordFile,
                            const QString& xmlFile, const QString& serverFolder);

    // ---- Users ---------------------------------------------------------
    // (operations of this kind below)



    // ---- Trunks --------------------------------------------------------
    // (operations of this kind below)



    // ---- Dialplan entries ----------------------------------------------
    // (operations of this kind below)



    // ---- Call groups ---------------------------------------------------
    // (operations of this kind below)



    // ---- Inbound routes ------------------------------------------------
    // (operations of this kind below)



    // ---- Outbound routes -----------------------------------------------
    // (operations of this kind below)



    // ---- Server transfers and commands --------------------------------
    // (operations of this kind below)



private:
    void forgetProblemsUnder(const QString& folder, const QString& ext);
};
