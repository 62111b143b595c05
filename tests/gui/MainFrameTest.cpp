// The finished main frame offscreen: every command of the menus, the tool bar and the keys
// enabled and checked as the editor's rules say in each state of the editor, the tool bar
// and the tree bar in their places, and the menu bar's prompts in the status bar.
#include "AlphaToolBar.h"
#include "CommandRouter.h"
#include "Fakes.h"
#include "MainFrame.h"
#include "MenuBar.h"
#include "MenuTable.h"
#include "Resource.h"
#include "ShellState.h"
#include "TreeDialog.h"
#include "ZelvoApp.h"
#include "ZelvoView.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <memory>
#include <set>

using namespace RQ540;

namespace {

// The states the table is written for, in the order of its columns.
enum State { NO_IMAGE, EMPTY_ROOT, FILE_ROW, FOLDER_ROW, SUB_FOLDER_NODE, STATE_COUNT };
const char* const g_stateNames[STATE_COUNT] = {
    "no image yet", "empty root", "file row selected", "folder row selected",
    "sub-folder node selected, a file copied"};

// One command: '1' enabled, '.' disabled, per state; checked in every state or in none.
struct CommandRow {
    int id;
    const char* enabled;
    bool checked;
};

constexpr CommandRow g_commands[] = {
    // Menu 128, File. The recent-file placeholder stays grey until a file was opened.
    {ID_FILE_NEW, "11111", false},
    {ID_FILE_OPEN, "11111", false},
    {ID_FILE_SAVE, "11111", false},
    {ID_FILE_SAVE_AS, "11111", false},
    {ID_RECENT_FILE1, ".....", false},
    {ID_APP_EXIT, "11111", false},
    // Edit: copy and delete need a row; paste needs copied entries and no file row first;
    // edit file and export need a file row first.
    {ID_EDIT_COPY, "..11.", false},
    {ID_EDIT_PASTE, "....1", false},
    {ID_DELETE, "..11.", false},
    {ID_NEW_FOLDER, "11111", false},
    {ID_NEW_FILE, "11111", false},
    {ID_EDIT_FILE, "..1..", false},
    {ID_HARDWARE_INFO, "11111", false},
    // View: checked while the bar is visible.
    {ID_VIEW_TOOLBAR, "11111", true},
    {ID_VIEW_STATUS_BAR, "11111", true},
    {ID_VIEW_DEVICE_TREE, "11111", true},
    // Help.
    {ID_APP_ABOUT, "11111", false},
    // Menu 137 (tree): delete folder only on a sub-folder node.
    {ID_REFRESH_NODE, "11111", false},
    {ID_DELETE_FOLDER, "....1", false},
    {ID_ERASE_ROOT, "11111", false},
    {ID_CHANGE_PASSWORD, "11111", false},
    // Menu 138 (list), besides the Edit items.
    {ID_OPEN, "..11.", false},
    {ID_REFRESH_VIEW, "11111", false},
    {ID_IMPORT, "11111", false},
    {ID_EXPORT, "..1..", false},
    // Tool bar buttons without a command.
    {ID_COMMAND_32773, ".....", false},
    {ID_COMMAND_32774, ".....", false},
    // Keys only: cut does nothing but is there; undo and next pane have no handler.
    {ID_EDIT_CUT, "11111", false},
    {ID_EDIT_UNDO, ".....", false},
    {ID_NEXT_PANE, ".....", false},
};

const CommandRow* FindRow(int id)
{
    for (const CommandRow& row : g_commands) {
        if (row.id == id)
            return &row;
    }
    return nullptr;
}

// "what id: enabled/checked" for a disagreement with the table, or nothing.
QString Compare(const QString& what, int id, bool enabled, bool checked, State state)
{
    const CommandRow* row = FindRow(id);
    const bool wantEnabled = row && row->enabled[state] == '1';
    const bool wantChecked = row && row->checked;
    if (enabled == wantEnabled && checked == wantChecked)
        return QString();
    return QStringLiteral("%1 %2: enabled %3 checked %4").arg(what).arg(id).arg(enabled).arg(checked);
}

int RowOf(CZelvoView* view, const QString& id)
{
    for (int row = 0; row < view->rowCount(); ++row) {
        if (view->item(row, 0)->text() == id)
            return row;
    }
    return -1;
}

QList<int> TemplateItems()
{
    return {57600, 57601, 57603, 0, 32776, 0, 57634, 57637, 32806, 0, 32777,
            32813, 0, 32820, 32807, 0, 32786, 57664, 32773, 0, 32774};
}

}  // namespace

class MainFrameTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void tableCoversEveryCommand();
    void commandsFollowTheTableInEveryState();
    void toolBarBelowTheMenuBarFollowsTheTemplate();
    void treeButtonHidesAndShowsTheTreeBar();
    void viewMenuTogglesTheBars();
    void menuPromptsThenReady();

private:
    CMainFrame* Frame() const { return m_app->GetMainFrame(); }
    CZelvoView* View() const { return Frame()->GetActiveView(); }
    void Start(const QStringList& arguments, bool bExpected);
    void EnterState(State state);
    QStringList Mismatches(State state) const;
    QPoint MenuButton(int index) const;
    QLabel* Pane(const QString& name) const { return Frame()->findChild<QLabel*>(name); }

    QTemporaryDir m_dir;
    std::unique_ptr<CFakePrompter> m_prompter;
    std::unique_ptr<CFakeFileDialogs> m_files;
    std::unique_ptr<CZelvoApp> m_app;
};

void MainFrameTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
}

void MainFrameTest::init()
{
    m_prompter = std::make_unique<CFakePrompter>();
    m_files = std::make_unique<CFakeFileDialogs>();
    Start({QStringLiteral("rqvfs-editor")}, true);
}

void MainFrameTest::cleanup()
{
    m_app.reset();
    m_files.reset();
    m_prompter.reset();
}

void MainFrameTest::Start(const QStringList& arguments, bool bExpected)
{
    m_app.reset();
    QSettings(QStringLiteral("应用程序向导生成的本地应用程序"),
              QStringLiteral("RQ540虚拟文件系统管理器"))
        .clear();
    m_app = std::make_unique<CZelvoApp>();
    QCOMPARE(m_app->InitInstance(arguments), bExpected);
    QVERIFY(Frame()->IsCreated());
}

void MainFrameTest::EnterState(State state)
{
    if (state == NO_IMAGE) {
        // The command line names a file that is not there: the frame stands without an image.
        Start({QStringLiteral("rqvfs-editor"), m_dir.filePath(QStringLiteral("missing.rqfs"))},
              false);
        QVERIFY(!g_pVfs);
        return;
    }
    Start({QStringLiteral("rqvfs-editor")}, true);
    if (state == EMPTY_ROOT)
        return;
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFile(0x0002, 0, 10), RESULT_SUCCESS);
    CTreeDialog* tree = Frame()->GetTreeDialog();
    tree->SelectItem(tree->GetRootItem());
    QVERIFY(Frame()->GetRouter().Execute(ID_REFRESH_NODE));
    const int row = RowOf(View(), state == FOLDER_ROW ? QStringLiteral("0001") : QStringLiteral("0002"));
    QVERIFY(row >= 0);
    View()->selectRow(row);
    if (state != SUB_FOLDER_NODE)
        return;
    QVERIFY(Frame()->GetRouter().Execute(ID_EDIT_COPY));
    QTreeWidgetItem* node = tree->GetRootItem()->child(0);
    QCOMPARE(tree->GetItemPath(node), std::string("\\0001"));
    tree->SelectItem(node);
    QCOMPARE(View()->rowCount(), 0);
}

QStringList MainFrameTest::Mismatches(State state) const
{
    QStringList found;
    const auto add = [&found, state](const QString& mismatch) {
        if (!mismatch.isEmpty())
            found << QStringLiteral("%1: %2").arg(QString::fromLatin1(g_stateNames[state]), mismatch);
    };
    for (const CommandRow& row : g_commands) {
        add(Compare(QStringLiteral("command"), row.id, Frame()->GetRouter().IsEnabled(row.id),
                    Frame()->GetRouter().IsChecked(row.id), state));
    }
    for (int index = 0; QMenu* popup = Frame()->GetMenuBar()->GetPopup(index); ++index) {
        for (QAction* item : popup->actions()) {
            if (!item->isSeparator())
                add(Compare(QStringLiteral("menu item"), item->data().toInt(), item->isEnabled(),
                            item->isChecked(), state));
        }
    }
    for (QAction* action : Frame()->GetToolBar()->actions()) {
        if (action->isSeparator())
            continue;
        const int id = action->data().toInt();
        QToolButton* button = Frame()->GetToolBar()->GetButton(id);
        add(Compare(QStringLiteral("button"), id, button->isEnabled(), button->isChecked(), state));
    }
    // The keys trigger their command's shared action.
    for (const AcceleratorDef& key : MainAccelerators()) {
        QAction* action = Frame()->GetRouter().GetAction(key.command);
        add(Compare(QString::fromLatin1(key.key), key.command, action->isEnabled(),
                    action->isChecked(), state));
    }
    return found;
}

