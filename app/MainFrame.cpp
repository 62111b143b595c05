#include "MainFrame.h"

#include "AlphaToolBar.h"
#include "CoolDialogBar.h"
#include "EditedCard.h"
#include "EntryCommands.h"
#include "MenuBar.h"
#include "MenuTable.h"
#include "ModifyPasswordDialog.h"
#include "Resource.h"
#include "ShellIcons.h"
#include "ShellTexts.h"
#include "StringTable.h"
#include "TreeCommands.h"
#include "TreeDialog.h"
#include "ZelvoDoc.h"
#include "ZelvoView.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QShortcut>
#include <QStatusBar>
#include <QTreeWidget>
#include <QUrl>

#include <cstdint>

namespace {

constexpr int TREE_DIALOG_WIDTH = 180;
// Child, visible, clipping siblings and children, aligned left, right border, dynamic size.
constexpr std::uint32_t TREE_BAR_STYLE = 0x56001404;
// The frame's own tool bar sizes, which replace the ones the template gives.
constexpr QSize TOOL_BUTTON_SIZE(42, 40);
constexpr QSize TOOL_IMAGE_SIZE(32, 32);
constexpr int PATH_PANE_WIDTH = 160;
constexpr int FREE_SPACE_PANE_WIDTH = 200;
constexpr int EMPTY_PANE_WIDTH = 40;

QLabel* MakePane(const QString& text, const QString& name, int width)
{
    auto* pane = new QLabel(text);
    pane->setObjectName(name);
    pane->setFixedWidth(width);
    return pane;
}

}  // namespace

CMainFrame::CMainFrame(CZelvoDoc* pDocument, const CCommandTable& appCommands, QWidget* parent)
    : QMainWindow(parent),
      m_pDocument(pDocument),
      m_pView(new CZelvoView(pDocument, m_router)),
      m_pEntryCommands(new CEntryCommands(m_pView, pDocument, this)),
      m_wndToolBar(new CAlphaToolBar(this)),
      m_wndMenuBar(new CMenuBar(this)),
      m_wndTreeBar(new CCoolDialogBar),
      m_treeDialog(new CTreeDialog(m_router)),
      m_pTreeCommands(new CTreeCommands(m_treeDialog, pDocument, this))
{
    setObjectName(QStringLiteral("MainFrame"));
    setWindowIcon(ShellIcon(IDI_APPLICATION_ICON));
    setAcceptDrops(true);

    m_commands.Add(ID_VIEW_DEVICE_TREE, [this] { OnViewDeviceTree(); }, {},
                   [this] { return !m_wndTreeBar->isHidden(); });
    m_commands.Add(ID_VIEW_TOOLBAR, [this] { OnViewToolBar(); }, {},
                   [this] { return !m_wndToolBar->isHidden(); });
    m_commands.Add(ID_VIEW_STATUS_BAR, [this] { OnViewStatusBar(); }, {},
                   [this] { return !statusBar()->isHidden(); });
    m_pTreeCommands->SetPasswordDialog(&CModifyPasswordDialog::RunModal);

    m_router.AddTable(&m_pView->GetCommandTable());
    m_router.AddTable(&m_pEntryCommands->GetCommandTable());
    m_router.AddTable(&pDocument->GetCommandTable());
    m_router.AddTable(&m_pTreeCommands->GetCommandTable());
    m_router.AddTable(&m_commands);
    m_router.AddTable(&appCommands);

    // The tree bar stands at the left edge of the client area, the list fills the rest.
    auto* client = new QWidget;
    auto* clientLayout = new QHBoxLayout(client);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    clientLayout->setSpacing(0);
    const bool bTreeBar = CreateTreeBar(client);
    clientLayout->addWidget(m_wndTreeBar);
    clientLayout->addWidget(m_pView, 1);
    setCentralWidget(client);

    const bool bToolBar = CreateToolBar();
    const bool bMenuBar = CreateMenuBar();
    CreateAccelerators();
    CreateStatusPanes();
    m_bCreated = bToolBar && bMenuBar && bTreeBar;
    ConnectWindows();

    resize(800, 560);
    UpdateTitle();
}

