#include "ui/main.h"

#include "core/DBInterface.h"
#include "core/KXCB.h"
#include "core/KesFSGlobalsCB.h"
#include "core/KxError.h"
#include "core/Store.h"
#include "engine/kxVarsXML.h"
#include "records/CallGroup.h"
#include "records/CallGroupList.h"
#include "records/Gateway.h"
#include "records/InboundRoute.h"
#include "records/InboundRouteList.h"
#include "records/OutboundRoute.h"
#include "records/OutboundRouteList.h"
#include "records/User.h"
#include "records/UserList.h"
#include "records/basicdialplanentrylist.h"
#include "records/gatewaylist.h"
#include "ui/connect.h"
#include "ui/fmeCallGroupProperties.h"
#include "ui/fmeDPGroupDial.h"
#include "ui/fmeDialplanWelcome.h"
#include "ui/fmeExtensionNoVoicemail.h"
#include "ui/fmeExtensionWithVoicemail.h"
#include "ui/fmeInboundRouteProperties.h"
#include "ui/fmeInboundRouteWelcome.h"
#include "ui/fmeOutboundRouteProperties.h"
#include "ui/fmeOutboundRouteWelcome.h"
#include "ui/fmeOutgoing.h"
#include "ui/fmePlaceholder.h"
#include "ui/fmeTrunkProperties.h"
#include "ui/fmeTrunks.h"
#include "ui/fmeUsers.h"
#include "ui/fmeWelcome.h"
#include "ui/fmeWelcomeCallGroups.h"
#include "ui/fmeWelcomeGroups.h"
#include "ui/fmeWelcomeUsers.h"
#include "ui/kfsProgress.h"
#include "ui/kxFrame.h"
#include "ui/kxIcons.h"
#include "ui/kxKeyValueGrid.h"
#include "ui/kxMessages.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int KeyRole = Qt::UserRole;

const char* const kPageNames[pgiCount] = {
    "pgWelcome", "pgUsers", "pgWelcomeGroups", "pgTrunksWelcome", "pgDPGroupDial", "pgOutgoing",
    "pgGlobals", "pgWelcomeUsers", "pgExtensionWithVoicemail", "pgDialplanWelcome",
    "pgExtensionNoVoicemail", "pgTrunkProperties", "pgInboundRouteWelcome", "pgInboundRouteProperties",
    "pgOutboundRouteWelcome", "pgOutboundRouteProperties", "pgCallGroupsWelcome", "pgCallGroupProperties",
    "pgGlobalsDialplan", "pgGlobalsSIPExtGen", "pgGlobalsSIPExtCodecs", "pgGlobalsSIPExtTLS",
    "pgGlobalsSIPIntGen", "pgGlobalsSIPIntACL", "pgGlobalsSIPIntCodecs", "pgGlobalsSIPIntPresence",
    "pgGlobalsSIPIntSettings", "pgGlobalsSIPIntTLS"};

// The heading shown above each page's frame.
QString pageHeading(int index)
{
    switch (index) {
    case pgiWelcome: return QStringLiteral("Kestrix");
    case pgiUsers: return QStringLiteral("User");
    case pgiWelcomeGroups: return QStringLiteral("Groups");
    case pgiTrunksWelcome: return QStringLiteral("Trunks");
    case pgiDPGroupDial: return QStringLiteral("Dialplan entry: ring a call group");
    case pgiOutgoing: return QStringLiteral("Dialplan entry: voicemail main menu");
    case pgiGlobals: return QStringLiteral("Global settings");
    case pgiWelcomeUsers: return QStringLiteral("Users");
    case pgiExtensionWithVoicemail: return QStringLiteral("Dialplan entry: extension with voicemail");
    case pgiDialplanWelcome: return QStringLiteral("Dialplan");
    case pgiExtensionNoVoicemail: return QStringLiteral("Dialplan entry: extension without voicemail");
    case pgiTrunkProperties: return QStringLiteral("Trunk");
    case pgiInboundRouteWelcome: return QStringLiteral("Inbound routes");
    case pgiInboundRouteProperties: return QStringLiteral("Inbound route");
    case pgiOutboundRouteWelcome: return QStringLiteral("Outbound routes");
    case pgiOutboundRouteProperties: return QStringLiteral("Outbound route");
    case pgiCallGroupsWelcome: return QStringLiteral("Call groups");
    case pgiCallGroupProperties: return QStringLiteral("Call group");
    case pgiGlobalsDialplan: return QStringLiteral("Globals: Dialplan");
    case pgiGlobalsSIPExtGen: return QStringLiteral("Globals: SIP External General");
    case pgiGlobalsSIPExtCodecs: return QStringLiteral("Globals: SIP External Codecs");
    case pgiGlobalsSIPExtTLS: return QStringLiteral("Globals: SIP External TLS");
    case pgiGlobalsSIPIntGen: return QStringLiteral("Globals: SIP Internal General");
    case pgiGlobalsSIPIntACL: return QStringLiteral("Globals: SIP Internal ACL");
    case pgiGlobalsSIPIntCodecs: return QStringLiteral("Globals: SIP Internal Codecs");
    case pgiGlobalsSIPIntPresence: return QStringLiteral("Globals: SIP Internal Presence");
    case pgiGlobalsSIPIntSettings: return QStringLiteral("Globals: SIP Internal Settings");
    case pgiGlobalsSIPIntTLS: return QStringLiteral("Globals: SIP Internal TLS");
    default: return QString();
    }
}