QPoint MainFrameTest::MenuButton(int index) const
{
    CMenuBar* bar = Frame()->GetMenuBar();
    return bar->actionGeometry(bar->actions()[index]).center();
}

void MainFrameTest::tableCoversEveryCommand()
{
    std::set<int> ids;
    for (const PopupDef& popup : MainMenu()) {
        for (const MenuItemDef& item : popup.items)
            ids.insert(item.command);
    }
    for (const MenuItemDef& item : TreeContextMenu())
        ids.insert(item.command);
    for (const MenuItemDef& item : ListContextMenu())
        ids.insert(item.command);
    for (const AcceleratorDef& key : MainAccelerators())
        ids.insert(key.command);
    for (int id : TemplateItems())
        ids.insert(id);
    ids.erase(0);
    std::set<int> rows;
    for (const CommandRow& row : g_commands)
        rows.insert(row.id);
    QCOMPARE(rows, ids);
}

void MainFrameTest::commandsFollowTheTableInEveryState()
{
    for (int state = 0; state < STATE_COUNT; ++state) {
        EnterState(static_cast<State>(state));
        if (QTest::currentTestFailed())
            QFAIL(g_stateNames[state]);
        // The idle tick brings every action in step with the state at the latest.
        QTRY_COMPARE_WITH_TIMEOUT(Mismatches(static_cast<State>(state)).join(QStringLiteral("; ")),
                                  QString(), 2000);
    }
}

void MainFrameTest::toolBarBelowTheMenuBarFollowsTheTemplate()
{
    CAlphaToolBar* toolBar = Frame()->GetToolBar();
    QList<int> items;
    for (QAction* action : toolBar->actions())
        items << (action->isSeparator() ? 0 : action->data().toInt());
    QCOMPARE(items, TemplateItems());
    QCOMPARE(toolBar->iconSize(), QSize(32, 32));
    for (int id : items) {
        if (id == 0)
            continue;
        QToolButton* button = toolBar->GetButton(id);
        QCOMPARE(button->size(), QSize(42, 40));
        QCOMPARE(button->icon().isNull(), id == ID_COMMAND_32773 || id == ID_COMMAND_32774);
    }
    QToolButton* exportButton = toolBar->GetButton(ID_EXPORT);
    QCOMPARE(exportButton->toolTip(), QStringLiteral("导出"));
    QCOMPARE(exportButton->statusTip(), QStringLiteral("从虚拟文件系统导出文件到磁盘"));
    // The button is the menu item: one action for both.
    QAction* menuItem = Frame()->GetMenuBar()->GetPopup(1)->actions()[0];
    QCOMPARE(menuItem->text(), QStringLiteral("复制(&C)\tCtrl+C"));
    QCOMPARE(toolBar->GetButton(ID_EDIT_COPY)->defaultAction(), menuItem);

    QVERIFY(QTest::qWaitForWindowExposed(Frame()));
    const QRect menuBar = Frame()->GetMenuBar()->geometry();
    QVERIFY(menuBar.top() == 0 && menuBar.height() > 0);
    QCOMPARE(toolBar->geometry().top(), menuBar.bottom() + 1);
    QVERIFY(toolBar->geometry().bottom() < Frame()->centralWidget()->geometry().top());

    // Clicking a button routes its command; a disabled one runs nothing.
    QVERIFY(g_pVfs->CreateFile(0x0002, 0, 10) == RESULT_SUCCESS);
    QCOMPARE(View()->rowCount(), 0);
    QTest::mouseClick(toolBar->GetButton(ID_REFRESH_NODE), Qt::LeftButton);
    QCOMPARE(View()->rowCount(), 1);
    QTest::mouseClick(toolBar->GetButton(ID_DELETE), Qt::LeftButton);
    QVERIFY(m_prompter->ShownBoxes().empty());
    QCOMPARE(View()->rowCount(), 1);
}

