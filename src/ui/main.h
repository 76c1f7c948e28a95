#pragma once
// The application's one main window and its controller: it owns the settings,
// the progress window and the database interface, runs the startup sequence,
// shows the navigation tree and the read-only record pages, and offers the
// actions that change the model.
#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QMenuBar;
class QSplitter;
class QStackedWidget;
class QStatusBar;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

class TDBInterface;
class TKXControlBlock;
class TKesFSGlobalsCB;
class TfrmProgress;
class TUser;
class TGateway;
class TKXCallGroup;
class TInboundRoute;
class TOutboundRoute;

class TframeWelcome;
class TframeUsers;
class TframeWelcomeGroups;
class TframeTrunks;
class TframeDPGroupDial;
class TframeOutgoing;
class TframeWelcomeUsers;
class TframeExtensionWithVoicemail;
class TframeDialplanWelcome;
class TframeExtensionNoVoicemail;
class TframeTrunkProperties;
class TframeInboundRouteWelcome;
class TframeInboundRouteProperties;
class TframeOutboundRouteWelcome;
class TframeOutboundRouteProperties;
class TframeWelcomeCallGroups;
class TframeCallGroupProperties;

// Page indexes of nbMain.
enum TMainPage {
    pgiWelcome = 0, pgiUsers = 1, pgiWelcomeGroups = 2, pgiTrunksWelcome = 3, pgiDPGroupDial = 4,
    pgiOutgoing = 5, pgiGlobals = 6, pgiWelcomeUsers = 7, pgiExtensionWithVoicemail = 8,
    pgiDialplanWelcome = 9, pgiExtensionNoVoicemail = 10, pgiTrunkProperties = 11,
    pgiInboundRouteWelcome = 12, pgiInboundRouteProperties = 13, pgiOutboundRouteWelcome = 14,
    pgiOutboundRouteProperties = 15, pgiCallGroupsWelcome = 16, pgiCallGroupProperties = 17,
    pgiGlobalsDialplan = 18, pgiGlobalsSIPExtGen = 19, pgiGlobalsSIPExtCodecs = 20,
    pgiGlobalsSIPExtTLS = 21, pgiGlobalsSIPIntGen = 22, pgiGlobalsSIPIntACL = 23,
    pgiGlobalsSIPIntCodecs = 24, pgiGlobalsSIPIntPresence = 25, pgiGlobalsSIPIntSettings = 26,
    pgiGlobalsSIPIntTLS = 27, pgiCount = 28
};