void CMainFrame::ConnectWindows()
{
    // Each announcement is carried out by every subscriber before its sender goes on.
    constexpr auto direct = Qt::DirectConnection;
    const CEditedCard& card = EditedCard();
    m_pDocument->SetDialogParent(this);
    connect(m_pDocument, &CZelvoDoc::TitleChanged, this, &CMainFrame::UpdateTitle, direct);

    // Whatever refers into an image that is being replaced goes first.
    connect(&card, &CEditedCard::ImageAboutToBeReplaced, m_pView, &CZelvoView::ClearList, direct);
    connect(&card, &CEditedCard::ImageAboutToBeReplaced, m_treeDialog, &CTreeDialog::ForgetImage,
            direct);
    // Another folder is current: the status bar, then the tree's selection, then the list.
    connect(&card, &CEditedCard::PathChanged, this, &CMainFrame::ShowStatusPanes, direct);
    connect(&card, &CEditedCard::PathChanged, m_treeDialog, &CTreeDialog::SelectCurrentPath,
            direct);
    connect(&card, &CEditedCard::PathChanged, m_pView, &CZelvoView::RefreshList, direct);
    // The current folder's entries changed: its node is rebuilt and selected, then the
    // status bar and the list show the folder again.
    connect(&card, &CEditedCard::FolderChanged, m_treeDialog, &CTreeDialog::RebuildNode, direct);
    connect(&card, &CEditedCard::FolderChanged, this, &CMainFrame::ShowStatusPanes, direct);
    connect(&card, &CEditedCard::FolderChanged, m_pView, &CZelvoView::RefreshList, direct);

    connect(m_pView, &QTableWidget::itemSelectionChanged, &m_router,
            &CCommandRouter::UpdateActions);
    connect(m_treeDialog->GetTree(), &QTreeWidget::currentItemChanged, &m_router,
            &CCommandRouter::UpdateActions);
}

bool CMainFrame::CreateToolBar()
{
    m_wndToolBar->setObjectName(QStringLiteral("ToolBar"));
    // A fixed band of the top area: it is neither dragged nor offered in a context menu.
    m_wndToolBar->setMovable(false);
    m_wndToolBar->setFloatable(false);
    m_wndToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    // Each button is its command's shared action: enabled and checked as its menu item.
    if (!m_wndToolBar->LoadToolBar(IDR_MAINFRAME,
                                   [this](int id, QWidget*) { return m_router.GetAction(id); }))
        return false;
    m_wndToolBar->SetSizes(TOOL_BUTTON_SIZE, TOOL_IMAGE_SIZE);
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
    return true;
}

bool CMainFrame::CreateMenuBar()
{
    m_wndMenuBar->setContextMenuPolicy(Qt::PreventContextMenu);
    const bool bLoaded = m_wndMenuBar->LoadMenuBar(
        [this](int command, const QString& text, QObject* parent) {
            // The recent-file entries belong to the File popup: they come and go with the list.
            if (command == ID_RECENT_FILE1)
                return m_router.CreateAction(command, text, parent);
            QAction* action = m_router.GetAction(command);
            action->setText(text);
            return action;
        });
    setMenuBar(m_wndMenuBar);
    if (!bLoaded)
        return false;
    for (int index = 0; QMenu* menu = m_wndMenuBar->GetPopup(index); ++index) {
        m_router.WatchMenu(menu);
        for (QAction* action : menu->actions()) {
            if (action->data().toInt() == ID_RECENT_FILE1) {
                m_pFileMenu = menu;
                m_recentFileActions.push_back(action);
            } else if (m_pFileMenu == menu && !m_recentFileActions.empty() &&
                       !m_pRecentFilesEnd && action->isSeparator()) {
                m_pRecentFilesEnd = action;
            }
        }
    }
    // A popup opening highlights no item yet: the prompt pane is blank until one is.
    connect(m_wndMenuBar, &CMenuBar::MenuOpened, this, [this] { OnMenuSelect(0); });
    connect(m_wndMenuBar, &CMenuBar::MenuSelect, this, &CMainFrame::OnMenuSelect);
    connect(m_wndMenuBar, &CMenuBar::MenuClosed, this, &CMainFrame::OnMenuClosed);
    return m_pFileMenu != nullptr;
}

void CMainFrame::CreateAccelerators()
{
    // A key triggers its command's shared action, so it runs only when the menu item and
    // the button would; the menu texts keep their own key texts.
    for (const AcceleratorDef& accelerator : MainAccelerators()) {
        const QString key = QString::fromLatin1(accelerator.key);
        auto* shortcut =
            new QShortcut(QKeySequence::fromString(key, QKeySequence::PortableText), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, m_router.GetAction(accelerator.command),
                &QAction::trigger);
    }
}

