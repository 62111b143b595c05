// Drives the whole editor offscreen: the application with its document, frame, folder list
// and tree panel, through the command router and real mouse and key events, with the fake
// prompter and file dialogs answering every question.
#include "CommandRouter.h"
#include "EntryCommands.h"
#include "Fakes.h"
#include "MainFrame.h"
#include "RecentFileList.h"
#include "Resource.h"
#include "ShellState.h"
#include "TreeCommands.h"
#include "TreeDialog.h"
#include "ZelvoApp.h"
#include "ZelvoDoc.h"
#include "ZelvoView.h"

#include "rq540/ImageLock.h"
#include "rq540/VfsArchive.h"

#include "../FifoUnblocker.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include <chrono>
#include <csignal>
#include <memory>

using namespace RQ540;

namespace {

const QString g_appTitle = QStringLiteral("RQ540虚拟文件系统管理器");

QString PaneText(CMainFrame* frame, int paneId)
{
    auto* pane = frame->findChild<QLabel*>(QString::number(paneId));
    return pane ? pane->text() : QString();
}

QStringList ColumnTexts(CZelvoView* view, int column)
{
    QStringList texts;
    for (int row = 0; row < view->rowCount(); ++row)
        texts << view->item(row, column)->text();
    return texts;
}

int RowOf(CZelvoView* view, const QString& id)
{
    for (int row = 0; row < view->rowCount(); ++row) {
        if (view->item(row, 0)->text() == id)
            return row;
    }
    return -1;
}

void SelectRows(CZelvoView* view, std::initializer_list<int> rows)
{
    view->clearSelection();
    for (int row : rows)
        view->selectionModel()->select(view->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

QTreeWidgetItem* FindNode(CTreeDialog* tree, QTreeWidgetItem* node, const std::string& path)
{
    for (int index = 0; index < node->childCount(); ++index) {
        QTreeWidgetItem* child = node->child(index);
        const EntryItemData* record = tree->GetItemData(child);
        if (record && record->szPath == path)
            return child;
        if (QTreeWidgetItem* found = FindNode(tree, child, path))
            return found;
    }
    return nullptr;
}

QStringList ChildLabels(QTreeWidgetItem* node)
{
    QStringList labels;
    for (int index = 0; index < node->childCount(); ++index)
        labels << node->child(index)->text(0);
    return labels;
}

// A click, then a double-click, in the middle of the row's first cell.
void DoubleClickRow(CZelvoView* view, int row)
{
    const QPoint centre = view->visualRect(view->model()->index(row, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centre);
}

std::vector<uint8_t> ImageBytes()
{
    return VfsArchive::SerializeImage(g_pVfs->GetRoot(), g_pVfs->GetModel());
}

}  // namespace

class ShellTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startUpShowsAFreshImage();
    void listShowsEntriesInReverseEntryOrderWithTheirColumns();
    void doubleClickOnAFolderEntersIt();
    void treeSelectionMovesTheCurrentFolder();
    void copyAndPasteAcrossFolders();
    void pasteRefusedByTheCoreIsReportedPerEntry();
    void pasteOfAnEntryThatIsGoneIsRefused();
    void deleteAsksAndRemovesTheSelectedRows();
    void deleteKeyFollowsTheListsRule();
    void treeDeleteFolder();
    void eraseRoot();
    void enablingFollowsSelectionAndCopiedEntries();
    void entryCommandsPlugInThroughTheirTable();
    void contextMenusFollowTheSameRules();
    void openingAnInvalidImageKeepsTheOldOne();
    void saveThenOpenGivesTheSameTree();
    void newAsksToSaveAModifiedImage();
    void recentFilesKeepTheLatestFour();
    void failedSaveKeepsTheImageModified();
    void saveOnAFullDiskSaysSo();
    void saveAsksBeforeOverwritingAFileChangedOnDisk();
    void fileProblemsAreRefusedWithTheirReason();
    void changePasswordStoresFixedFieldsAndMarksModified();
    void foldersNestedDeeperThanAnyFixedBufferAreReachable();
    void commandLineAndDroppedFilesOpenDocuments();
    void treePanelAndStatusBarToggle();

private:
    CMainFrame* Frame() const { return m_app->GetMainFrame(); }
    CZelvoView* View() const { return Frame()->GetActiveView(); }
    CTreeDialog* Tree() const { return Frame()->GetTreeDialog(); }
    CZelvoDoc* Doc() const { return m_app->GetDocument(); }
    bool Execute(int id) { return Frame()->GetRouter().Execute(id); }
    bool IsEnabled(int id) { return Frame()->GetRouter().IsEnabled(id); }
    // Rebuilds the tree from the root folder and lists the root.
    void ShowRoot();
    void SelectNode(const std::string& path);
    QString TempPath(const QString& name) const { return m_dir->filePath(name); }
    void WriteFile(const QString& path, const QByteArray& bytes);

    QTemporaryDir m_settingsDir;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CFakePrompter> m_prompter;
    std::unique_ptr<CFakeFileDialogs> m_files;
    std::unique_ptr<CZelvoApp> m_app;
};

void ShellTest::initTestCase()
{
    QVERIFY(UseScratchSettings(m_settingsDir));
}

void ShellTest::init()
{
    QSettings(QStringLiteral("应用程序向导生成的本地应用程序"), g_appTitle).clear();
    m_dir = std::make_unique<QTemporaryDir>();
    m_prompter = std::make_unique<CFakePrompter>();
    m_files = std::make_unique<CFakeFileDialogs>();
    m_app = std::make_unique<CZelvoApp>();
    QVERIFY(m_app->InitInstance({QStringLiteral("rqvfs-editor")}));
}

void ShellTest::cleanup()
{
    m_app.reset();
    m_files.reset();
    m_prompter.reset();
    m_dir.reset();
    QVERIFY(!g_pVfs);
}

void ShellTest::ShowRoot()
{
    Tree()->SelectItem(Tree()->GetRootItem());
    QVERIFY(Execute(ID_REFRESH_NODE));
}

void ShellTest::SelectNode(const std::string& path)
{
    QTreeWidgetItem* node = FindNode(Tree(), Tree()->GetRootItem(), path);
    QVERIFY2(node, path.c_str());
    Tree()->SelectItem(node);
}

void ShellTest::WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

void ShellTest::startUpShowsAFreshImage()
{
    QCOMPARE(Frame()->windowTitle(), QStringLiteral("NewRqVfs - ") + g_appTitle);
    QCOMPARE(Doc()->GetTitle(), QStringLiteral("NewRqVfs"));
    QVERIFY(!Doc()->IsModified());
    QVERIFY(g_pVfs && g_pVfs->GetRoot());
    QCOMPARE(g_pVfs->GetRoot()->GetFreeSpace(), 61886u);
    QCOMPARE(g_szCurrentPath, std::string("\\"));

    QTreeWidget* tree = Tree()->GetTree();
    QCOMPARE(tree->objectName(), QStringLiteral("1000"));
    QCOMPARE(tree->topLevelItemCount(), 1);
    QCOMPARE(Tree()->GetTopItem()->text(0), QStringLiteral("RQ540 VFS"));
    QCOMPARE(ChildLabels(Tree()->GetTopItem()), QStringList{"ROOT DIR(MF)"});
    QCOMPARE(Tree()->GetRootItem()->childCount(), 0);
    QCOMPARE(Tree()->GetSelectedItem(), Tree()->GetRootItem());

    QCOMPARE(View()->rowCount(), 0);
    QCOMPARE(View()->columnCount(), 4);
    QStringList headings;
    for (int column = 0; column < 4; ++column)
        headings << View()->horizontalHeaderItem(column)->text();
    QCOMPARE(headings, (QStringList{"文件名", "大小/可用空间(字节)", "属性", "状态"}));

    QCOMPARE(PaneText(Frame(), IDS_CURRENT_PATH), QStringLiteral("当前路径：\\"));
    QCOMPARE(PaneText(Frame(), IDS_FREE_SPACE), QStringLiteral("剩余空间 61886 字节"));
    QVERIFY(m_prompter->ShownBoxes().empty());

    // The toolkit's standard buttons speak Chinese too.
    QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    box.show();
    QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("是(&Y)"));
    QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("否(&N)"));
}