// Section codes of the navigation tree.
enum TTreeSection {
    tsUsers = 10, tsDialplan = 11, tsGroups = 12, tsTrunks = 13, tsInboundRoutes = 14,
    tsOutboundRoutes = 15, tsGlobals = 16, tsGlobalsLast = 26, tsCallGroups = 27
};

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // How the command line may preset the connection: with Preset set the
    // connect dialog is not shown and these values are used instead.
    struct TStartOptions {
        bool Preset = false;
        QString Address;
        QString Domain;
        QString Password;
        QString WorkingDir; // when not empty, becomes the working directory setting
    };
    void SetStartOptions(const TStartOptions& options) { m_startOptions = options; }

    // ---- Components ----------------------------------------------------
    QToolBar* ToolBar1 = nullptr;
    QMenuBar* mnuMain = nullptr;
    QStatusBar* sbMain = nullptr;
    QSplitter* splitMain = nullptr;
    QTreeWidget* tvMain = nullptr;
    QStackedWidget* nbMain = nullptr;
    QMenu* popmnuMain = nullptr;
    QMenu* popmnuDialplan = nullptr;
    QList<QAction*> alMain; // every action of the window

    QAction* actSettings = nullptr;
    QAction* actExit = nullptr;
    QAction* actNewInstall = nullptr;
    QAction* actSetupWizard = nullptr;
    QAction* actChangeIPAddress = nullptr;
    QAction* actGetRootPassword = nullptr;
    QAction* actSave = nullptr;
    QAction* actCommit = nullptr;
    QAction* actHome = nullptr;
    QAction* actWelcomeUsers = nullptr;
    QAction* actWelcomeDialplan = nullptr;
    QAction* actWelcomeGroups = nullptr;
    QAction* actWelcomeTrunks = nullptr;
    QAction* actWelcomeInboundRoutes = nullptr;
    QAction* actWelcomeOutboundRoutes = nullptr;
    QAction* actWelcomeGlobals = nullptr;
    QAction* actWelcomeCallGroups = nullptr;
    QAction* actAddUser = nullptr;
    QAction* actEditUser = nullptr;
    QAction* actDeleteUser = nullptr;
    QAction* actAddDialplanEntry = nullptr;
    QAction* actEditDialplanEntry = nullptr;
    QAction* actDeleteDialplanEntry = nullptr;
    QAction* actAddCallGroup = nullptr;
    QAction* actEditCallGroup = nullptr;
    QAction* actDeleteCallGroup = nullptr;
    QAction* actAddTrunk = nullptr;
    QAction* actEditTrunk = nullptr;
    QAction* actDeleteTrunk = nullptr;
    QAction* actAddInboundRoute = nullptr;
    QAction* actEditInboundRoute = nullptr;
    QAction* actDeleteInboundRoute = nullptr;
    QAction* actAddOutboundRoute = nullptr;
    QAction* actEditOutboundRoute = nullptr;
    QAction* actDeleteOutboundRoute = nullptr;
    QAction* actEdit = nullptr;
    QAction* actHelp = nullptr;
    QAction* actCancel = nullptr;
    QAction* actAddCallgroupMember = nullptr;
    QAction* actRemoveCallgroupMember = nullptr;
    QAction* actAbout = nullptr;

    // Pages of nbMain, in index order, and the frame each one hosts.
    QWidget* Page(int index) const;
    // The heading above a page's frame (record pages name their record).
    void SetPageHeading(int index, const QString& text);
    TframeWelcome* frameWelcome1 = nullptr;
    TframeUsers* frameUsers1 = nullptr;
    TframeWelcomeGroups* frameWelcomeGroups1 = nullptr;
    TframeTrunks* frameTrunks1 = nullptr;
    TframeDPGroupDial* frameDPGroupDial1 = nullptr;
    TframeOutgoing* frameOutgoing1 = nullptr;
    QWidget* frameGlobals1 = nullptr;
    TframeWelcomeUsers* frameWelcomeUsers1 = nullptr;
    TframeExtensionWithVoicemail* frameExtensionWithVoicemail1 = nullptr;
    TframeDialplanWelcome* frameDialplanWelcome1 = nullptr;
    TframeExtensionNoVoicemail* frameExtensionNoVoicemail1 = nullptr;
    TframeTrunkProperties* frameTrunkProperties1 = nullptr;
    TframeInboundRouteWelcome* frameInboundRouteWelcome1 = nullptr;
    TframeInboundRouteProperties* frameInboundRouteProperties1 = nullptr;
    TframeOutboundRouteWelcome* frameOutboundRouteWelcome1 = nullptr;
    TframeOutboundRouteProperties* frameOutboundRouteProperties1 = nullptr;
    TframeWelcomeCallGroups* frameWelcomeCallGroups1 = nullptr;
    TframeCallGroupProperties* frameCallGroupProperties1 = nullptr;

    // ---- Window state --------------------------------------------------
    std::unique_ptr<TKXControlBlock> ControlBlock;
    std::unique_ptr<TKesFSGlobalsCB> FSGlobals;
    TfrmProgress* ProgressWindow = nullptr; // owned through the widget tree
    std::unique_ptr<TDBInterface> DBInterface;
    QString ServerAddress;
    QString ServerDomain;
    QString RootPassword;
    bool FirstActivation = true;
    int CurrentKind = -1;
    int SelectedUserKey = -1;
    int SelectedDialplanKey = -1;
    int SelectedTrunkKey = -1;
    int SelectedInboundKey = -1;
    int SelectedOutboundKey = -1;
    int SelectedCallGroupKey = -1;
    QString SelectedEntryNumber;
    int SelectedEntryType = 0;
    std::unique_ptr<TUser> CurrentUser;
    std::unique_ptr<TGateway> CurrentTrunk;
    std::unique_ptr<TKXCallGroup> CurrentCallGroup;
    std::unique_ptr<TInboundRoute> CurrentInboundRoute;
    std::unique_ptr<TOutboundRoute> CurrentOutboundRoute;

    // True while a download, commit or other server run is under way: every
    // action that would change the model or start another run is disabled.
    bool ServerRunActive() const { return m_serverRuns > 0; }

    // What the last startup could not read or download (empty when all went
    // well); shown once, in one message with this title.
    QStringList StartupProblems;
    static QString ProblemsTitle();

    // ---- Routines ------------------------------------------------------
    // The startup sequence; does nothing after the first call.
    void FormActivate();
    void BuildTree();
    void RebuildTree();
    // The record children of each section: caption and node key, in list order.
    using TNodeList = QList<QPair<QString, int>>;
    TNodeList UserNodes() const;
    TNodeList DialplanNodes() const;
    TNodeList CallGroupNodes() const;
    TNodeList TrunkNodes() const;
    TNodeList InboundRouteNodes() const;
    TNodeList OutboundRouteNodes() const;
    // Selects the first node (in tree order) carrying the key; nothing when none does.
    void SelectNodeByKey(int key);
    // Deletes the first node (in tree order) carrying the key, with its children.
    void RemoveNodeByKey(int key);
    QTreeWidgetItem* FindNodeByKey(int key) const;
    static int RecordIdFromKey(int key);
    static int SectionOfKey(int key);
    void SetStatus(int panel, const QString& text);
    QString StatusText(int panel = 0) const;
    void SetWelcomeTexts();
    void AddFirstRunDefaults();
    // Deletes the first block of lines from the first line containing start up
    // to the next line containing end (letter case ignored), and with trailing
    // the one line after it. Nothing changes when the block is not complete.
    static void RemoveTextBlock(QStringList& lines, const QString& start, bool trailing, const QString& end);
    void ResetSelection();
    void ShowGlobalsPages();
    void ShowUserPage();
    void ShowTrunkPage();
    void ShowInboundRoutePage();
    void ShowOutboundRoutePage();
    void ShowCallGroupPage();
    void ShowDialplanEntryPage();
    void DialplanEntry2Form(int kind, const QString& number);
    void StoreLayout();
    void RestoreLayout();
    // The enabling rules of the actions.
    void alMainUpdate();
    // The global-reference display rule of the user frame.
    QString DisplayGlobalReference(const QString& value) const;

    // Runs a server operation with the progress window shown and every
    // model-changing action disabled until it ends.
    void RunServerOperation(const std::function<void()>& operation);

    // On a change of server address the copy of the previous server is
    // removed, but only from a folder this system created as a working
    // directory (marked) or from its own configuration folder (keeping the
    // settings, the Id counters and the stored pending changes). Nothing is
    // removed when either address is "local". Paths that could not be
    // deleted are added to failures.
    enum TWorkDirOutcome { wdUnchanged, wdEmptied, wdKeptNotOurs };
    static TWorkDirOutcome PrepareWorkingDirForServer(const QString& workingDir, const QString& previousAddress,
                                                      const QString& newAddress, QStringList& failures);

    // The marker file that tells a working directory created by this system.
    static QString WorkingDirMarkerName();
    static void MarkWorkingDir(const QString& dir);
    static bool IsMarkedWorkingDir(const QString& dir);

public slots:
    void tvMainChange(QTreeWidgetItem* node);
    void actHomeExecute();
    void actExitExecute();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    void createMenusAndToolbar();
    void createPages();
    void bindWelcomeButtons();
    bool FormCloseQuery();
    // The connect dialog (or the preset connection); false when cancelled.
    bool ConnectToServer();
    void HandleServerChange(const QString& previousAddress);
    void DownloadConfiguration();
    void LoadRecords();
    void ReportStartupProblems();
    void CheckDefaultPassword();
    // Runs a step; a model failure is shown in a message box and ends the step.
    bool Guarded(const std::function<void()>& step);
    void showTreeContextMenu(const QPoint& pos);

    TStartOptions m_startOptions;
    int m_serverRuns = 0;
    bool m_closingAllowed = false;
    QList<QWidget*> m_pages;
};
