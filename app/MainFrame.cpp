#include "MainFrame.h"

#include "CopiedEntries.h"
#include "EntryCommands.h"
#include "MenuTable.h"
#include "ModifyPasswordDialog.h"
#include "Prompter.h"
#include "Resource.h"
#include "ShellIcons.h"
#include "ShellState.h"
#include "ShellTexts.h"
#include "StringTable.h"
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
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <map>

namespace {

constexpr int TREE_DIALOG_WIDTH = 180;
constexpr int TREE_BAR_EXTRA_WIDTH = 6;
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
      m_wndTreeBar(new QWidget),
      m_treeDialog(new CTreeDialog(pDocument, m_router))
{
    setObjectName(QStringLiteral("MainFrame"));
    setWindowIcon(ShellIcon(IDI_APPLICATION_ICON));
    setAcceptDrops(true);

    m_wndTreeBar->setObjectName(QStringLiteral("TreeBar"));
    m_wndTreeBar->setWindowTitle(QString::fromUtf8(Texts::TREE_BAR_TITLE));
    m_treeDialog->setFixedWidth(TREE_DIALOG_WIDTH);
    m_wndTreeBar->setFixedWidth(TREE_DIALOG_WIDTH + TREE_BAR_EXTRA_WIDTH);
    auto* barLayout = new QVBoxLayout(m_wndTreeBar);
    barLayout->setContentsMargins(0, 0, TREE_BAR_EXTRA_WIDTH, 0);
    barLayout->addWidget(m_treeDialog);

    auto* client = new QWidget;
    auto* clientLayout = new QHBoxLayout(client);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    clientLayout->setSpacing(0);
    clientLayout->addWidget(m_wndTreeBar);
    clientLayout->addWidget(m_pView, 1);
    setCentralWidget(client);

    m_commands.Add(ID_VIEW_DEVICE_TREE, [this] { OnViewDeviceTree(); }, {},
                   [this] { return !m_wndTreeBar->isHidden(); });
    m_commands.Add(ID_VIEW_STATUS_BAR, [this] { OnViewStatusBar(); }, {},
                   [this] { return !statusBar()->isHidden(); });
    m_commands.Add(ID_REFRESH_NODE, [this] { m_treeDialog->OnRefreshNode(); });
    m_commands.Add(ID_CHANGE_PASSWORD, [this] { m_treeDialog->OnChangePassword(); },
                   [this] { return m_treeDialog->CanChangePassword(); });
    m_commands.Add(ID_DELETE_FOLDER, [this] { OnDeleteFolder(); }, [this] {
        return m_treeDialog->GetItemData(m_treeDialog->GetSelectedItem()) != nullptr;
    });
    m_commands.Add(ID_ERASE_ROOT, [this] { OnEraseRoot(); });

    m_treeDialog->SetPasswordDialog(&CModifyPasswordDialog::RunModal);

    m_router.AddTable(&m_pView->GetCommandTable());
    m_router.AddTable(&m_pEntryCommands->GetCommandTable());
    m_router.AddTable(&pDocument->GetCommandTable());
    m_router.AddTable(&m_commands);
    m_router.AddTable(&appCommands);

    CreateMenus();
    CreateAccelerators();
    CreateStatusPanes();
    ConnectWindows();

    resize(800, 560);
    UpdateTitle();
}

void CMainFrame::ConnectWindows()
{
    // Each request completes before its sender goes on, as the windows expect.
    constexpr auto direct = Qt::DirectConnection;
    m_pDocument->SetDialogParent(this);
    connect(m_pDocument, &CZelvoDoc::TitleChanged, this, &CMainFrame::UpdateTitle, direct);
    connect(m_pDocument, &CZelvoDoc::ImageAboutToBeReplaced, this, &CMainFrame::ForgetImage,
            direct);
    connect(m_pDocument, &CZelvoDoc::PathChanged, this, &CMainFrame::OnVfsPathChanged, direct);
    connect(m_pDocument, &CZelvoDoc::NodeRefreshRequested, m_treeDialog,
            &CTreeDialog::OnRefreshNode, direct);

    connect(m_pView, &CZelvoView::PathChanged, this, &CMainFrame::OnVfsPathChanged, direct);
    connect(m_pView, &CZelvoView::FolderEntered, m_treeDialog, &CTreeDialog::SelectCurrentPath,
            direct);
    connect(m_pView, &CZelvoView::NodeRefreshRequested, m_treeDialog,
            &CTreeDialog::OnRefreshNode, direct);
    connect(m_pEntryCommands, &CEntryCommands::NodeRefreshRequested, m_treeDialog,
            &CTreeDialog::OnRefreshNode, direct);

    connect(m_treeDialog, &CTreeDialog::PathChanged, this, &CMainFrame::OnVfsPathChanged,
            direct);
    connect(m_treeDialog, &CTreeDialog::ListRefreshRequested, m_pView, &CZelvoView::RefreshList,
            direct);

    // Whatever a command changed (erasing the root with its node already selected
    // announces no new path), the panes show the current folder afterwards.
    connect(
        &m_router, &CCommandRouter::CommandExecuted, this,
        [this] { ShowStatusPanes(g_szCurrentPath); }, direct);
    connect(m_pView, &QTableWidget::itemSelectionChanged, &m_router,
            &CCommandRouter::UpdateActions);
    connect(m_treeDialog->GetTree(), &QTreeWidget::currentItemChanged, &m_router,
            &CCommandRouter::UpdateActions);
}

void CMainFrame::CreateMenus()
{
    for (const PopupDef& popup : MainMenu()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(popup.text));
        m_router.FillMenu(menu, popup.items);
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
}

void CMainFrame::CreateAccelerators()
{
    std::map<int, QList<QKeySequence>> keys;
    for (const AcceleratorDef& accelerator : MainAccelerators())
        keys[accelerator.command].append(
            QKeySequence::fromString(QString::fromLatin1(accelerator.key), QKeySequence::PortableText));
    for (const auto& [command, sequences] : keys) {
        QAction* action = m_router.CreateAction(command, QString(), this);
        action->setShortcuts(sequences);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
}

void CMainFrame::CreateStatusPanes()
{
    QStatusBar* bar = statusBar();
    bar->addWidget(new QLabel(LoadResString(IDS_IDLE_MESSAGE)), 1);
    bar->addPermanentWidget(MakePane(QString(), QString(), EMPTY_PANE_WIDTH));
    m_pPathPane = MakePane(LoadResString(IDS_CURRENT_PATH), QString::number(IDS_CURRENT_PATH),
                           PATH_PANE_WIDTH);
    bar->addPermanentWidget(m_pPathPane);
    m_pFreeSpacePane = MakePane(LoadResString(IDS_FREE_SPACE), QString::number(IDS_FREE_SPACE),
                                FREE_SPACE_PANE_WIDTH);
    bar->addPermanentWidget(m_pFreeSpacePane);
    bar->addPermanentWidget(MakePane(QString(), QString(), EMPTY_PANE_WIDTH));
}

void CMainFrame::OnVfsPathChanged(const std::string& path)
{
    ShowStatusPanes(path);
    m_treeDialog->SelectCurrentPath();
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

void CMainFrame::ForgetImage()
{
    m_pView->ClearList();
    m_treeDialog->ForgetImage();
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

void CMainFrame::OnViewDeviceTree()
{
    m_wndTreeBar->setVisible(m_wndTreeBar->isHidden());
}

void CMainFrame::OnViewStatusBar()
{
    statusBar()->setVisible(statusBar()->isHidden());
}

void CMainFrame::OnDeleteFolder()
{
    const IPrompter::Answer answer = Prompter().Show(
        this, QString::fromUtf8(Texts::QUESTION_CAPTION),
        QString::fromUtf8(Texts::DELETE_FOLDER_QUESTION), IPrompter::Icon::Question,
        IPrompter::Buttons::YesNo);
    QTreeWidgetItem* node = m_treeDialog->GetSelectedItem();
    const EntryItemData* record = m_treeDialog->GetItemData(node);
    if (answer != IPrompter::Answer::Yes || !record || !g_pVfs)
        return;
    QTreeWidgetItem* parentNode = node->parent();
    const uint16_t id = record->pHeader->GetId();
    // The selected folder is the current one, so this enters its parent.
    EnterFolder("..");
    // Not reported: the refresh below shows whatever the deletion left.
    (void)g_pVfs->DeleteFolder(id);
    // The folder is gone from the image, so closing must offer to save.
    m_pDocument->SetModifiedFlag();
    if (g_pCopiedEntries)
        g_pCopiedEntries->ForgetMissing(*g_pVfs);
    m_treeDialog->SelectItem(parentNode);
    m_treeDialog->OnRefreshNode();
}

void CMainFrame::OnEraseRoot()
{
    const IPrompter::Answer answer = Prompter().Show(
        this, QString::fromUtf8(Texts::QUESTION_CAPTION),
        QString::fromUtf8(Texts::ERASE_ROOT_QUESTION),
        IPrompter::Icon::Question, IPrompter::Buttons::YesNo);
    if (answer != IPrompter::Answer::Yes || !g_pVfs)
        return;
    g_pVfs->Format(true);
    m_pDocument->SetModifiedFlag();
    if (g_pCopiedEntries)
        g_pCopiedEntries->ForgetMissing(*g_pVfs);
    m_treeDialog->FillNode(m_treeDialog->GetRootItem());
    m_pView->RefreshList();
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