void ShellTest::listShowsEntriesInReverseEntryOrderWithTheirColumns()
{
    // Each new entry goes to the head of the folder's list (entry order 0003, 0002, 0001);
    // the list shows the reverse of that order.
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFile(0x0002, FILE_TYPE_EXECUTABLE, 10), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFile(0x0003, FILE_TYPE_PUBLIC_KEY, 20), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFile(0x00AB, 9, 0), RESULT_INVALID_PARAMETER);
    QVERIFY(Execute(ID_REFRESH_VIEW));
    QCOMPARE(g_pVfs->GetFirstEntry()->GetId(), uint16_t(0x0003));

    QCOMPARE(ColumnTexts(View(), 0), (QStringList{"0001", "0002", "0003"}));
    QCOMPARE(ColumnTexts(View(), 1), (QStringList{"1000/898", "10", "20"}));
    QCOMPARE(ColumnTexts(View(), 2), (QStringList{"文件夹", "可执行文件", "公钥文件"}));
    QCOMPARE(ColumnTexts(View(), 3), (QStringList{"", "", ""}));
    QCOMPARE(View()->GetItemData(0)->szPath, std::string("\\0001"));
    QCOMPARE(View()->GetItemData(2)->pHeader, static_cast<CUnknownHeader*>(g_pVfs->FindFile(3)));
    QVERIFY(!View()->item(0, 0)->icon().isNull());

    // Column widths follow the list's client width.
    View()->resize(700, 300);
    const int width = View()->viewport()->width();
    QCOMPARE(View()->columnWidth(0), width - 290);
    QCOMPARE(View()->columnWidth(1), 130);
    QCOMPARE(View()->columnWidth(3), 40);
    QVERIFY(!View()->horizontalHeader()->sectionsClickable());
}

void ShellTest::doubleClickOnAFolderEntersIt()
{
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 4102), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->ChangeDirectory("0001"), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFolder(0x0003, 200), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFile(0x0004, 0, 84), RESULT_SUCCESS);
    ShowRoot();
    QCOMPARE(ColumnTexts(View(), 0), QStringList{"0001"});

    DoubleClickRow(View(), 0);

    QCOMPARE(g_szCurrentPath, std::string("\\0001"));
    QCOMPARE(g_pVfs->GetCurrentFolder()->GetId(), uint16_t(0x0001));
    QCOMPARE(ColumnTexts(View(), 0), (QStringList{"0003", "0004"}));
    QTreeWidgetItem* selected = Tree()->GetSelectedItem();
    QVERIFY(selected);
    QCOMPARE(selected->text(0), QStringLiteral("0001"));
    QVERIFY(selected->isExpanded());
    QCOMPARE(PaneText(Frame(), IDS_CURRENT_PATH), QStringLiteral("当前路径：\\0001"));
    // 4102 - 102 - 200 - (84 + 16)
    QCOMPARE(PaneText(Frame(), IDS_FREE_SPACE), QStringLiteral("剩余空间 3700 字节"));

    // A double-click below the rows does nothing.
    QTest::mouseDClick(View()->viewport(), Qt::LeftButton, {},
                       QPoint(5, View()->viewport()->height() - 5));
    QCOMPARE(g_szCurrentPath, std::string("\\0001"));

    // Backspace goes up (not beyond the root); Enter opens the selected row.
    QTest::keyClick(View(), Qt::Key_Backspace);
    QTest::keyClick(View(), Qt::Key_Backspace);
    QCOMPARE(Tree()->GetSelectedItem(), Tree()->GetRootItem());
    QCOMPARE(PaneText(Frame(), IDS_CURRENT_PATH), QStringLiteral("当前路径：\\"));
    SelectRows(View(), {0});
    QTest::keyClick(View(), Qt::Key_Return);
    QCOMPARE(g_szCurrentPath, std::string("\\0001"));
}

void ShellTest::treeSelectionMovesTheCurrentFolder()
{
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFolder(0x0002, 1000), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->ChangeDirectory("0001"), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFolder(0x0003, 300), RESULT_SUCCESS);
    ShowRoot();
    // Entry order 0002, 0001: each node goes above those inserted before it.
    QCOMPARE(ChildLabels(Tree()->GetRootItem()), (QStringList{"0001", "0002"}));
    QTreeWidgetItem* deep = FindNode(Tree(), Tree()->GetRootItem(), "\\0001\\0003");
    QVERIFY(deep);

    Tree()->SelectItem(deep);
    QCOMPARE(g_szCurrentPath, std::string("\\0001\\0003"));
    QCOMPARE(g_pVfs->GetPath().size(), std::size_t(3));
    QCOMPARE(PaneText(Frame(), IDS_CURRENT_PATH), QStringLiteral("当前路径：\\0001\\0003"));
    QCOMPARE(PaneText(Frame(), IDS_FREE_SPACE), QStringLiteral("剩余空间 198 字节"));
    QCOMPARE(View()->rowCount(), 0);

    // Collapsing 0001 moves the selection up to it; Ctrl+click cannot drop the selection.
    QTreeWidgetItem* branch = deep->parent();
    Tree()->GetTree()->collapseItem(branch);
    QCOMPARE(Tree()->GetSelectedItem(), branch);
    QCOMPARE(ColumnTexts(View(), 0), QStringList{"0003"});
    QTest::mouseClick(Tree()->GetTree()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      Tree()->GetTree()->visualItemRect(branch).center());
    QCOMPARE(Tree()->GetSelectedItem(), branch);

    // The top node stands for the root folder.
    Tree()->SelectItem(Tree()->GetTopItem());
    QCOMPARE(g_szCurrentPath, std::string("\\"));
    QCOMPARE(ColumnTexts(View(), 0), (QStringList{"0001", "0002"}));
}