// The children of the Globals node: key and caption, with the parent key.
struct TGlobalsNode {
    int Key;
    int Parent;
    const char* Caption;
};
const TGlobalsNode kGlobalsNodes[] = {
    {17, 16, "Dialplan"},  {18, 16, "SIP External General"}, {19, 18, "Codecs"},   {20, 18, "TLS"},
    {21, 16, "SIP Internal General"}, {22, 21, "ACL"},       {23, 21, "Codecs"},   {24, 21, "Presence"},
    {25, 21, "Settings"},  {26, 21, "TLS"}};

// CurrentKind of a globals node (16 to 26) and the page it shows.
int globalsKind(int key) { return key == 16 ? 6 : key == 17 ? 7 : key - 18 + 9; }
int globalsPageOfKind(int kind)
{
    if (kind == 6) return pgiGlobals;
    if (kind == 7) return pgiGlobalsDialplan;
    if (kind >= 9 && kind <= 17) return pgiGlobalsSIPExtGen + (kind - 9);
    return -1;
}

const char* const kMarkerText =
    "This folder is a Kestrix working directory: a copy of a FreeSWITCH server's configuration,\n"
    "made by Kestrix. Kestrix empties it when it connects to a different server.\n";

} // namespace

// ---------------------------------------------------------------------------
// Construction

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent)
{
    // FormCreate: the startup sequence runs at the first activation.
    FirstActivation = true;
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Kestrix"));
    setWindowIcon(KxIcons::Image(KxIcons::imgDialplan));
    resize(1000, 660);

    ControlBlock = std::make_unique<TKXControlBlock>();
    FSGlobals = std::make_unique<TKesFSGlobalsCB>();
    CurrentUser = std::make_unique<TUser>();
    CurrentTrunk = std::make_unique<TGateway>();
    CurrentCallGroup = std::make_unique<TKXCallGroup>();
    CurrentInboundRoute = std::make_unique<TInboundRoute>();
    CurrentOutboundRoute = std::make_unique<TOutboundRoute>();

    createActions();
    createPages();
    createMenusAndToolbar();
    bindWelcomeButtons();

    ProgressWindow = new TfrmProgress(this);
    ProgressWindow->hide();

    // The enabling rules run whenever the application is about to wait for
    // input, as an idle-time update would.
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TfrmMain::alMainUpdate);
    alMainUpdate();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::createActions()
{
    auto make = [this](const char* name, const QString& caption, const QString& hint, int image) {
        auto* a = new QAction(caption, this);
        a->setObjectName(QString::fromLatin1(name));
        if (!hint.isEmpty()) {
            a->setToolTip(hint);
            a->setStatusTip(hint);
        }
        if (image >= 0) a->setIcon(KxIcons::Image(image));
        alMain << a;
        return a;
    };
    using namespace KxIcons;
    actSettings = make("actSettings", tr("Settings"), QString(), imgSettings);
    actExit = make("actExit", tr("E&xit"), tr("Exit"), imgExit);
    actNewInstall = make("actNewInstall", tr("New install"), QString(), -1);
    actSetupWizard = make("actSetupWizard", tr("actSetupWizard"), QString(), imgEditTrunk);
    actChangeIPAddress = make("actChangeIPAddress", tr("Change IP Address"), QString(), -1);
    actGetRootPassword = make("actGetRootPassword", tr("Set root password"), QString(), -1);
    actSave = make("actSave", tr("Save"), QString(), imgSave);
    actCommit = make("actCommit", tr("Commit"), tr("Commit changes to live system"), imgCommit);
    actHome = make("actHome", tr("Home"), tr("Goto Home"), imgHome);
    actWelcomeUsers = make("actWelcomeUsers", tr("Users"), QString(), imgUsers);
    actWelcomeDialplan = make("actWelcomeDialplan", tr("Dialplan"), QString(), imgDialplan);
    actWelcomeGroups = make("actWelcomeGroups", tr("Groups"), QString(), imgGroups);
    actWelcomeTrunks = make("actWelcomeTrunks", tr("Trunks"), QString(), imgTrunks);
    actWelcomeInboundRoutes = make("actWelcomeInboundRoutes", tr("Inbound Routes"), QString(), imgInbound);
    actWelcomeOutboundRoutes = make("actWelcomeOutboundRoutes", tr("Outbound Routes"), QString(), imgOutbound);
    actWelcomeGlobals = make("actWelcomeGlobals", tr("Globals"), tr("Show global settings"), imgGlobals);
    actWelcomeCallGroups = make("actWelcomeCallGroups", tr("Call Groups"), QString(), imgGroups);
    actAddUser = make("actAddUser", tr("Add User"), tr("Add a new user"), imgAddUser);
    actEditUser = make("actEditUser", tr("Edit User"), QString(), imgEditUser);
    actDeleteUser = make("actDeleteUser", tr("Delete User"), tr("Delete currently selected user"), imgDeleteUser);
    actAddDialplanEntry = make("actAddDialplanEntry", tr("Add dialplan"), tr("Add Dialplan Entry"), imgAddDialplan);
    actEditDialplanEntry = make("actEditDialplanEntry", tr("Edit Dialplan"), QString(), imgEditDialplan);
    actDeleteDialplanEntry =
        make("actDeleteDialplanEntry", tr("Delete Dialplan"), tr("Delete Dialplan Entry"), imgDeleteDialplan);
    actAddCallGroup = make("actAddCallGroup", tr("Add Call Group"), tr("Add CallGroup"), imgAddCallGroup);
    actEditCallGroup = make("actEditCallGroup", tr("Edit Call Group"), QString(), imgEditCallGroup);
    actDeleteCallGroup = make("actDeleteCallGroup", tr("Delete CallGroup"), tr("Delete CallGroup"), imgDeleteCallGroup);
    actAddTrunk = make("actAddTrunk", tr("Add trunk"), tr("Add trunk"), imgAddTrunk);
    actEditTrunk = make("actEditTrunk", tr("Edit Trunk"), QString(), imgEditTrunk);
    actDeleteTrunk = make("actDeleteTrunk", tr("Delete trunk"), tr("Delete trunk"), imgDeleteTrunk);
    actAddInboundRoute = make("actAddInboundRoute", tr("Add Inbound Route"), tr("Add inbound route"), imgAddInbound);
    actEditInboundRoute = make("actEditInboundRoute", tr("Edit Inbound Route"), QString(), imgEditInbound);
    actDeleteInboundRoute =
        make("actDeleteInboundRoute", tr("Delete Inbound Route"), tr("Delete inbound route"), imgDeleteInbound);
    actAddOutboundRoute =
        make("actAddOutboundRoute", tr("Add Outbound Route"), tr("Add outbound route"), imgAddOutbound);
    actEditOutboundRoute = make("actEditOutboundRoute", tr("Edit Outbound Route"), QString(), imgEditOutbound);
    actDeleteOutboundRoute =
        make("actDeleteOutboundRoute", tr("Delete Outbound Route"), tr("Delete oubound route"), imgDeleteOutbound);
    actEdit = make("actEdit", tr("Edit"), QString(), -1);
    actHelp = make("actHelp", tr("Help"), QString(), imgHelp);
    actCancel = make("actCancel", tr("Cancel"), QString(), -1);
    actAddCallgroupMember = make("actAddCallgroupMember", tr("Add"), QString(), -1);
    actRemoveCallgroupMember = make("actRemoveCallgroupMember", tr("Remove"), QString(), -1);
    actAbout = make("actAbout", tr("About"), QString(), imgHelp);

    connect(actHome, &QAction::triggered, this, &TfrmMain::actHomeExecute);
    connect(actExit, &QAction::triggered, this, &TfrmMain::actExitExecute);
    connect(actNewInstall, &QAction::triggered, actSetupWizard, &QAction::trigger);
    const struct {
        QAction* action;
        int key;
    } welcome[] = {{actWelcomeUsers, tsUsers},
                   {actWelcomeDialplan, tsDialplan},
                   {actWelcomeGroups, tsGroups},
                   {actWelcomeTrunks, tsTrunks},
                   {actWelcomeInboundRoutes, tsInboundRoutes},
                   {actWelcomeOutboundRoutes, tsOutboundRoutes},
                   {actWelcomeGlobals, tsGlobals},
                   {actWelcomeCallGroups, tsCallGroups}};
    for (const auto& w : welcome) {
        const int key = w.key;
        connect(w.action, &QAction::triggered, this, [this, key] { SelectNodeByKey(key); });
    }
}

