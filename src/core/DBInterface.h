#pragma once
// The one object through which the user interface reaches the stored model:
// it owns every record list, every engine configuration object and the
// pending changes, and drives loading, saving, generation and transfers.
#include "core/KXCB.h"
#include "core/ProgressSink.h"
#include "core/RecordList.h"
#include "sync/RemoteTransfer.h"
#include "sync/filesneedingcommitinglist.h"

#include <QString>
#include <memory>
#include <vector>

class TBasicDialplanEntryList;
class TDPEExtensionWithVM;
class TDPEExtensionNoVM;
class TDPECallGroup;
class TDPEVoicemailMain;
class TKXCallGroupList;
class TDialplanDomain;
class TDialplanDomainXML;
class TDirectoryDomain;
class TDirectoryDomainXML;
class TUser;
class TUserList;
class TGatewayList;
class TGateway;
class TInboundRouteList;
class TKXInboundRouteDestList;
class TOutboundRouteList;
class TSIPExternalXML;
class TSIPInternalXML;
class TKesFSVarsXML;
class TVoicemailConf;
class TKXCallGroup;
class TInboundRoute;
class TKXInboundRouteDest;
class TOutboundRoute;

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
    // Local folder of the users (working directory + "directory/<domain>/")
    // and their server folder ("/etc/freeswitch/directory/<domain>/").
    QString UsersFolder() const;
    QString UsersServerFolder() const;
    // Reads every *.usr of the users' folder; unreadable files are skipped
    // and reported in LoadProblems.
    void LoadUsers();
    // Writes the record file and directory file of every modified user and
    // enters both as pending uploads, record file first. Refuses an unusable
    // domain or extension before anything is written.
    void SaveUsers();
    // Takes ownership of user (also when it throws): gives it the next user
    // Id, marks it modified and appends it. Refuses an extension that a
    // listed user already has.
    void AddUser(TUser* user);
    int NextUserId();
    // Copies every field but XMLText of the listed user with that node key
    // (the last one when several match); false, and user unchanged, when none.
    bool GetUserByNodeKey(int nodeKey, TUser& user) const;
    // Copies the editable fields (not Extension or NodeKey) into every listed
    // user with that Id and marks it modified; throws when there is none.
    void UpdateUser(int id, const TUser& user);
    // Removes every listed user with that Id and, with deleteFiles, deletes
    // the local <extension>.usr and then <extension>.xml. Throws when no
    // listed user has the Id, or with "Unable to delete file ...".
    void DeleteUser(int id, bool deleteFiles);
    // The larger of 100 and one more than the largest listed extension.
    QString NextExtension() const;
    bool UserExtensionExists(int ext) const;
    // Id of the first user whose name equals name ignoring case, else -1.
    int FindUserIdByName(const QString& name) const;



    // ---- Trunks --------------------------------------------------------
    // (operations of this kind below)
    // Local folder of the trunk files (record file and gateway file).
    QString TrunkFolder() const;
    // Reads every *.trk; a file that cannot be read is skipped and reported.
    void LoadTrunks();
    // Purges the gateway files, then writes every trunk marked Modified (its
    // record file and gateway file) and enters both as pending uploads.
    // Refuses, before writing anything, a trunk whose name is not a safe file name.
    void SaveTrunks();
    // Deletes every *.xml of the trunk folder except example.xml.
    void PurgeGatewayFiles();
    // Gives the trunk the next Id, marks it Modified and lists it. Takes
    // ownership, also when it throws: an unsafe name or one that another trunk
    // has (in any letter case) is refused.
    void AddTrunk(TGateway* trunk);
    int NextTrunkId();
    // Copies the listed trunk's fields (except XMLText) into dest; false
    // when no trunk has that Id (dest is then unchanged).
    bool GetTrunkById(int id, TGateway& dest) const;
    // Copies the record fields (except Id) of source into the listed trunk
    // with source.Id and marks it Modified. A new name must be safe and not
    // taken by another trunk; the files under the old name are deleted
    // locally and entered as pending deletes on the server.
    void UpdateTrunk(const TGateway& source);
    bool TrunkNameExists(const QString& name) const;
    int FindTrunkIdByName(const QString& name) const;
    // Removes the trunk from the list and deletes its gateway file and record
    // file locally. Returns the pending deletes the caller enters for the
    // server (gateway file first, then record file).
    std::vector<TFileNeedingCommiting> DeleteTrunk(const QString& name);



    // ---- Dialplan entries ----------------------------------------------
    // (operations of this kind below)
    // Local folder of the domain's entries, dialplan/<domain>/.
    QString DialplanEntryFolder() const;
    // Lists every *.dpe as a head; a file that cannot be read is skipped and
    // reported. An entry without a usable Id (none, negative, or one an
    // earlier entry has) is given the next free one, so every listed entry
    // has a distinct node key.
    void LoadDialplanEntries();
    // The largest listed Id plus one (1 for an empty list).
    int NextDialplanEntryId() const;
    bool DialplanEntryFileExists(const QString& number) const;
    int GetDialplanEntryTypeByNodeKey(int nodeKey) const;
    QString GetDialplanEntryNumberById(int id) const;
    void LoadDPEExtensionWithVM(int number, TDPEExtensionWithVM& entry) const;
    void LoadDPEExtensionNoVM(int number, TDPEExtensionNoVM& entry) const;
    void LoadDPECallGroup(int number, TDPECallGroup& entry) const;
    void LoadDPEVoicemailMain(const QString& number, TDPEVoicemailMain& entry) const;
    // Writes 00_<NumberDialled>.dpe and .xml, enters both as pending uploads
    // and lists the entry. An entry without a usable Id gets the next one.
    // Writing under a new number removes the files of the old number here
    // and (pending deletes) on the server; a number whose files belong to
    // another entry is refused before anything is written.
    void SaveDPEExtensionWithVM(TDPEExtensionWithVM& entry);
    void SaveDPEExtensionNoVM(TDPEExtensionNoVM& entry);
    // Removes the entry of that number from the list, deletes its record file
    // and generated file and enters a pending delete for each.
    void DeleteDialplanEntry(const QString& number);
    // First run: an entry ringing the extension with voicemail ("Local
    // Extension", 30 s) unless an entry file for the number exists. Gives it
    // a real Id (the entries on disk are listed first when the list is
    // empty). Returns whether one was written.
    bool AddDefaultDialplanEntry(int extension);



    // ---- Call groups ---------------------------------------------------
    // (operations of this kind below)
    // Local folder "directory/<domain>/" and its server folder; records
    // <Name>.cgp, directory group files <Name>.xml.
    QString CallGroupsFolder() const;
    QString CallGroupsServerFolder() const;
    // Reads every *.cgp; unreadable files are skipped and reported in LoadProblems.
    void LoadCallGroups();
    // Takes the next Id from LastCallGroupId, never one a listed group holds.
    int NextCallGroupId();
    // Gives the group the next Id, marks it modified and takes ownership.
    void AddCallGroup(TKXCallGroup* group);
    // Writes each modified group's record and group file and enters both as
    // pending uploads; a group saved under a new name loses the files of its
    // old name here and on the server. Every name is checked first: nothing
    // is written when one is unsafe or used by two groups.
    void SaveCallGroups();
    // Copies the listed group into dest; false when no group has that Id.
    bool GetCallGroupById(int id, TKXCallGroup& dest) const;
    // Copies Id, Name and Members from source into the listed group(s) with
    // that Id and marks them modified; nothing is written yet.
    void UpdateCallGroup(int id, const TKXCallGroup& source);
    bool CallGroupNameExists(const QString& name) const; // exact comparison
    int FindCallGroupIdByName(const QString& name) const; // any letter case; -1 if none
    // Removes the group(s) with that Id, deletes the group's record file and
    // group file and enters their pending deletes (whatever the server address).
    void DeleteCallGroup(int id);



    // ---- Inbound routes ------------------------------------------------
    // (operations of this kind below)
    // Local folder "dialplan/public/" and its server folder; routes <Name>.ibr
    // with their extensions <Name>.xml, steps <StepName>.ird.
    QString InboundRoutesFolder() const;
    QString InboundRoutesServerFolder() const;
    // Reads every *.ibr and gives each route the steps (*.ird) that name its Id,
    // in position order. Unreadable files are skipped and reported in LoadProblems.
    void LoadInboundRoutes();
    // Reads every *.ird into InboundRouteDests, in position order.
    void LoadInboundRouteDests();
    // Takes the next Id from LastInboundRouteId, never one a listed route holds.
    int NextInboundRouteId();
    // Takes the next step Id from LastInboundRouteDestId, never one that a
    // step of InboundRouteDests or of a listed route holds.
    int NextInboundRouteDestId();
    // Gives the route the next Id (and its steps that Id as their route, and
    // an Id each when they have none), marks it modified and takes ownership.
    void AddInboundRoute(TInboundRoute* route);
    // Appends a new step to a route (also a route being edited in a dialog):
    // the step gets the route's Id, the next step Id when it has none and the
    // next position when it has none. The route's list takes ownership.
    void AddInboundRouteDest(TInboundRoute& route, TKXInboundRouteDest* step);
    // Writes every modified route: its modified steps' record files, its record
    // file and its extension file, each entered as a pending upload (the flags
    // stay set). A route or step saved under a new name loses the files of its
    // old name here and on the server. Every name is checked first: nothing is
    // written when one is unsafe or used twice.
    void SaveInboundRoutes();
    // Copies every field of the listed route but XMLText into dest, its steps
    // replacing those dest had; false when no route has that Id.
    bool GetInboundRouteById(int id, TInboundRoute& dest) const;
    // Copies Id, Name, Context, DestinationNumber, Domain and Transfer of
    // source into the listed route(s) with its Id and replaces their steps with
    // copies of source's steps. Nothing is written yet.
    void UpdateInboundRoute(const TInboundRoute& source);
    bool InboundRouteNameExists(const QString& name) const; // exact comparison
    int FindInboundRouteIdByName(const QString& name) const; // any letter case; -1 if none
    // Adds to list a copy of every step of InboundRouteDests of that route.
    void GetStepsOfRoute(int routeId, TKXInboundRouteDestList& list) const;
    // Copies the step of InboundRouteDests with that Id; false when none has it.
    bool GetInboundRouteDestById(int id, TKXInboundRouteDest& dest) const;
    bool InboundRouteDestNameExists(const QString& name) const; // exact comparison
    // Removes the route(s) with that Id and deletes, locally, the record files of
    // their steps, their extension file and their record file. Returns the
    // pending deletes for the server, which the caller enters. (When a file
    // cannot be deleted, the deletes of the files already removed are entered
    // here before the error is raised.)
    std::vector<TFileNeedingCommiting> DeleteInboundRoute(int id);
    // Removes one step from a route for good (the route dialog's Delete): from
    // the given route object, from the listed route with the same Id and from
    // InboundRouteDests, deleting its local record file. Returns the pending
    // delete for the server (none for a step never written), which the caller
    // enters. The route's extension file changes at its next save.
    std::vector<TFileNeedingCommiting> DeleteInboundRouteDest(TInboundRoute& route, int stepId);



    // ---- Outbound routes -----------------------------------------------
    // (operations of this kind below)
    // Local folder "dialplan/<domain>/" and its server folder; records
    // <Name>.obr, dialplan extensions <Name>.xml.
    QString OutboundRoutesFolder() const;
    QString OutboundRoutesServerFolder() const;
    // Reads every *.obr; unreadable files are skipped and reported in LoadProblems.
    void LoadOutboundRoutes();
    int NextOutboundRouteId() const; // largest listed Id + 1
    // Gives the route the next Id, marks it modified and takes ownership.
    void AddOutboundRoute(TOutboundRoute* route);
    // Writes every modified route's record file and extension file and enters
    // both as pending uploads (the flag stays set). A route saved under a new
    // name loses the files of its old name here and on the server. Every name
    // is checked first: nothing is written when one is unsafe or used twice.
    void SaveOutboundRoutes();
    // Copies every field but XMLText into dest; false when no route has that Id.
    bool GetOutboundRouteById(int id, TOutboundRoute& dest) const;
    // Copies the edited fields of source into the listed route(s) with its Id
    // and marks them modified; the listed route keeps its NodeKey and the name
    // of its files on disk (FileName). Nothing is written yet.
    void UpdateOutboundRoute(const TOutboundRoute& source);
    bool OutboundRouteNameExists(const QString& name) const; // exact comparison
    int FindOutboundRouteIdByName(const QString& name) const; // any letter case; -1 if none
    // Removes the route(s) with that Id and deletes the local record file and
    // extension file; returns the pending deletes for the server, which the
    // caller enters. (When a file cannot be deleted, the deletes of the files
    // already removed are entered here before the error is raised.)
    std::vector<TFileNeedingCommiting> DeleteOutboundRoute(int id);



    // ---- Server transfers and commands --------------------------------
    // (operations of this kind below)
    // Each returns what came of it, for the window or the command line to
    // show: a refused password, an unreachable server, a changed host key or a
    // file that did not go through is a result with Ok false. Errors of the
    // program itself (tool missing, script not writable) are thrown.
    // The address "local" starts no tool.
    TTransferResult DownloadFile(const TServerLogin& login, const QString& remoteFolder, const QString& fileName,
                                 const QString& localFolder);
    TTransferResult UploadFile(const TServerLogin& login, const QString& localFolder, const QString& fileName,
                               const QString& remoteFolder);
    TTransferResult RunServerCommand(const TServerLogin& login, const QString& command);
    // Makes eth0 static on the server (download, edit, upload of
    // /etc/network/interfaces); the caller reboots the server afterwards.
    TTransferResult EditNetworkInterfaces(const TServerLogin& login, const QString& newAddress,
                                          const QString& netmask, const QString& gateway);
    // Copies remoteFolder into localFolder; files with a pending change (in the
    // list or stored at the last exit) keep their local state.
    TTransferResult DownloadConfiguration(const TServerLogin& login, const QString& remoteFolder,
                                          const QString& localFolder);
    // Sends the pending changes; what did not go through stays in the list.
    TTransferResult CommitFiles(const TServerLogin& login);
    // The setup wizard's download: stores the address as LastIPAddress in the
    // given settings, then copies /etc/freeswitch/ into its WorkingDir,
    // reporting to the wizard's own progress window.
    TTransferResult SetupWizardDownload(const TServerLogin& login, TKXControlBlock& settings,
                                        TProgressSink* progress);



private:
    void forgetProblemsUnder(const QString& folder, const QString& ext);
};