void ShellTest::copyAndPasteAcrossFolders()
{
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 2000), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFolder(0x0002, 3000), RESULT_SUCCESS);
    FileHandle handle = nullptr;
    QCOMPARE(g_pVfs->CreateFile(0x0005, FILE_TYPE_DATA, 4, &handle), RESULT_SUCCESS);
    const uint8_t bytes[4] = {1, 2, 3, 4};
    QCOMPARE(g_pVfs->WriteFile(handle, 0, 4, bytes), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CloseFile(handle), RESULT_SUCCESS);
    ShowRoot();
    QCOMPARE(ColumnTexts(View(), 0), (QStringList{"0001", "0002", "0005"}));

    // File 0005 and folder 0001 copied together.
    SelectRows(View(), {RowOf(View(), "0005"), RowOf(View(), "0001")});
    QVERIFY(Execute(ID_EDIT_COPY));
    QVERIFY(g_pCopiedEntries);
    QVERIFY(!Doc()->IsModified());

    // Copy remembers entries, not data: an edit after Copy is pasted.
    FileHandle edit = nullptr;
    QCOMPARE(g_pVfs->OpenFile(0x0005, &edit), RESULT_SUCCESS);
    const uint8_t changed = 9;
    QCOMPARE(g_pVfs->WriteFile(edit, 3, 1, &changed), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CloseFile(edit), RESULT_SUCCESS);

    SelectNode("\\0002");
    QCOMPARE(View()->rowCount(), 0);
    QVERIFY(Execute(ID_EDIT_PASTE));
    QVERIFY(m_prompter->ShownBoxes().empty());
    QVERIFY(Doc()->IsModified());
    QCOMPARE(g_szCurrentPath, std::string("\\0002"));
    QCOMPARE(ColumnTexts(View(), 0), (QStringList{"0001", "0005"}));
    QCOMPARE(ColumnTexts(View(), 1), (QStringList{"2000/1898", "4"}));
    const CFileHeader* pasted = g_pVfs->FindFile(0x0005);
    QVERIFY(pasted);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(pasted->GetData()), 4),
             QByteArray("\x01\x02\x03\x09", 4));
    // The pasted folder appears in the tree below 0002.
    QVERIFY(FindNode(Tree(), Tree()->GetRootItem(), "\\0002\\0001"));
    QCOMPARE(Tree()->GetSelectedItem()->text(0), QStringLiteral("0002"));
    // 3000 - 102 - 2000 - 20
    QCOMPARE(g_pVfs->GetCurrentFolder()->GetFreeSpace(), 878u);
}

void ShellTest::pasteRefusedByTheCoreIsReportedPerEntry()
{
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 2000), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFile(0x0005, 0, 4), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFile(0x0006, 0, 4), RESULT_SUCCESS);
    ShowRoot();
    SelectRows(View(), {RowOf(View(), "0006"), RowOf(View(), "0005")});
    QVERIFY(Execute(ID_EDIT_COPY));
    View()->clearSelection();

    // Both IDs exist here already: each is refused and reported, and the loop goes on.
    QVERIFY(Execute(ID_EDIT_PASTE));
    QCOMPARE(m_prompter->ShownBoxes().size(), std::size_t(2));
    for (const auto& box : m_prompter->ShownBoxes()) {
        QCOMPARE(box.text, QStringLiteral("粘贴操作失败, 错误信息：文件或子目录已存在!"));
        QCOMPARE(box.caption, g_appTitle);
        QCOMPARE(box.icon, IPrompter::Icon::Warning);
        QCOMPARE(box.buttons, IPrompter::Buttons::Ok);
    }
    QVERIFY(!Doc()->IsModified());
    QCOMPARE(View()->rowCount(), 3);
}

void ShellTest::pasteOfAnEntryThatIsGoneIsRefused()
{
    const QString gone = QStringLiteral("粘贴操作出错，无法从原始位置读数据！");
    QCOMPARE(g_pVfs->CreateFolder(0x0002, 3000), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFile(0x0006, 0, 4), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFile(0x0005, 0, 4), RESULT_SUCCESS);
    ShowRoot();
    // 0006 (still there) is pasted before 0005 (deleted) stops the loop.
    SelectRows(View(), {RowOf(View(), "0006"), RowOf(View(), "0005")});
    QVERIFY(Execute(ID_EDIT_COPY));
    SelectRows(View(), {RowOf(View(), "0005")});
    m_prompter->QueueAnswer(IPrompter::Answer::Yes);
    QVERIFY(Execute(ID_DELETE));
    // A new 0005 at the same place is another entry.
    QCOMPARE(g_pVfs->CreateFile(0x0005, 0, 4), RESULT_SUCCESS);
    m_prompter->Clear();

    SelectNode("\\0002");
    QVERIFY(Execute(ID_EDIT_PASTE));
    QCOMPARE(m_prompter->LastText(), gone);
    QCOMPARE(m_prompter->ShownBoxes().size(), std::size_t(1));
    QCOMPARE(ColumnTexts(View(), 0), QStringList{"0006"});

    // After New nothing of the old image is read.
    SelectRows(View(), {0});
    QVERIFY(Execute(ID_EDIT_COPY));
    m_prompter->QueueAnswer(IPrompter::Answer::No);
    QVERIFY(Execute(ID_FILE_NEW));
    m_prompter->Clear();
    QVERIFY(IsEnabled(ID_EDIT_PASTE));
    QVERIFY(Execute(ID_EDIT_PASTE));
    QCOMPARE(m_prompter->LastText(), gone);
    QCOMPARE(g_pVfs->GetFirstEntry(), nullptr);
    QVERIFY(!Doc()->IsModified());
}

void ShellTest::deleteAsksAndRemovesTheSelectedRows()
{
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFile(0x0002, 0, 10), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFile(0x0003, 0, 10), RESULT_SUCCESS);
    ShowRoot();
    SelectRows(View(), {RowOf(View(), "0001"), RowOf(View(), "0003")});

    m_prompter->QueueAnswer(IPrompter::Answer::No);
    QVERIFY(Execute(ID_DELETE));
    QCOMPARE(m_prompter->ShownBoxes().size(), std::size_t(1));
    const auto& box = m_prompter->ShownBoxes().front();
    QCOMPARE(box.caption, QStringLiteral("询问"));
    QCOMPARE(box.text, QStringLiteral("确实要删除这些文件(文件夹)么? "));
    QCOMPARE(box.icon, IPrompter::Icon::Question);
    QCOMPARE(box.buttons, IPrompter::Buttons::YesNo);
    QCOMPARE(View()->rowCount(), 3);
    QVERIFY(!Doc()->IsModified());

    m_prompter->QueueAnswer(IPrompter::Answer::Yes);
    QVERIFY(Execute(ID_DELETE));
    QVERIFY(Doc()->IsModified());
    QCOMPARE(ColumnTexts(View(), 0), QStringList{"0002"});
    QCOMPARE(Tree()->GetRootItem()->childCount(), 0);
    QCOMPARE(g_pVfs->GetRoot()->GetFreeSpace(), 61886u - 26u);
    QCOMPARE(PaneText(Frame(), IDS_FREE_SPACE), QStringLiteral("剩余空间 61860 字节"));
}