void TfrmMain::createMenusAndToolbar()
{
    mnuMain = menuBar();
    mnuMain->setObjectName(QStringLiteral("mnuMain"));
    QMenu* file = mnuMain->addMenu(tr("File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    file->addAction(actExit);
    // A menu bar item shows an action's picture instead of its caption, so
    // the bar carries a caption-only twin of actSettings.
    auto* settingsItem = mnuMain->addAction(actSettings->text());
    settingsItem->setObjectName(QStringLiteral("mnuSettings"));
    connect(settingsItem, &QAction::triggered, actSettings, &QAction::trigger);
    connect(actSettings, &QAction::changed, settingsItem,
            [this, settingsItem] { settingsItem->setEnabled(actSettings->isEnabled()); });
    QMenu* admin = mnuMain->addMenu(tr("Administration"));
    admin->setObjectName(QStringLiteral("mnuAdministration"));
    admin->addAction(actNewInstall);
    admin->addAction(actChangeIPAddress);
    QMenu* help = mnuMain->addMenu(tr("Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->addAction(actAbout);

    ToolBar1 = addToolBar(tr("Main"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(24, 24));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const QList<QList<QAction*>> groups = {
        {actAddUser, actEditUser},
        {actHome},
        {actAddDialplanEntry, actDeleteDialplanEntry},
        {actAddCallGroup, actDeleteCallGroup},
        {actSave, actCommit},
        {actDeleteUser, actEditDialplanEntry, actEditCallGroup},
        {actAddTrunk, actEditTrunk, actDeleteTrunk},
        {actAddInboundRoute, actEditInboundRoute, actDeleteInboundRoute},
        {actAddOutboundRoute, actEditOutboundRoute, actDeleteOutboundRoute}};
    for (int g = 0; g < groups.size(); ++g) {
        if (g > 0) ToolBar1->addSeparator();
        for (QAction* a : groups[g]) ToolBar1->addAction(a);
    }

    sbMain = statusBar();
    sbMain->setObjectName(QStringLiteral("sbMain"));
    auto* panel = new QLabel(sbMain);
    panel->setObjectName(QStringLiteral("sbMainPanel0"));
    panel->setMinimumWidth(50);
    sbMain->addWidget(panel, 1);

    popmnuMain = new QMenu(this);
    popmnuMain->setObjectName(QStringLiteral("popmnuMain"));
    const QList<QList<QAction*>> popGroups = {
        {actAddUser, actEditUser, actDeleteUser},
        {actAddDialplanEntry, actEditDialplanEntry, actDeleteDialplanEntry},
        {actAddCallGroup, actEditCallGroup, actDeleteCallGroup},
        {actAddTrunk, actEditTrunk, actDeleteTrunk},
        {actAddInboundRoute, actEditInboundRoute, actDeleteInboundRoute},
        {actAddOutboundRoute, actEditOutboundRoute, actDeleteOutboundRoute}};
    for (int g = 0; g < popGroups.size(); ++g) {
        if (g > 0) popmnuMain->addSeparator();
        for (QAction* a : popGroups[g]) popmnuMain->addAction(a);
    }
    popmnuDialplan = new QMenu(this);
    popmnuDialplan->setObjectName(QStringLiteral("popmnuDialplan"));
    popmnuDialplan->addAction(actEditDialplanEntry);
    popmnuDialplan->addAction(actDeleteDialplanEntry);
}

QWidget* TfrmMain::Page(int index) const { return m_pages.value(index); }

void TfrmMain::SetPageHeading(int index, const QString& text)
{
    if (QWidget* page = Page(index))
        if (auto* heading = page->findChild<QLabel*>(QStringLiteral("lblHeading"))) heading->setText(text);
}

void TfrmMain::createPages()
{
    tvMain = new QTreeWidget(this);
    tvMain->setObjectName(QStringLiteral("tvMain"));
    tvMain->setHeaderHidden(true);
    tvMain->setColumnCount(1);
    tvMain->setRootIsDecorated(true);
    tvMain->setIconSize(QSize(16, 16));
    tvMain->setUniformRowHeights(true);
    tvMain->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvMain->setSelectionMode(QAbstractItemView::SingleSelection);
    tvMain->setContextMenuPolicy(Qt::CustomContextMenu);
    // Long record names scroll sideways rather than being cut off.
    tvMain->header()->setStretchLastSection(false);
    tvMain->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tvMain->setTextElideMode(Qt::ElideNone);
    // Never narrower than the section captions (the deepest is two levels down).
    tvMain->setMinimumWidth(tvMain->fontMetrics().horizontalAdvance(QStringLiteral("SIP External General"))
                            + 2 * tvMain->indentation() + 16 + 40);
    connect(tvMain, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { tvMainChange(current); });
    connect(tvMain, &QWidget::customContextMenuRequested, this, &TfrmMain::showTreeContextMenu);

    nbMain = new QStackedWidget(this);
    nbMain->setObjectName(QStringLiteral("nbMain"));

    frameWelcome1 = new TframeWelcome;
    frameUsers1 = new TframeUsers;
    frameWelcomeGroups1 = new TframeWelcomeGroups;
    frameTrunks1 = new TframeTrunks;
    frameDPGroupDial1 = new TframeDPGroupDial;
    frameOutgoing1 = new TframeOutgoing;
    frameGlobals1 = new TframePlaceholder(QStringLiteral("Global settings"));
    frameWelcomeUsers1 = new TframeWelcomeUsers;
    frameExtensionWithVoicemail1 = new TframeExtensionWithVoicemail;
    frameDialplanWelcome1 = new TframeDialplanWelcome;
    frameExtensionNoVoicemail1 = new TframeExtensionNoVoicemail;
    frameTrunkProperties1 = new TframeTrunkProperties;
    frameInboundRouteWelcome1 = new TframeInboundRouteWelcome;
    frameInboundRouteProperties1 = new TframeInboundRouteProperties;
    frameOutboundRouteWelcome1 = new TframeOutboundRouteWelcome;
    frameOutboundRouteProperties1 = new TframeOutboundRouteProperties;
    frameWelcomeCallGroups1 = new TframeWelcomeCallGroups;
    frameCallGroupProperties1 = new TframeCallGroupProperties;

    QWidget* frames[pgiCount] = {frameWelcome1,
                                 frameUsers1,
                                 frameWelcomeGroups1,
                                 frameTrunks1,
                                 frameDPGroupDial1,
                                 frameOutgoing1,
                                 frameGlobals1,
                                 frameWelcomeUsers1,
                                 frameExtensionWithVoicemail1,
                                 frameDialplanWelcome1,
                                 frameExtensionNoVoicemail1,
                                 frameTrunkProperties1,
                                 frameInboundRouteWelcome1,
                                 frameInboundRouteProperties1,
                                 frameOutboundRouteWelcome1,
                                 frameOutboundRouteProperties1,
                                 frameWelcomeCallGroups1,
                                 frameCallGroupProperties1};
    const char* const frameNames[18] = {
        "frameWelcome1", "frameUsers1", "frameWelcomeGroups1", "frameTrunks1", "frameDPGroupDial1",
        "frameOutgoing1", "frameGlobals1", "frameWelcomeUsers1", "frameExtensionWithVoicemail1",
        "frameDialplanWelcome1", "frameExtensionNoVoicemail1", "frameTrunkProperties1",
        "frameInboundRouteWelcome1", "frameInboundRouteProperties1", "frameOutboundRouteWelcome1",
        "frameOutboundRouteProperties1", "frameWelcomeCallGroups1", "frameCallGroupProperties1"};
    const char* const globalsFrameNames[10] = {
        "frameGlobalsDialplan1", "frameGlobalsSIPExtGen1", "frameGlobalsSIPExtCodecs1",
        "frameGlobalsSIPExtTLS1", "frameGlobalsSIPInt1", "frameGlobalsSIPIntACL1",
        "frameGlobalsSIPIntCodecs1", "frameGlobalsSIPIntPresence1", "frameGlobalsSIPIntSettings1",
        "frameGlobalsSIPIntTLS1"};
    for (int i = 0; i < 18; ++i) frames[i]->setObjectName(QString::fromLatin1(frameNames[i]));
    for (int i = pgiGlobalsDialplan; i < pgiCount; ++i) {
        frames[i] = new TframePlaceholder(pageHeading(i));
        frames[i]->setObjectName(QString::fromLatin1(globalsFrameNames[i - pgiGlobalsDialplan]));
    }

    for (int i = 0; i < pgiCount; ++i) {
        // Each page scrolls when the window is smaller than its frame.
        auto* page = new QScrollArea;
        page->setObjectName(QString::fromLatin1(kPageNames[i]));
        page->setWidgetResizable(true);
        page->setFrameShape(QFrame::NoFrame);
        auto* body = new QWidget;
        body->setObjectName(QString::fromLatin1(kPageNames[i]) + QStringLiteral("Body"));
        auto* layout = new QVBoxLayout(body);
        layout->setContentsMargins(14, 10, 14, 10);
        layout->setSpacing(8);
        if (i != pgiWelcome && i != pgiGlobals && i < pgiGlobalsDialplan) {
            auto* heading = new QLabel(pageHeading(i), body);
            heading->setObjectName(QStringLiteral("lblHeading"));
            QFont f = heading->font();
            f.setBold(true);
            f.setPointSizeF(f.pointSizeF() * 1.25);
            heading->setFont(f);
            layout->addWidget(heading);
        }
        layout->addWidget(frames[i], 1);
        page->setWidget(body);
        nbMain->addWidget(page);
        m_pages << page;
    }

    // The pages show records with their controls disabled: the disabled
    // text is kept dark enough to read.
    QPalette pal = nbMain->palette();
    pal.setColor(QPalette::Disabled, QPalette::Text, QColor(0x40, 0x40, 0x40));
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x40, 0x40, 0x40));
    pal.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x40, 0x40, 0x40));
    pal.setColor(QPalette::Disabled, QPalette::Base, QColor(0xf7, 0xf7, 0xf7));
    nbMain->setPalette(pal);

    // Record pages are views: their input controls never accept input here.
    frameUsers1->SetEditable(false);
    frameExtensionWithVoicemail1->SetEditable(false);
    frameExtensionNoVoicemail1->SetEditable(false);
    frameDPGroupDial1->SetEditable(false);
    frameOutgoing1->SetEditable(false);
    frameTrunkProperties1->SetEditable(false);
    frameInboundRouteProperties1->SetEditable(false);
    frameOutboundRouteProperties1->SetEditable(false);
    frameCallGroupProperties1->SetEditable(false);

    splitMain = new QSplitter(Qt::Horizontal, this);
    splitMain->setObjectName(QStringLiteral("splitMain"));
    splitMain->addWidget(tvMain);
    splitMain->addWidget(nbMain);
    splitMain->setStretchFactor(0, 0);
    splitMain->setStretchFactor(1, 1);
    splitMain->setChildrenCollapsible(false);
    splitMain->setSizes({200, 800});
    setCentralWidget(splitMain);
    nbMain->setCurrentIndex(pgiWelcome);
}

void TfrmMain::bindWelcomeButtons()
{
    const struct {
        QToolButton* button;
        QAction* action;
    } binds[] = {{frameWelcome1->btnWelcomeUsers, actWelcomeUsers},
                 {frameWelcome1->btnWelcomeDialplan, actWelcomeDialplan},
                 {frameWelcome1->btnWelcomeGroups, actWelcomeGroups},
                 {frameWelcome1->btnWelcomeTrunks, actWelcomeTrunks},
                 {frameWelcome1->btnWelcomeInboundRoutes, actWelcomeInboundRoutes},
                 {frameWelcome1->btnWelcomeOutboundRoutes, actWelcomeOutboundRoutes},
                 {frameWelcome1->btnWelcomeGlobals, actWelcomeGlobals},
                 {frameWelcomeUsers1->btnWelcome, actAddUser},
                 {frameDialplanWelcome1->btnWelcome, actAddDialplanEntry},
                 {frameWelcomeGroups1->btnWelcome, actWelcomeGroups},
                 {frameWelcomeCallGroups1->btnWelcome, actAddCallGroup},
                 {frameTrunks1->btnWelcome, actAddTrunk},
                 {frameInboundRouteWelcome1->btnWelcome, actAddInboundRoute},
                 {frameOutboundRouteWelcome1->btnWelcome, actAddOutboundRoute}};
    for (const auto& b : binds) {
        b.button->setDefaultAction(b.action);
        b.button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
}

// ---------------------------------------------------------------------------
// Status bar, layout, texts

void TfrmMain::SetStatus(int panel, const QString& text)
{
    if (panel != 0) return; // the status bar has one panel
    auto* label = sbMain->findChild<QLabel*>(QStringLiteral("sbMainPanel0"));
    label->setText(text);
    label->repaint();
}

QString TfrmMain::StatusText(int panel) const
{
    if (panel != 0) return {};
    return sbMain->findChild<QLabel*>(QStringLiteral("sbMainPanel0"))->text();
}

void TfrmMain::RestoreLayout()
{
    const int total = qMax(splitMain->width(), width() - 20);
    const int left = qBound(100, ControlBlock->SplitterPos, qMax(100, total - 200));
    splitMain->setSizes({left, qMax(200, total - left)});
    frameOutboundRouteProperties1->vleOutboundRouteOptions->SetKeyColWidth(ControlBlock->OutboundRouteKeyColWidth);
    frameTrunkProperties1->vleTrunkProperties->SetKeyColWidth(ControlBlock->TrunkKeyColWidth);
}

void TfrmMain::StoreLayout()
{
    ControlBlock->LoadFromFile();
    ControlBlock->OutboundRouteKeyColWidth = frameOutboundRouteProperties1->vleOutboundRouteOptions->KeyColWidth();
    ControlBlock->TrunkKeyColWidth = frameTrunkProperties1->vleTrunkProperties->KeyColWidth();
    ControlBlock->SplitterPos = splitMain->sizes().value(0, ControlBlock->SplitterPos);
    ControlBlock->SaveToFile();
}

void TfrmMain::SetWelcomeTexts()
{
    using KxFrame::SetMemoText;
    SetMemoText(frameWelcome1->memWelcome,
                QStringLiteral("\rWelcome to Kestrix.\r\rKestrix is a software PBX which uses the enterprise "
                               "class, FreeSWITCH telephony engine at it's core.\r\rKestrix aims to have all "
                               "of the features that you would expect from a traditional PBX, at a fraction "
                               "of the cost\r\rPlease navigate the tree on the left, or by clicking on the "
                               "buttons below."));
    SetMemoText(frameWelcome1->memWelcomePageUsers,
                QStringLiteral("This is the place where all of the Users (phones) are configured."));
    SetMemoText(frameWelcome1->memWelcomePageDialplan,
                QStringLiteral("This is the place where all of the Dialplan entries are configured.\re.g. "
                               "When somebody dials the number XXX, what actually happens?"));
    SetMemoText(frameWelcome1->memWelcomePageGroups,
                QStringLiteral("This is the place where all of the Groups are configured.\re.g. Hunt and "
                               "Pickup groups."));
    SetMemoText(frameWelcome1->memWelcomePageTrunks,
                QStringLiteral("This is the place where all of the Trunks are configured.\re.g. SIP Trunks "
                               "that will connect to a SIP provider."));
    SetMemoText(frameWelcome1->memWelcomePageInboundRoutes,
                QStringLiteral("This is the place where Inbound Routes are configured.\re.g. When an outside "
                               "caller rings our external number, what happens?"));
    SetMemoText(frameWelcome1->memWelcomePageOutboundRoutes,
                QStringLiteral("This is the place where Outbound Routes are configured.\re.g. Dial 9 for an "
                               "outside line and then an external number"));
    SetMemoText(frameWelcome1->memWelcomePageGlobals,
                QStringLiteral("This is the place where system wide globals are configured.\re.g. Default "
                               "password, Country, Outbound caller ID"));
}

// ---------------------------------------------------------------------------
// Navigation tree

int TfrmMain::SectionOfKey(int key) { return QString::number(key).left(2).toInt(); }

int TfrmMain::RecordIdFromKey(int key) { return QString::number(key).mid(2).toInt(); }

void TfrmMain::BuildTree()
{
    // Selecting while building would refill pages for nothing; the tree is
    // built silently and ends with no node selected.
    const QSignalBlocker block(tvMain);
    tvMain->setUpdatesEnabled(false);

    auto section = [this](int code, const QString& caption, int image) {
        auto* node = new QTreeWidgetItem(tvMain, QStringList(caption));
        node->setData(0, KeyRole, code);
        node->setIcon(0, KxIcons::Image(image));
        node->setToolTip(0, caption);
        return node;
    };
    auto child = [](QTreeWidgetItem* parent, const QString& caption, int key) {
        auto* node = new QTreeWidgetItem(parent, QStringList(caption));
        node->setData(0, KeyRole, key);
        node->setIcon(0, parent->icon(0));
        node->setToolTip(0, caption);
        return node;
    };

    using namespace KxIcons;
    QTreeWidgetItem* users = section(tsUsers, tr("Users"), imgUsers);
    for (const auto& [caption, key] : UserNodes()) child(users, caption, key);
    QTreeWidgetItem* dialplan = section(tsDialplan, tr("Dialplan"), imgDialplan);
    for (const auto& [caption, key] : DialplanNodes()) child(dialplan, caption, key);
    QTreeWidgetItem* groups = section(tsGroups, tr("Groups"), imgGroups);
    QTreeWidgetItem* callGroups = child(groups, tr("CallGroups"), tsCallGroups);
    for (const auto& [caption, key] : CallGroupNodes()) child(callGroups, caption, key);
    QTreeWidgetItem* trunks = section(tsTrunks, tr("Trunks"), imgTrunks);
    for (const auto& [caption, key] : TrunkNodes()) child(trunks, caption, key);
    QTreeWidgetItem* inbound = section(tsInboundRoutes, tr("Inbound routes"), imgInbound);
    for (const auto& [caption, key] : InboundRouteNodes()) child(inbound, caption, key);
    QTreeWidgetItem* outbound = section(tsOutboundRoutes, tr("Outbound routes"), imgOutbound);
    for (const auto& [caption, key] : OutboundRouteNodes()) child(outbound, caption, key);
    QTreeWidgetItem* globals = section(tsGlobals, tr("Globals"), imgGlobals);
    QHash<int, QTreeWidgetItem*> globalsByKey{{tsGlobals, globals}};
    for (const TGlobalsNode& g : kGlobalsNodes)
        globalsByKey[g.Key] = child(globalsByKey.value(g.Parent), QString::fromLatin1(g.Caption), g.Key);

    tvMain->expandAll();
    tvMain->setCurrentItem(nullptr);
    tvMain->clearSelection();
    tvMain->setUpdatesEnabled(true);
}

void TfrmMain::RebuildTree()
{
    {
        const QSignalBlocker block(tvMain);
        tvMain->clear();
    }
    BuildTree();
}

QTreeWidgetItem* TfrmMain::FindNodeByKey(int key) const
{
    QTreeWidgetItemIterator it(tvMain);
    for (; *it; ++it)
        if ((*it)->data(0, KeyRole).toInt() == key) return *it;
    return nullptr;
}

void TfrmMain::SelectNodeByKey(int key)
{
    QTreeWidgetItem* node = FindNodeByKey(key);
    if (!node) return;
    if (tvMain->currentItem() == node) {
        // Already current: show its page again (the Home page may be in front).
        tvMainChange(node);
        return;
    }
    tvMain->setCurrentItem(node);
}

void TfrmMain::RemoveNodeByKey(int key)
{
    QTreeWidgetItem* node = FindNodeByKey(key);
    if (!node) return;
    const QSignalBlocker block(tvMain);
    delete node;
}

void TfrmMain::ResetSelection()
{
    SelectedUserKey = -1;
    SelectedDialplanKey = -1;
    SelectedTrunkKey = -1;
    SelectedInboundKey = -1;
    SelectedOutboundKey = -1;
    SelectedCallGroupKey = -1;
}

void TfrmMain::tvMainChange(QTreeWidgetItem* node)
{
    if (!node) return;
    const int data = node->data(0, KeyRole).toInt();
    const int section = SectionOfKey(data);
    Guarded([&] {
        switch (section) {
        case tsUsers:
            CurrentKind = 0;
            ResetSelection();
            SelectedUserKey = data;
            if (data == tsUsers) nbMain->setCurrentIndex(pgiWelcomeUsers);
            else ShowUserPage();
            break;
        case tsDialplan:
            CurrentKind = 1;
            ResetSelection();
            SelectedDialplanKey = data;
            if (data == tsDialplan) nbMain->setCurrentIndex(pgiDialplanWelcome);
            else ShowDialplanEntryPage();
            break;
        case tsGroups:
            CurrentKind = 2;
            ResetSelection();
            nbMain->setCurrentIndex(pgiWelcomeGroups);
            break;
        case tsTrunks:
            CurrentKind = 3;
            ResetSelection();
            SelectedTrunkKey = data;
            if (data == tsTrunks) nbMain->setCurrentIndex(pgiTrunksWelcome);
            else ShowTrunkPage();
            break;
        case tsInboundRoutes:
            CurrentKind = 4;
            ResetSelection();
            SelectedInboundKey = data;
            if (data == tsInboundRoutes) nbMain->setCurrentIndex(pgiInboundRouteWelcome);
            else ShowInboundRoutePage();
            break;
        case tsOutboundRoutes:
            CurrentKind = 5;
            ResetSelection();
            SelectedOutboundKey = data;
            if (data == tsOutboundRoutes) nbMain->setCurrentIndex(pgiOutboundRouteWelcome);
            else ShowOutboundRoutePage();
            break;
        case tsCallGroups:
            CurrentKind = 8;
            ResetSelection();
            SelectedCallGroupKey = data;
            if (data == tsCallGroups) nbMain->setCurrentIndex(pgiCallGroupsWelcome);
            else ShowCallGroupPage();
            break;
        default:
            if (data >= tsGlobals && data <= tsGlobalsLast) {
                CurrentKind = globalsKind(data);
                ResetSelection();
                ShowGlobalsPages();
            }
            break;
        }
    });
    alMainUpdate();
}

void TfrmMain::showTreeContextMenu(const QPoint& pos)
{
    QTreeWidgetItem* node = tvMain->itemAt(pos);
    if (node && node != tvMain->currentItem()) tvMain->setCurrentItem(node);
    alMainUpdate();
    const bool dialplanEntry = node && SectionOfKey(node->data(0, KeyRole).toInt()) == tsDialplan
                               && node->data(0, KeyRole).toInt() != tsDialplan;
    QMenu* menu = dialplanEntry ? popmnuDialplan : popmnuMain;
    menu->popup(tvMain->viewport()->mapToGlobal(pos));
}

// ---------------------------------------------------------------------------
// Pages

void TfrmMain::ShowGlobalsPages()
{
    const int page = globalsPageOfKind(CurrentKind);
    if (page >= 0) nbMain->setCurrentIndex(page);
}

// ---------------------------------------------------------------------------
// Enabling rules

void TfrmMain::alMainUpdate()
{
    if (!actCommit) return;
    const bool idle = !ServerRunActive();
    const bool pending = DBInterface && DBInterface->FilesNeedingCommiting->Count() > 0;
    actCommit->setEnabled(idle && pending);

    const bool user = SelectedUserKey > tsUsers && CurrentKind == 0;
    const bool dialplan = SelectedDialplanKey > tsDialplan && CurrentKind == 1;
    const bool callGroup = SelectedCallGroupKey > tsCallGroups && CurrentKind == 8;
    const bool trunk = SelectedTrunkKey > tsTrunks && CurrentKind == 3;
    const bool inbound = SelectedInboundKey > tsInboundRoutes && CurrentKind == 4;
    const bool outbound = SelectedOutboundKey > tsOutboundRoutes && CurrentKind == 5;
    actEditUser->setEnabled(idle && user);
    actDeleteUser->setEnabled(idle && user);
    actEditDialplanEntry->setEnabled(idle && dialplan);
    actDeleteDialplanEntry->setEnabled(idle && dialplan);
    actEditCallGroup->setEnabled(idle && callGroup);
    actDeleteCallGroup->setEnabled(idle && callGroup);
    actEditTrunk->setEnabled(idle && trunk);
    actDeleteTrunk->setEnabled(idle && trunk);
    actEditInboundRoute->setEnabled(idle && inbound);
    actDeleteInboundRoute->setEnabled(idle && inbound);
    actEditOutboundRoute->setEnabled(idle && outbound);
    actDeleteOutboundRoute->setEnabled(idle && outbound);
    actCancel->setEnabled(false);

    // While a server run is under way nothing may change the model or start
    // another run (two runs would write the same transfer script at once).
    for (QAction* a : {actAddUser, actAddDialplanEntry, actAddCallGroup, actAddTrunk, actAddInboundRoute,
                       actAddOutboundRoute, actSave, actSettings, actNewInstall, actSetupWizard,
                       actChangeIPAddress, actGetRootPassword, actExit, actEdit, actAddCallgroupMember,
                       actRemoveCallgroupMember})
        a->setEnabled(idle);
}

void TfrmMain::RunServerOperation(const std::function<void()>& operation)
{
    ++m_serverRuns;
    alMainUpdate();
    ProgressWindow->BeginRun();
    ProgressWindow->show();
    ProgressWindow->raise();
    struct TEnd {
        TfrmMain* w;
        ~TEnd()
        {
            w->ProgressWindow->EndRun();
            --w->m_serverRuns;
            w->alMainUpdate();
        }
    } end{this};
    operation();
}

// ---------------------------------------------------------------------------
// Working directory marker

QString TfrmMain::WorkingDirMarkerName() { return QStringLiteral(".kestrix-working-dir"); }

void TfrmMain::MarkWorkingDir(const QString& dir)
{
    Store::WriteFileAtomically(Store::WithTrailingDelimiter(dir) + WorkingDirMarkerName(),
                               QByteArray(kMarkerText));
}

bool TfrmMain::IsMarkedWorkingDir(const QString& dir)
{
    return QFileInfo::exists(Store::WithTrailingDelimiter(dir) + WorkingDirMarkerName());
}

// ---------------------------------------------------------------------------
// First-run defaults

void TfrmMain::RemoveTextBlock(QStringList& lines, const QString& start, bool trailing, const QString& end)
{
    int first = -1;
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].contains(start, Qt::CaseInsensitive)) {
            first = i;
            break;
        }
    if (first < 0) return;
    int last = -1;
    for (int i = first; i < lines.size(); ++i)
        if (lines[i].contains(end, Qt::CaseInsensitive)) {
            last = i;
            break;
        }
    if (last < 0) return;
    int count = last - first + 1;
    if (trailing && last + 1 < lines.size()) ++count;
    lines.remove(first, count);
}

// ---------------------------------------------------------------------------
// Helpers

bool TfrmMain::Guarded(const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (const EKXError& e) {
        KxUi::ShowError(this, e.Message);
    } catch (const std::exception& e) {
        KxUi::ShowError(this, QString::fromLocal8Bit(e.what()));
    }
    return false;
}

void TfrmMain::actHomeExecute() { nbMain->setCurrentIndex(pgiWelcome); }

void TfrmMain::actExitExecute() { close(); }

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (FirstActivation) QMetaObject::invokeMethod(this, &TfrmMain::FormActivate, Qt::QueuedConnection);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (FormCloseQuery()) event->accept();
    else event->ignore();
}