bool CMainFrame::CreateTreeBar(QWidget* parent)
{
    m_treeDialog->resize(TREE_DIALOG_WIDTH, m_treeDialog->sizeHint().height());
    m_wndTreeBar->setObjectName(QStringLiteral("TreeBar"));
    return m_wndTreeBar->Create(parent, m_treeDialog, QString::fromUtf8(Texts::TREE_BAR_TITLE),
                                TREE_BAR_STYLE);
}

void CMainFrame::CreateStatusPanes()
{
    QStatusBar* bar = statusBar();
    m_pMessagePane = new QLabel(LoadResString(IDS_IDLE_MESSAGE));
    m_pMessagePane->setObjectName(QStringLiteral("MessagePane"));
    bar->addWidget(m_pMessagePane, 1);
    bar->addPermanentWidget(MakePane(QString(), QString(), EMPTY_PANE_WIDTH));
    m_pPathPane = MakePane(LoadResString(IDS_CURRENT_PATH), QString::number(IDS_CURRENT_PATH),
                           PATH_PANE_WIDTH);
    bar->addPermanentWidget(m_pPathPane);
    m_pFreeSpacePane = MakePane(LoadResString(IDS_FREE_SPACE), QString::number(IDS_FREE_SPACE),
                                FREE_SPACE_PANE_WIDTH);
    bar->addPermanentWidget(m_pFreeSpacePane);
    bar->addPermanentWidget(MakePane(QString(), QString(), EMPTY_PANE_WIDTH));
}

QWidget* CMainFrame::GetTreeBar() const
{
    return m_wndTreeBar;
}

void CMainFrame::ShowStatusPanes(const std::string& path)
{
    const QString pathText =
        QString::fromUtf8(Texts::CURRENT_PATH_PANE).arg(QString::fromStdString(path));
    m_pPathPane->setText(pathText);
    m_pPathPane->setToolTip(pathText);
    const uint32_t freeSpace =
        g_pVfs && g_pVfs->GetRoot() ? g_pVfs->GetCurrentFolder()->GetFreeSpace() : 0;
    m_pFreeSpacePane->setText(LoadResString(IDS_FREE_SPACE)
                                  .replace(QStringLiteral("%d"),
                                           QString::number(static_cast<int32_t>(freeSpace))));
}

void CMainFrame::InitialUpdate()
{
    m_pView->OnInitialUpdate();
}

void CMainFrame::SetRecentFiles(const QStringList& files)
{
    for (QAction* action : m_recentFileActions)
        delete action;
    m_recentFileActions.clear();
    if (files.isEmpty()) {
        m_recentFileActions.push_back(
            m_router.CreateAction(ID_RECENT_FILE1, QString::fromUtf8(Texts::RECENT_FILES),
                                  m_pFileMenu));
    }
    for (int index = 0; index < files.size() && index < RECENT_FILE_COUNT; ++index) {
        const QString text = QString::fromUtf8(Texts::RECENT_FILE_ITEM)
                                 .arg(index + 1)
                                 .arg(QDir::toNativeSeparators(files[index]));
        m_recentFileActions.push_back(
            m_router.CreateAction(ID_RECENT_FILE1 + index, text, m_pFileMenu));
    }
    for (QAction* action : m_recentFileActions)
        m_pFileMenu->insertAction(m_pRecentFilesEnd, action);
}

void CMainFrame::UpdateTitle()
{
    setWindowTitle(QString::fromUtf8(Texts::WINDOW_TITLE)
                       .arg(m_pDocument->GetTitle(), LoadResString(IDS_APP_TITLE)));
}

void CMainFrame::OnMenuSelect(int command)
{
    // The prompt is the part before "\n" of the command's string; nothing for a submenu,
    // a separator or a command without one.
    statusBar()->clearMessage();
    m_pMessagePane->setText(CommandPrompt(command));
}

void CMainFrame::OnMenuClosed()
{
    m_pMessagePane->setText(LoadResString(IDS_IDLE_MESSAGE));
}

void CMainFrame::OnViewDeviceTree()
{
    m_wndTreeBar->setVisible(m_wndTreeBar->isHidden());
}

void CMainFrame::OnViewToolBar()
{
    m_wndToolBar->setVisible(m_wndToolBar->isHidden());
}

void CMainFrame::OnViewStatusBar()
{
    statusBar()->setVisible(statusBar()->isHidden());
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!m_pDocument->SaveModified()) {
        event->ignore();
        return;
    }
    m_pDocument->OnCloseDocument();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
    }
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    activateWindow();
    emit FilesDropped(paths);
}