void ShellTest::deleteKeyFollowsTheListsRule()
{
    QCOMPARE(g_pVfs->CreateFile(0x0002, 0, 10), RESULT_SUCCESS);
    ShowRoot();
    Frame()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Frame()));
    View()->setFocus();

    View()->clearSelection();
    Frame()->GetRouter().UpdateActions();
    QTest::keyClick(View(), Qt::Key_Delete);
    QVERIFY(m_prompter->ShownBoxes().empty());

    SelectRows(View(), {0});
    m_prompter->QueueAnswer(IPrompter::Answer::Yes);
    QTest::keyClick(View(), Qt::Key_Delete);
    QCOMPARE(m_prompter->LastText(), QStringLiteral("确实要删除这些文件(文件夹)么? "));
    QCOMPARE(View()->rowCount(), 0);

    // Ctrl+X is cut, which does nothing; Ctrl+C copies through the same routing.
    QCOMPARE(g_pVfs->CreateFile(0x0007, 0, 10), RESULT_SUCCESS);
    QVERIFY(Execute(ID_REFRESH_VIEW));
    SelectRows(View(), {0});
    QTest::keyClick(View(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(View()->rowCount(), 1);
    QVERIFY(!g_pCopiedEntries);
    QTest::keyClick(View(), Qt::Key_C, Qt::ControlModifier);
    QVERIFY(g_pCopiedEntries);
    // Ctrl+Delete, as the context menu shows it, deletes too.
    m_prompter->QueueAnswer(IPrompter::Answer::Yes);
    QTest::keyClick(View(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(View()->rowCount(), 0);
}

void ShellTest::treeDeleteFolder()
{
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFolder(0x0002, 1000), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->ChangeDirectory("0001"), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFolder(0x0003, 300), RESULT_SUCCESS);
    ShowRoot();

    QVERIFY(!IsEnabled(ID_DELETE_FOLDER));
    Tree()->SelectItem(Tree()->GetTopItem());
    QVERIFY(!IsEnabled(ID_DELETE_FOLDER));
    SelectNode("\\0001");
    QVERIFY(IsEnabled(ID_DELETE_FOLDER));

    QVERIFY(Execute(ID_DELETE_FOLDER));
    QCOMPARE(m_prompter->LastText(), QStringLiteral("确实要删除该目录么? "));
    QCOMPARE(m_prompter->ShownBoxes().back().caption, QStringLiteral("询问"));
    QCOMPARE(m_prompter->ShownBoxes().back().buttons, IPrompter::Buttons::YesNo);
    QVERIFY(g_pVfs->GetRoot()->GetFirstChild()->GetNext());
    QCOMPARE(g_szCurrentPath, std::string("\\0001"));

    m_prompter->QueueAnswer(IPrompter::Answer::Yes);
    QVERIFY(Execute(ID_DELETE_FOLDER));
    QCOMPARE(ChildLabels(Tree()->GetRootItem()), QStringList{"0002"});
    QVERIFY(!FindNode(Tree(), Tree()->GetRootItem(), "\\0001\\0003"));
    QCOMPARE(Tree()->GetSelectedItem(), Tree()->GetRootItem());
    QCOMPARE(g_szCurrentPath, std::string("\\"));
    QCOMPARE(ColumnTexts(View(), 0), QStringList{"0002"});
    QCOMPARE(g_pVfs->GetRoot()->GetFreeSpace(), 61886u - 1000u);
    // The image changed: closing must offer to save it.
    QVERIFY(Doc()->IsModified());
}

void ShellTest::eraseRoot()
{
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFile(0x0002, 0, 10), RESULT_SUCCESS);
    ShowRoot();
    SelectNode("\\0001");
    const std::vector<uint8_t> before = ImageBytes();

    QVERIFY(IsEnabled(ID_ERASE_ROOT));
    QVERIFY(Execute(ID_ERASE_ROOT));
    QCOMPARE(m_prompter->LastText(),
             QStringLiteral("擦除根目录将导致整个虚拟文件系统清空, 确实要擦除么? "));
    QVERIFY(ImageBytes() == before);
    QVERIFY(!Doc()->IsModified());
    QCOMPARE(g_szCurrentPath, std::string("\\0001"));

    m_prompter->QueueAnswer(IPrompter::Answer::Yes);
    QVERIFY(Execute(ID_ERASE_ROOT));
    QCOMPARE(Tree()->GetTopItem()->childCount(), 1);
    QCOMPARE(Tree()->GetRootItem()->childCount(), 0);
    QCOMPARE(Tree()->GetSelectedItem(), Tree()->GetRootItem());
    QCOMPARE(g_szCurrentPath, std::string("\\"));
    QCOMPARE(View()->rowCount(), 0);
    QCOMPARE(g_pVfs->GetRoot()->GetFreeSpace(), 61886u);
    QVERIFY(Doc()->IsModified());
    QCOMPARE(PaneText(Frame(), IDS_CURRENT_PATH), QStringLiteral("当前路径：\\"));

    // Again with the root node selected, so no new path is announced.
    QCOMPARE(g_pVfs->CreateFile(0x0002, 0, 84), RESULT_SUCCESS);
    ShowRoot();
    m_prompter->QueueAnswer(IPrompter::Answer::Yes);
    QVERIFY(Execute(ID_ERASE_ROOT));
    QCOMPARE(PaneText(Frame(), IDS_FREE_SPACE), QStringLiteral("剩余空间 61886 字节"));
}

void ShellTest::enablingFollowsSelectionAndCopiedEntries()
{
    QCOMPARE(g_pVfs->CreateFile(0x0002, 0, 10), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    ShowRoot();
    const int folderRow = RowOf(View(), "0001");
    const int fileRow = RowOf(View(), "0002");
    QCOMPARE(fileRow, 0);

    View()->clearSelection();
    QVERIFY(!IsEnabled(ID_EDIT_PASTE));
    QVERIFY(!IsEnabled(ID_DELETE));
    QVERIFY(!IsEnabled(ID_EDIT_COPY));
    QVERIFY(!IsEnabled(ID_OPEN));
    QVERIFY(IsEnabled(ID_REFRESH_VIEW));
    QVERIFY(IsEnabled(ID_EDIT_CUT));

    SelectRows(View(), {fileRow});
    QVERIFY(IsEnabled(ID_DELETE));
    QVERIFY(IsEnabled(ID_EDIT_COPY));
    QVERIFY(Execute(ID_EDIT_COPY));
    // Something is copied: paste goes into the current folder unless a file row leads the
    // selection.
    QVERIFY(!IsEnabled(ID_EDIT_PASTE));
    SelectRows(View(), {folderRow, fileRow});
    QVERIFY(!IsEnabled(ID_EDIT_PASTE));
    SelectRows(View(), {folderRow});
    QVERIFY(IsEnabled(ID_EDIT_PASTE));
    View()->clearSelection();
    QVERIFY(IsEnabled(ID_EDIT_PASTE));

    // The menu item follows the rule once its menu is about to show.
    QAction* pasteItem = nullptr;
    for (QMenu* menu : Frame()->menuBar()->findChildren<QMenu*>()) {
        for (QAction* action : menu->actions()) {
            if (action->data().toInt() == ID_EDIT_PASTE)
                pasteItem = action;
        }
    }
    QVERIFY(pasteItem);
    SelectRows(View(), {fileRow});
    QVERIFY(!pasteItem->isEnabled());
    View()->clearSelection();
    QVERIFY(pasteItem->isEnabled());

    // Commands without a handler anywhere are disabled.
    for (int id : {ID_EDIT_UNDO, ID_NEXT_PANE, ID_COMMAND_32773, ID_COMMAND_32774})
        QVERIFY2(!IsEnabled(id), qPrintable(QString::number(id)));
}

void ShellTest::entryCommandsPlugInThroughTheirTable()
{
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFile(0x0002, 0, 10), RESULT_SUCCESS);
    ShowRoot();
    const int folderRow = RowOf(View(), "0001");
    const int fileRow = RowOf(View(), "0002");

    // The router finds each of them in the entry commands' table, with its handler; a
    // command without one stays disabled (ShellRoutingTest).
    SelectRows(View(), {fileRow});
    const CCommandTable& table = Frame()->GetEntryCommands()->GetCommandTable();
    for (int id : {ID_NEW_FOLDER, ID_NEW_FILE, ID_IMPORT, ID_EXPORT, ID_EDIT_FILE,
                   ID_HARDWARE_INFO}) {
        QVERIFY2(table.Find(id) && table.Find(id)->handler, qPrintable(QString::number(id)));
        QCOMPARE(Frame()->GetRouter().FindOwner(id), table.Find(id));
        QVERIFY2(IsEnabled(id), qPrintable(QString::number(id)));
    }

    // Each command that runs shows its dialog, noted with the first selected row.
    QStringList ran;
    const auto noteNextDialog = [&ran, this] {
        QTimer::singleShot(0, this, [&ran, this] {
            QWidget* dialog = QApplication::activeModalWidget();
            const EntryItemData* record = View()->GetFirstSelectedItemData();
            ran << QStringLiteral("%1 %2").arg(
                       dialog ? dialog->metaObject()->className() : "none",
                       QString::fromStdString(record ? record->szPath : std::string("-")));
            if (dialog)
                dialog->close();
        });
    };
    SelectRows(View(), {folderRow, fileRow});
    QVERIFY(!IsEnabled(ID_EXPORT));
    QVERIFY(!IsEnabled(ID_EDIT_FILE));
    View()->clearSelection();
    QVERIFY(!IsEnabled(ID_EXPORT));
    QVERIFY(IsEnabled(ID_NEW_FOLDER));
    noteNextDialog();
    QVERIFY(Execute(ID_NEW_FOLDER));

    // Open, and a double-click, on a file row edit it.
    SelectRows(View(), {fileRow});
    noteNextDialog();
    QVERIFY(Execute(ID_OPEN));
    noteNextDialog();
    DoubleClickRow(View(), fileRow);
    QCOMPARE(ran, (QStringList{"CNewFolderDialog -", "CEditFileDialog \\0002",
                               "CEditFileDialog \\0002"}));
    QVERIFY(!Doc()->IsModified());
}

void ShellTest::contextMenusFollowTheSameRules()
{
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    ShowRoot();
    SelectRows(View(), {0});
    CCommandRouter& router = Frame()->GetRouter();
    const std::unique_ptr<QMenu> list = router.CreatePopupMenu(ListContextMenu(), View());
    const std::unique_ptr<QMenu> tree = router.CreatePopupMenu(TreeContextMenu(), Tree());
    int items = 0;
    for (QMenu* menu : {list.get(), tree.get()}) {
        for (QAction* action : menu->actions()) {
            if (action->isSeparator())
                continue;
            ++items;
            QCOMPARE(action->isEnabled(), IsEnabled(action->data().toInt()));
        }
    }
    QCOMPARE(items, 10 + 4);
    QVERIFY(!IsEnabled(ID_DELETE_FOLDER));
    QVERIFY(IsEnabled(ID_OPEN));
}

void ShellTest::openingAnInvalidImageKeepsTheOldOne()
{
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    ShowRoot();
    SelectNode("\\0001");
    Doc()->SetModifiedFlag();
    const RQ540::CRQ540Vfs* old = g_pVfs.get();
    const QString bad = TempPath("bad.rqfs");
    WriteFile(bad, QByteArray(100, '\xFF'));

    m_files->QueuePath(bad);
    m_prompter->QueueAnswer(IPrompter::Answer::No);
    QVERIFY(Execute(ID_FILE_OPEN));
    QCOMPARE(m_prompter->ShownBoxes().size(), std::size_t(2));
    QCOMPARE(m_prompter->ShownBoxes()[0].text, QStringLiteral("是否将改动保存到 NewRqVfs？"));
    QCOMPARE(m_prompter->LastText(), QStringLiteral("打开文件操作失败, 错误信息：无效的文件格式!"));
    QCOMPARE(m_prompter->ShownBoxes().back().icon, IPrompter::Icon::Warning);
    QVERIFY(m_files->AskedDialogs().front().filter.startsWith(
        QStringLiteral("RQ540虚拟文件系统文件 (*.rqfs)")));

    QCOMPARE(g_pVfs.get(), old);
    QCOMPARE(Doc()->GetTitle(), QStringLiteral("NewRqVfs"));
    QVERIFY(Doc()->IsModified());
    QCOMPARE(g_szCurrentPath, std::string("\\0001"));
    QCOMPARE(Tree()->GetSelectedItem()->text(0), QStringLiteral("0001"));
    QVERIFY(m_app->GetRecentFileList().GetFiles().isEmpty());

    // A file that cannot be opened at all is reported the same way.
    m_files->QueuePath(TempPath("missing.rqfs"));
    m_prompter->QueueAnswer(IPrompter::Answer::No);
    QVERIFY(Execute(ID_FILE_OPEN));
    QCOMPARE(m_prompter->LastText(),
             QStringLiteral("打开文件操作失败, 错误信息：打开文件失败!\n原因：文件或文件夹不存在"));
    QCOMPARE(g_pVfs.get(), old);
}

void ShellTest::saveThenOpenGivesTheSameTree()
{
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 3000), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFolder(0x0002, 500), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->ChangeDirectory("0001"), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFolder(0x0003, 400), RESULT_SUCCESS);
    FileHandle handle = nullptr;
    QCOMPARE(g_pVfs->CreateFile(0x0004, FILE_TYPE_DATA, 3, &handle), RESULT_SUCCESS);
    const uint8_t bytes[3] = {7, 8, 9};
    QCOMPARE(g_pVfs->WriteFile(handle, 0, 3, bytes), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CloseFile(handle), RESULT_SUCCESS);
    ShowRoot();
    Doc()->SetModifiedFlag();
    const std::vector<uint8_t> saved = ImageBytes();

    // Save without a file asks for one, proposing the title, and adds the extension.
    const QString path = TempPath("layout");
    m_files->QueuePath(path);
    QVERIFY(Execute(ID_FILE_SAVE));
    QCOMPARE(m_files->AskedDialogs().size(), std::size_t(1));
    QVERIFY(m_files->AskedDialogs()[0].save);
    QCOMPARE(m_files->AskedDialogs()[0].directory, QStringLiteral("NewRqVfs.rqfs"));
    QVERIFY(QFile::exists(path + ".rqfs"));
    QVERIFY(!Doc()->IsModified());
    QCOMPARE(Frame()->windowTitle(), QStringLiteral("layout.rqfs - ") + g_appTitle);

    QVERIFY(Execute(ID_FILE_NEW));
    QVERIFY(m_prompter->ShownBoxes().empty());
    QCOMPARE(Tree()->GetRootItem()->childCount(), 0);
    QCOMPARE(g_pVfs->GetFirstEntry(), nullptr);
    QCOMPARE(Frame()->windowTitle(), QStringLiteral("NewRqVfs - ") + g_appTitle);

    m_files->QueuePath(path + ".rqfs");
    QVERIFY(Execute(ID_FILE_OPEN));
    QVERIFY(ImageBytes() == saved);
    QCOMPARE(g_szCurrentPath, std::string("\\"));
    QCOMPARE(Tree()->GetSelectedItem(), Tree()->GetRootItem());
    QCOMPARE(ChildLabels(Tree()->GetRootItem()), (QStringList{"0001", "0002"}));
    QVERIFY(FindNode(Tree(), Tree()->GetRootItem(), "\\0001\\0003"));
    QCOMPARE(ColumnTexts(View(), 0), (QStringList{"0001", "0002"}));
    QCOMPARE(Frame()->windowTitle(), QStringLiteral("layout.rqfs - ") + g_appTitle);
    QVERIFY(!Doc()->IsModified());

    // Opening again while a sub-folder is selected rebuilds everything from the root.
    SelectNode("\\0001\\0003");
    m_files->QueuePath(path + ".rqfs");
    QVERIFY(Execute(ID_FILE_OPEN));
    QCOMPARE(Tree()->GetSelectedItem(), Tree()->GetRootItem());
    QCOMPARE(g_szCurrentPath, std::string("\\"));
    QCOMPARE(g_pVfs->GetPath().size(), std::size_t(1));
    QVERIFY(ImageBytes() == saved);

    // Save to the document's own file asks nothing.
    QVERIFY(Execute(ID_FILE_SAVE));
    QCOMPARE(m_files->AskedDialogs().size(), std::size_t(3));
}

