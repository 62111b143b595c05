// The finished main frame offscreen: every command of the menus, the tool bar and the keys
// enabled and checked as the editor's rules say in each state, the bars in their places,
// and the menu bar's prompts in the status bar. The controls themselves are tested alone.
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
#include <QTreeWidgetItem>

#include <algorithm>
#include <memory>
#include <set>

using namespace RQ540;

namespace {

enum State { NO_IMAGE, EMPTY_ROOT, FILE_ROW, FOLDER_ROW, SUB_FOLDER_NODE, STATE_COUNT };
const char* const g_stateNames[STATE_COUNT] = {"no image yet", "empty root", "file row selected",
                                               "folder row selected",
                                               "sub-folder node selected, a file copied"};

// Enabled ('1') or not ('.') in each state, in the order above; checked in all or in none.
struct CommandRow {
    int id;
    const char* enabled;
    bool checked;
};
constexpr CommandRow g_commands[] = {
    // Menu 128. The recent-file placeholder stays grey until a file has been opened.
    {ID_FILE_NEW, "11111", false}, {ID_FILE_OPEN, "11111", false}, {ID_FILE_SAVE, "11111", false},
    {ID_FILE_SAVE_AS, "11111", false}, {ID_RECENT_FILE1, ".....", false},
    {ID_APP_EXIT, "11111", false},
    // Copy and delete need a row; paste copied entries and no file row first; edit file and
    // export a file row first.
    {ID_EDIT_COPY, "..11.", false}, {ID_EDIT_PASTE, "....1", false}, {ID_DELETE, "..11.", false},
    {ID_NEW_FOLDER, "11111", false}, {ID_NEW_FILE, "11111", false}, {ID_EDIT_FILE, "..1..", false},
    {ID_HARDWARE_INFO, "11111", false},
    {ID_VIEW_TOOLBAR, "11111", true}, {ID_VIEW_STATUS_BAR, "11111", true},
    {ID_VIEW_DEVICE_TREE, "11111", true}, {ID_APP_ABOUT, "11111", false},
    // Menu 137: delete folder only on a sub-folder node.
    {ID_REFRESH_NODE, "11111", false}, {ID_DELETE_FOLDER, "....1", false},
    {ID_ERASE_ROOT, "11111", false}, {ID_CHANGE_PASSWORD, "11111", false},
    // Menu 138, besides the Edit items.
    {ID_OPEN, "..11.", false}, {ID_REFRESH_VIEW, "11111", false}, {ID_IMPORT, "11111", false},
    {ID_EXPORT, "..1..", false},
    // Tool bar buttons without a command; keys whose commands have no handler but cut's.
    {ID_COMMAND_32773, ".....", false}, {ID_COMMAND_32774, ".....", false},
    {ID_EDIT_CUT, "11111", false}, {ID_EDIT_UNDO, ".....", false}, {ID_NEXT_PANE, ".....", false},
};

int RowOf(CZelvoView* view, const QString& id)
{
    for (int row = 0; row < view->rowCount(); ++row) {
        if (view->item(row, 0)->text() == id)
            return row;
    }
    return -1;
}

}  // namespace

class MainFrameTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init()
    {
        m_prompter.Clear();
        Start({QStringLiteral("rqvfs-editor")}, true);
    }
    void cleanup() { m_app.reset(); }

    void tableCoversEveryCommand();
    void commandsFollowTheTableInEveryState();
    void barsStandInTheirPlaces();
    void toolBarItemToggles();
    void menuPromptsThenReady();

private:
    CMainFrame* Frame() const { return m_app->GetMainFrame(); }
    CZelvoView* View() const { return Frame()->GetActiveView(); }
    void Start(const QStringList& arguments, bool bExpected);
    void EnterState(State state);
    QStringList Mismatches(State state) const;
    QMenu* OpenPopup(int index);

    QTemporaryDir m_dir;
    CFakePrompter m_prompter;
    CFakeFileDialogs m_files;
    std::unique_ptr<CZelvoApp> m_app;
};

void MainFrameTest::initTestCase()
{
    QVERIFY(UseScratchSettings(m_dir));
}