void MainFrameTest::treeButtonHidesAndShowsTheTreeBar()
{
    QVERIFY(QTest::qWaitForWindowExposed(Frame()));
    QWidget* treeBar = Frame()->GetTreeBar();
    QWidget* client = Frame()->centralWidget();
    QCOMPARE(treeBar->width(), 186);
    QCOMPARE(treeBar->height(), client->height());
    QCOMPARE(Frame()->GetTreeDialog()->geometry(), treeBar->rect());

    QToolButton* treeButton = Frame()->GetToolBar()->GetButton(ID_VIEW_DEVICE_TREE);
    QVERIFY(treeButton->isChecked());
    QTest::mouseClick(treeButton, Qt::LeftButton);
    QVERIFY(treeBar->isHidden());
    QVERIFY(!treeButton->isChecked());
    QTRY_COMPARE(View()->width(), client->width());

    QTest::mouseClick(treeButton, Qt::LeftButton);
    QVERIFY(treeButton->isChecked());
    QTRY_COMPARE(View()->width(), client->width() - 186);
    QCOMPARE(treeBar->width(), 186);
}

void MainFrameTest::viewMenuTogglesTheBars()
{
    QVERIFY(QTest::qWaitForWindowExposed(Frame()));
    // Panes: message, empty, path (160), free space (200), empty.
    QList<QLabel*> panes = Frame()->statusBar()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    std::sort(panes.begin(), panes.end(),
              [](QLabel* a, QLabel* b) { return a->x() < b->x(); });
    QCOMPARE(panes.size(), 5);
    QCOMPARE(panes[0]->text(), QStringLiteral("就绪"));
    QCOMPARE(panes[2], Pane(QStringLiteral("109")));
    QCOMPARE(panes[2]->width(), 160);
    QCOMPARE(panes[3], Pane(QStringLiteral("110")));
    QCOMPARE(panes[3]->width(), 200);

    QMenu* view = Frame()->GetMenuBar()->GetPopup(2);
    QAction* toolBarItem = view->actions()[0];
    QAction* statusBarItem = view->actions()[1];
    QCOMPARE(toolBarItem->text(), QStringLiteral("工具栏(&T)"));
    QVERIFY(toolBarItem->isChecked() && statusBarItem->isChecked());
    const int toolBarTop = Frame()->centralWidget()->y();
    toolBarItem->trigger();
    QVERIFY(Frame()->GetToolBar()->isHidden());
    QVERIFY(!toolBarItem->isChecked());
    QTRY_VERIFY(Frame()->centralWidget()->y() < toolBarTop);
    toolBarItem->trigger();
    QVERIFY(toolBarItem->isChecked());
    QTRY_COMPARE(Frame()->centralWidget()->y(), toolBarTop);

    statusBarItem->trigger();
    QVERIFY(Frame()->statusBar()->isHidden());
    QVERIFY(!statusBarItem->isChecked());
}

void MainFrameTest::menuPromptsThenReady()
{
    QVERIFY(QTest::qWaitForWindowExposed(Frame()));
    QLabel* message = Pane(QStringLiteral("MessagePane"));
    QTest::mouseClick(Frame()->GetMenuBar(), Qt::LeftButton, {}, MenuButton(0));
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QCOMPARE(popup, Frame()->GetMenuBar()->GetPopup(0));
    QCOMPARE(message->text(), QString());
    QTest::keyClick(popup, Qt::Key_Down);
    QCOMPARE(message->text(), QStringLiteral("创建新虚拟文件系统"));
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Down);
    QCOMPARE(message->text(), QStringLiteral("用新名称保存活动文档"));
    QTest::keyClick(popup, Qt::Key_Escape);
    QVERIFY(!QApplication::activePopupWidget());
    QCOMPARE(message->text(), QStringLiteral("就绪"));

    // Choosing an item runs its command.
    QTest::mouseClick(Frame()->GetMenuBar(), Qt::LeftButton, {}, MenuButton(2));
    popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QCOMPARE(popup, Frame()->GetMenuBar()->GetPopup(2));
    for (int step = 0; step < 3; ++step)
        QTest::keyClick(popup, Qt::Key_Down);
    QCOMPARE(message->text(), QStringLiteral("是否显示文件系统树"));
    QTest::keyClick(popup, Qt::Key_Return);
    QVERIFY(Frame()->GetTreeBar()->isHidden());
    QCOMPARE(message->text(), QStringLiteral("就绪"));
}

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