void ShellTest::newAsksToSaveAModifiedImage()
{
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    ShowRoot();
    Doc()->SetModifiedFlag();

    m_prompter->QueueAnswer(IPrompter::Answer::Cancel);
    QVERIFY(Execute(ID_FILE_NEW));
    const auto& box = m_prompter->ShownBoxes().back();
    QCOMPARE(box.text, QStringLiteral("是否将改动保存到 NewRqVfs？"));
    QCOMPARE(box.buttons, IPrompter::Buttons::YesNoCancel);
    QCOMPARE(box.caption, g_appTitle);
    QVERIFY(Doc()->IsModified());
    QVERIFY(g_pVfs->FindFolder(0x0001));

    // Yes saves first (through Save As, the image having no file yet).
    const QString path = TempPath("kept.rqfs");
    m_prompter->QueueAnswer(IPrompter::Answer::Yes);
    m_files->QueuePath(path);
    QVERIFY(Execute(ID_FILE_NEW));
    QVERIFY(QFile::exists(path));
    QCOMPARE(g_pVfs->GetFirstEntry(), nullptr);
    QVERIFY(!Doc()->IsModified());

    // Closing a modified image asks as well; No lets it go.
    QCOMPARE(g_pVfs->CreateFolder(0x0009, 1000), RESULT_SUCCESS);
    Doc()->SetModifiedFlag();
    m_prompter->Clear();
    m_prompter->QueueAnswer(IPrompter::Answer::Cancel);
    QVERIFY(!Frame()->close());
    QVERIFY(g_pVfs);
    m_prompter->QueueAnswer(IPrompter::Answer::No);
    QVERIFY(Frame()->close());
    QVERIFY(!g_pVfs);
    QCOMPARE(m_prompter->ShownBoxes().size(), std::size_t(2));
}