void MainFrameTest::Start(const QStringList& arguments, bool bExpected)
{
    m_app.reset();
    QSettings(QStringLiteral("应用程序向导生成的本地应用程序"), QStringLiteral("RQ540虚拟文件系统管理器"))
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
    QVERIFY(Frame()->GetRouter().Execute(ID_REFRESH_NODE));
    View()->selectRow(RowOf(View(), QString::fromLatin1(state == FOLDER_ROW ? "0001" : "0002")));
    if (state != SUB_FOLDER_NODE)
        return;
    QVERIFY(Frame()->GetRouter().Execute(ID_EDIT_COPY));
    CTreeDialog* tree = Frame()->GetTreeDialog();
    tree->SelectItem(tree->GetRootItem()->child(0));
    QCOMPARE(g_szCurrentPath, std::string("\\0001"));
}

// Every way a command shows that disagrees with the table, as "state: where id: states".
QStringList MainFrameTest::Mismatches(State state) const
{
    QStringList found;
    const auto compare = [&found, state](const QString& where, int id, bool enabled, bool checked) {
        const auto* row = std::find_if(std::begin(g_commands), std::end(g_commands),
                                       [id](const CommandRow& entry) { return entry.id == id; });
        if (row == std::end(g_commands) || enabled != (row->enabled[state] == '1') ||
            checked != row->checked)
            found << QStringLiteral("%1: %2 %3: enabled %4 checked %5")
                         .arg(QString::fromLatin1(g_stateNames[state]), where)
                         .arg(id)
                         .arg(enabled)
                         .arg(checked);
    };
    const CCommandRouter& router = Frame()->GetRouter();
    for (const CommandRow& row : g_commands)
        compare(QStringLiteral("command"), row.id, router.IsEnabled(row.id),
                router.IsChecked(row.id));
    for (int index = 0; QMenu* popup = Frame()->GetMenuBar()->GetPopup(index); ++index) {
        for (QAction* item : popup->actions()) {
            if (!item->isSeparator())
                compare(QStringLiteral("menu item"), item->data().toInt(), item->isEnabled(),
                        item->isChecked());
        }
    }
    for (QToolButton* button : Frame()->GetToolBar()->findChildren<QToolButton*>()) {
        if (QAction* action = button->defaultAction())
            compare(QStringLiteral("button"), action->data().toInt(), button->isEnabled(),
                    button->isChecked());
    }
    // Keys trigger their command's shared action.
    for (const AcceleratorDef& key : MainAccelerators()) {
        QAction* action = Frame()->GetRouter().GetAction(key.command);
        compare(QString::fromLatin1(key.key), key.command, action->isEnabled(),
                action->isChecked());
    }
    return found;
}

QMenu* MainFrameTest::OpenPopup(int index)
{
    CMenuBar* bar = Frame()->GetMenuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(bar->actions()[index]).center());
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

void MainFrameTest::tableCoversEveryCommand()
{
    std::set<int> ids;
    for (const PopupDef& popup : MainMenu()) {
        for (const MenuItemDef& item : popup.items)
            ids.insert(item.command);
    }
    for (const auto& menu : {TreeContextMenu(), ListContextMenu()}) {
        for (const MenuItemDef& item : menu)
            ids.insert(item.command);
    }
    for (const AcceleratorDef& key : MainAccelerators())
        ids.insert(key.command);
    for (QAction* action : Frame()->GetToolBar()->actions())
        ids.insert(action->data().toInt());
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
        // The idle tick brings every action in step at the latest.
        QTRY_COMPARE_WITH_TIMEOUT(Mismatches(static_cast<State>(state)).join(QStringLiteral("; ")),
                                  QString(), 2000);
    }
}