void ShellTest::recentFilesKeepTheLatestFour()
{
    QStringList paths;
    for (int index = 1; index <= 5; ++index) {
        paths << TempPath(QStringLiteral("image%1.rqfs").arg(index));
        m_files->QueuePath(paths.back());
        QVERIFY(Execute(ID_FILE_SAVE_AS));
    }
    // Opening an older one moves it to the top.
    m_files->QueuePath(paths[2]);
    QVERIFY(Execute(ID_FILE_OPEN));
    const QStringList expected{paths[2], paths[4], paths[3], paths[1]};
    QCOMPARE(m_app->GetRecentFileList().GetFiles(), expected);

    QSettings settings(QStringLiteral("应用程序向导生成的本地应用程序"), g_appTitle);
    settings.beginGroup(QStringLiteral("Recent File List"));
    QCOMPARE(settings.childKeys().size(), 4);
    for (int index = 0; index < 4; ++index)
        QCOMPARE(settings.value(QStringLiteral("File%1").arg(index + 1)).toString(), expected[index]);
    settings.endGroup();

    QStringList items;
    for (QAction* action : Frame()->GetFileMenu()->actions()) {
        const int id = action->data().toInt();
        if (id >= ID_RECENT_FILE1 && id < ID_RECENT_FILE1 + RECENT_FILE_COUNT)
            items << action->text();
    }
    QCOMPARE(items.size(), 4);
    QCOMPARE(items[0], QStringLiteral("&1 ") + QDir::toNativeSeparators(paths[2]));

    // A recent file opens from its menu entry; one that is no longer an image leaves the list.
    QVERIFY(Execute(ID_RECENT_FILE1 + 3));
    QCOMPARE(Doc()->GetPathName(), paths[1]);
    QVERIFY(QFile::remove(paths[3]));
    QVERIFY(Execute(ID_RECENT_FILE1 + 3));
    QCOMPARE(m_prompter->LastText(),
             QStringLiteral("打开文件操作失败, 错误信息：打开文件失败!\n原因：文件或文件夹不存在"));
    QCOMPARE(m_app->GetRecentFileList().GetFiles(), (QStringList{paths[1], paths[2], paths[4]}));
    QVERIFY(!IsEnabled(ID_RECENT_FILE1 + 3));

    // A new start reads the list back.
    m_app = std::make_unique<CZelvoApp>();
    QVERIFY(m_app->InitInstance({QStringLiteral("rqvfs-editor")}));
    QCOMPARE(m_app->GetRecentFileList().GetFiles(), (QStringList{paths[1], paths[2], paths[4]}));
}