void MainFrameTest::barsStandInTheirPlaces()
{
    QVERIFY(QTest::qWaitForWindowExposed(Frame()));
    // Menu bar, then the tool bar on a row of its own, then the tree bar beside the list.
    const QRect menuBar = Frame()->GetMenuBar()->geometry();
    CAlphaToolBar* toolBar = Frame()->GetToolBar();
    QVERIFY(menuBar.top() == 0 && menuBar.height() > 0);
    QCOMPARE(toolBar->geometry().top(), menuBar.bottom() + 1);
    QCOMPARE(toolBar->GetButton(ID_FILE_NEW)->size(), QSize(42, 40));
    QWidget* client = Frame()->centralWidget();
    QVERIFY(toolBar->geometry().bottom() < client->geometry().top());
    QCOMPARE(Frame()->GetTreeBar()->geometry(), QRect(0, 0, 186, client->height()));
    QCOMPARE(Frame()->GetTreeDialog()->geometry(), Frame()->GetTreeBar()->rect());
    QCOMPARE(View()->geometry(), QRect(186, 0, client->width() - 186, client->height()));

    // Panes: message, empty, path (160), free space (200), empty.
    QList<QLabel*> panes = Frame()->statusBar()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    std::sort(panes.begin(), panes.end(), [](QLabel* a, QLabel* b) { return a->x() < b->x(); });
    QCOMPARE(panes.size(), 5);
    QCOMPARE(panes[0]->text(), QStringLiteral("就绪"));
    QCOMPARE(panes[2]->objectName() + panes[3]->objectName(), QStringLiteral("109110"));
    QCOMPARE(QSize(panes[2]->width(), panes[3]->width()), QSize(160, 200));

    // A button is its menu item; clicking it routes the command, a disabled one runs nothing.
    QAction* copyItem = Frame()->GetMenuBar()->GetPopup(1)->actions()[0];
    QCOMPARE(copyItem->text(), QStringLiteral("复制(&C)\tCtrl+C"));
    QCOMPARE(toolBar->GetButton(ID_EDIT_COPY)->defaultAction(), copyItem);
    QCOMPARE(toolBar->GetButton(ID_EDIT_COPY)->toolTip(), QStringLiteral("复制"));
    QCOMPARE(g_pVfs->CreateFile(0x0002, 0, 10), RESULT_SUCCESS);
    QTest::mouseClick(toolBar->GetButton(ID_REFRESH_NODE), Qt::LeftButton);
    QCOMPARE(View()->rowCount(), 1);
    QTest::mouseClick(toolBar->GetButton(ID_DELETE), Qt::LeftButton);
    QVERIFY(m_prompter.ShownBoxes().empty());
}

void MainFrameTest::toolBarItemToggles()
{
    QVERIFY(QTest::qWaitForWindowExposed(Frame()));
    QAction* toolBarItem = Frame()->GetMenuBar()->GetPopup(2)->actions()[0];
    QCOMPARE(toolBarItem->text(), QStringLiteral("工具栏(&T)"));
    const int clientTop = Frame()->centralWidget()->y();
    toolBarItem->trigger();
    QVERIFY(Frame()->GetToolBar()->isHidden());
    QVERIFY(!toolBarItem->isChecked());
    QTRY_VERIFY(Frame()->centralWidget()->y() < clientTop);
    toolBarItem->trigger();
    QVERIFY(toolBarItem->isChecked());
    QTRY_COMPARE(Frame()->centralWidget()->y(), clientTop);
}

void MainFrameTest::menuPromptsThenReady()
{
    QVERIFY(QTest::qWaitForWindowExposed(Frame()));
    auto* message = Frame()->findChild<QLabel*>(QStringLiteral("MessagePane"));
    QMenu* popup = OpenPopup(0);
    QCOMPARE(popup, Frame()->GetMenuBar()->GetPopup(0));
    QCOMPARE(message->text(), QString());
    QTest::keyClick(popup, Qt::Key_Down);
    QCOMPARE(message->text(), QStringLiteral("创建新虚拟文件系统"));
    for (int step = 0; step < 3; ++step)
        QTest::keyClick(popup, Qt::Key_Down);
    QCOMPARE(message->text(), QStringLiteral("用新名称保存活动文档"));
    QTest::keyClick(popup, Qt::Key_Escape);
    QVERIFY(!QApplication::activePopupWidget());
    QCOMPARE(message->text(), QStringLiteral("就绪"));

    // Choosing an item runs its command.
    popup = OpenPopup(2);
    for (int step = 0; step < 3; ++step)
        QTest::keyClick(popup, Qt::Key_Down);
    QCOMPARE(message->text(), QStringLiteral("是否显示文件系统树"));
    QTest::keyClick(popup, Qt::Key_Return);
    QVERIFY(Frame()->GetTreeBar()->isHidden());
    QCOMPARE(message->text(), QStringLiteral("就绪"));
}

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