void ShellTest::failedSaveKeepsTheImageModified()
{
    const QString path = TempPath("image.rqfs");
    m_files->QueuePath(path);
    QVERIFY(Execute(ID_FILE_SAVE_AS));
    const QByteArray original = [&] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    QCOMPARE(original.size(), 63);

    QCOMPARE(g_pVfs->CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    Doc()->SetModifiedFlag();
    // The file's place is taken by a folder now: the image cannot be written there.
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir(m_dir->path()).mkdir("image.rqfs"));
    QVERIFY(Execute(ID_FILE_SAVE));
    QCOMPARE(m_prompter->LastText(),
             QStringLiteral("保存文件操作失败, 错误信息：文件操作失败!\n原因：不是普通文件"));
    QCOMPARE(m_prompter->ShownBoxes().back().icon, IPrompter::Icon::Warning);
    QVERIFY(Doc()->IsModified());

    // Save As into a folder that does not exist: refused, nothing adopted.
    m_files->QueuePath(TempPath("no/such/folder/x.rqfs"));
    QVERIFY(Execute(ID_FILE_SAVE_AS));
    QCOMPARE(m_prompter->LastText(),
             QStringLiteral("保存文件操作失败, 错误信息：打开文件失败!\n原因：文件或文件夹不存在"));
    QVERIFY(Doc()->IsModified());
    QCOMPARE(Doc()->GetPathName(), path);

    // Closing still asks.
    m_prompter->Clear();
    m_prompter->QueueAnswer(IPrompter::Answer::Cancel);
    QVERIFY(!Frame()->close());
    QCOMPARE(m_prompter->LastText(), QStringLiteral("是否将改动保存到 %1？").arg(path));
}

void ShellTest::saveOnAFullDiskSaysSo()
{
    const QString path = TempPath("full.rqfs");
    m_files->QueuePath(path);
    QVERIFY(Execute(ID_FILE_SAVE_AS));
    QCOMPARE(g_pVfs->CreateFile(0x0001, 0, 5000), RESULT_SUCCESS);
    Doc()->SetModifiedFlag();
    // Past the file size limit a write fails as on a full disk.
    rlimit unlimited;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &unlimited), 0);
    const rlimit full{4096, unlimited.rlim_max};
    const auto previous = signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &full), 0);
    const bool executed = Execute(ID_FILE_SAVE);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &unlimited), 0);
    signal(SIGXFSZ, previous);
    QVERIFY(executed);
    QCOMPARE(m_prompter->LastText(),
             QStringLiteral("保存文件操作失败, 错误信息：文件操作失败!\n原因：磁盘已满"));
    QVERIFY(Doc()->IsModified());
    QCOMPARE(QFileInfo(path).size(), 63);
}

// Another program rewrote the document's file: No leaves its work alone, Yes overwrites.
void ShellTest::saveAsksBeforeOverwritingAFileChangedOnDisk()
{
    const QString path = TempPath("shared.rqfs");
    m_files->QueuePath(path);
    QVERIFY(Execute(ID_FILE_SAVE_AS));
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    Doc()->SetModifiedFlag();
    const QByteArray theirs(100, 'x');
    WriteFile(path, theirs);

    QVERIFY(Execute(ID_FILE_SAVE));
    QCOMPARE(m_prompter->ShownBoxes().size(), std::size_t(1));
    QVERIFY(m_prompter->LastText().startsWith(QStringLiteral("文件已被其他程序修改：") + path));
    QCOMPARE(m_prompter->ShownBoxes().back().buttons, IPrompter::Buttons::YesNo);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), theirs);
    file.close();
    QVERIFY(Doc()->IsModified());

    {
        // A command-line run holding the image: the save waits a moment, then gives up.
        CImageLock lock;
        QCOMPARE(lock.Acquire(path.toStdString(), std::chrono::milliseconds(0)),
                 CImageLock::ACQUIRED);
        m_prompter->QueueAnswer(IPrompter::Answer::Yes);
        QVERIFY(Execute(ID_FILE_SAVE));
        QVERIFY(m_prompter->LastText().startsWith(QStringLiteral("文件正被其他程序修改：")));
        QCOMPARE(m_prompter->ShownBoxes().size(), std::size_t(3));
        QVERIFY(Doc()->IsModified());
    }

    m_prompter->QueueAnswer(IPrompter::Answer::Yes);
    QVERIFY(Execute(ID_FILE_SAVE));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    QVERIFY(std::vector<uint8_t>(saved.begin(), saved.end()) == ImageBytes());
    QVERIFY(!Doc()->IsModified());
    // The file is as this document wrote it: the next save asks nothing.
    m_prompter->Clear();
    QVERIFY(Execute(ID_FILE_SAVE));
    QVERIFY(m_prompter->ShownBoxes().empty());
}

// A FIFO opened as an image is refused at once; a save that cannot replace the image
// says why.
void ShellTest::fileProblemsAreRefusedWithTheirReason()
{
    const QString fifo = TempPath("fifo.rqfs");
    QCOMPARE(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const CFifoUnblocker unblocker(fifo.toStdString());
    m_files->QueuePath(fifo);
    QVERIFY(Execute(ID_FILE_OPEN));
    QCOMPARE(m_prompter->LastText(),
             QStringLiteral("打开文件操作失败, 错误信息：打开文件失败!\n原因：不是普通文件"));
    QCOMPARE(Doc()->GetTitle(), QStringLiteral("NewRqVfs"));

    const QString path = TempPath("linked.rqfs");
    m_files->QueuePath(path);
    QVERIFY(Execute(ID_FILE_SAVE_AS));
    QCOMPARE(link(path.toLocal8Bit().constData(), TempPath("other.rqfs").toLocal8Bit().constData()),
             0);
    QVERIFY(Execute(ID_FILE_SAVE));
    QVERIFY(m_prompter->LastText().startsWith(
        QStringLiteral("保存文件操作失败, 错误信息：打开文件失败!\n原因：文件还有其他硬链接")));
}

void ShellTest::changePasswordStoresFixedFieldsAndMarksModified()
{
    CFolderHeader* folder = nullptr;
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 1000, &folder), RESULT_SUCCESS);
    ShowRoot();
    struct Call {
        bool bRoot;
        QString developer;
        QString user;
    };
    std::vector<Call> calls;
    bool accept = false;
    Frame()->GetTreeCommands()->SetPasswordDialog(
        [&](QWidget*, bool bRoot, QString& developer, QString& user) {
            calls.push_back({bRoot, developer, user});
            developer = QStringLiteral("abcde");
            user = QString();
            return accept;
        });

    SelectNode("\\0001");
    QVERIFY(Execute(ID_CHANGE_PASSWORD));
    QCOMPARE(calls.size(), std::size_t(1));
    QVERIFY(!calls[0].bRoot);
    QCOMPARE(calls[0].developer, QStringLiteral("582936145829361458293614"));
    QCOMPARE(calls[0].user, QStringLiteral("73920184"));
    QVERIFY(!Doc()->IsModified());

    accept = true;
    QVERIFY(Execute(ID_CHANGE_PASSWORD));
    uint8_t developer[24];
    uint8_t user[8];
    folder->GetDeveloperPassword(developer);
    folder->GetUserPassword(user);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(developer), 24),
             QByteArray("abcde") + QByteArray(19, '\0'));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(user), 8), QByteArray(8, '\0'));
    QVERIFY(Doc()->IsModified());

    // The top node stands for the root folder, which the dialog is told.
    Tree()->SelectItem(Tree()->GetTopItem());
    QVERIFY(Execute(ID_CHANGE_PASSWORD));
    QVERIFY(calls.back().bRoot);
    g_pVfs->GetRoot()->GetDeveloperPassword(developer);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(developer), 5), QByteArray("abcde"));
}

void ShellTest::foldersNestedDeeperThanAnyFixedBufferAreReachable()
{
    // 30 folders inside each other, as only an image read from disk can hold them.
    constexpr int depth = 30;
    const uint8_t user[8] = {};
    const uint8_t developer[24] = {};
    auto* root = new CFolderHeader(ROOT_FOLDER_ID, 0, user, developer, 0, nullptr);
    CFolderHeader* parent = root;
    for (int level = 1; level <= depth; ++level) {
        const uint32_t freeSpace = level == depth ? 61988u - 102u * (depth + 1) - 16u : 0u;
        auto* child = new CFolderHeader(uint16_t(0x0A00 + level), freeSpace, user, developer, 0,
                                        nullptr);
        *parent->GetFirstChildLink() = child;
        parent = child;
    }
    *parent->GetFirstChildLink() = CFileHeader::Create(0x00F1, FILE_TYPE_DATA, 0, nullptr);
    const QString path = TempPath("deep.rqfs");
    VfsArchive::WriteImage(path.toStdString(), root, 0);
    delete root;

    QVERIFY(m_app->OpenDocumentFile(path));
    QVERIFY(m_prompter->ShownBoxes().empty());
    std::string deepest;
    for (int level = 1; level <= depth; ++level)
        deepest += "\\" + QStringLiteral("%1").arg(0x0A00 + level, 4, 16, QLatin1Char('0'))
                             .toUpper().toStdString();
    QCOMPARE(deepest.size(), std::size_t(5 * depth));

    SelectNode(deepest);
    QCOMPARE(g_szCurrentPath, deepest);
    QCOMPARE(g_pVfs->GetPath().size(), std::size_t(depth + 1));
    QCOMPARE(ColumnTexts(View(), 0), QStringList{"00F1"});
    QCOMPARE(PaneText(Frame(), IDS_CURRENT_PATH),
             QStringLiteral("当前路径：") + QString::fromStdString(deepest));

    // Entering the last-but-one folder from its parent's list works the same way.
    SelectNode(deepest.substr(0, deepest.size() - 10));
    DoubleClickRow(View(), 0);
    QCOMPARE(g_szCurrentPath, deepest.substr(0, deepest.size() - 5));
    QCOMPARE(View()->GetItemData(0)->szPath, deepest);
}

void ShellTest::commandLineAndDroppedFilesOpenDocuments()
{
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    const QString first = TempPath("first.rqfs");
    m_files->QueuePath(first);
    QVERIFY(Execute(ID_FILE_SAVE_AS));
    QCOMPARE(g_pVfs->CreateFolder(0x0002, 1000), RESULT_SUCCESS);
    const QString second = TempPath("second.rqfs");
    m_files->QueuePath(second);
    QVERIFY(Execute(ID_FILE_SAVE_AS));

    SetStartFolder(QString());
    m_app = std::make_unique<CZelvoApp>();
    QVERIFY(m_app->InitInstance({QStringLiteral("rqvfs-editor"), first}));
    QCOMPARE(Frame()->windowTitle(), QStringLiteral("first.rqfs - ") + g_appTitle);
    // File dialogs start in the document's folder, later where a file was last chosen.
    QVERIFY(Execute(ID_FILE_OPEN));
    QCOMPARE(m_files->AskedDialogs().back().directory, m_dir->path());
    m_files->QueuePath(QDir::rootPath() + QStringLiteral("absent.rqfs"));
    QVERIFY(Execute(ID_FILE_OPEN));
    QVERIFY(Execute(ID_FILE_OPEN));
    QCOMPARE(m_files->AskedDialogs().back().directory, QDir::rootPath());
    QCOMPARE(ChildLabels(Tree()->GetRootItem()), QStringList{"0001"});
    QCOMPARE(ColumnTexts(View(), 0), QStringList{"0001"});

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(second)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame(), &drop);
    QCOMPARE(Frame()->windowTitle(), QStringLiteral("second.rqfs - ") + g_appTitle);
    QCOMPARE(ChildLabels(Tree()->GetRootItem()), (QStringList{"0001", "0002"}));

    // A command-line file that is no image ends the start with the report.
    const QString bad = TempPath("bad.rqfs");
    WriteFile(bad, QByteArray(8, '\0'));
    m_app = std::make_unique<CZelvoApp>();
    QVERIFY(!m_app->InitInstance({QStringLiteral("rqvfs-editor"), bad}));
    QCOMPARE(m_prompter->LastText(), QStringLiteral("打开文件操作失败, 错误信息：文件操作失败!"));
}

void ShellTest::treePanelAndStatusBarToggle()
{
    QVERIFY(QTest::qWaitForWindowExposed(Frame()));
    const int narrow = View()->width();
    QVERIFY(Frame()->GetRouter().IsChecked(ID_VIEW_DEVICE_TREE));
    QVERIFY(Execute(ID_VIEW_DEVICE_TREE));
    QVERIFY(!Frame()->GetRouter().IsChecked(ID_VIEW_DEVICE_TREE));
    QVERIFY(Frame()->GetTreeBar()->isHidden());
    QTRY_VERIFY(View()->width() > narrow);
    QVERIFY(Execute(ID_VIEW_DEVICE_TREE));
    QTRY_COMPARE(View()->width(), narrow);
    QCOMPARE(Frame()->GetTreeBar()->width(), 186);

    QVERIFY(Frame()->GetRouter().IsChecked(ID_VIEW_STATUS_BAR));
    QVERIFY(Execute(ID_VIEW_STATUS_BAR));
    QVERIFY(Frame()->statusBar()->isHidden());
    QVERIFY(!Frame()->GetRouter().IsChecked(ID_VIEW_STATUS_BAR));
}

QTEST_MAIN(ShellTest)
#include "ShellTest.moc"
