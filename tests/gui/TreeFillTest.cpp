// The tree panel's rebuild against the card it shows: on an opened nested image every
// folder has its node, siblings in the reverse of the folder's entry order, each with its
// record, all expanded; opening the image lists its root folder once, and each request
// of the list rebuilds what shows its folder once.
#include "CommandRouter.h"
#include "EditedCard.h"
#include "ExchangeDialog.h"
#include "Fakes.h"
#include "MainFrame.h"
#include "Resource.h"
#include "ShellState.h"
#include "TreeDialog.h"
#include "ZelvoApp.h"
#include "ZelvoView.h"

#include "rq540/FolderHeader.h"
#include "rq540/HexDigits.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>
#include <vector>

using namespace RQ540;

namespace {

// Three levels, the most a card holds, with files between the folders: the root holds
// 0001 to 0005 and files, 0002 holds 0021 to 0023, 0004 holds 0041 and 0042.
void BuildNestedCard()
{
    QCOMPARE(g_pVfs->ChangeDirectory("\\"), RESULT_SUCCESS);
    for (uint16_t id : {0x0001, 0x0002, 0x0003, 0x0004, 0x0005}) {
        QCOMPARE(g_pVfs->CreateFolder(id, id == 0x0002 ? 4000 : 1000), RESULT_SUCCESS);
        QCOMPARE(g_pVfs->CreateFile(0x0100 + id, FILE_TYPE_DATA, 8), RESULT_SUCCESS);
    }
    QCOMPARE(g_pVfs->ChangeDirectory("\\0002"), RESULT_SUCCESS);
    for (uint16_t id : {0x0021, 0x0022, 0x0023})
        QCOMPARE(g_pVfs->CreateFolder(id, 200), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFile(0x0F00, FILE_TYPE_DATA, 4), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->ChangeDirectory("\\0004"), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFolder(0x0041, 200), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFile(0x0F01, FILE_TYPE_DATA, 4), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFolder(0x0042, 200), RESULT_SUCCESS);
}

// What the windows do while one request is carried out: the card's announcements, the
// list's listings, the writes of the path pane (each sets its tool tip), the tree's node
// rebuilds (each adds the node's children in one step) and its selection moves.
class CWindowCounts : public QObject {
public:
    explicit CWindowCounts(CMainFrame& frame)
    {
        const auto count = [](int& counter) { return [&counter] { ++counter; }; };
        connect(&EditedCard(), &CEditedCard::PathChanged, this, count(m_announcements));
        connect(&EditedCard(), &CEditedCard::FolderChanged, this, count(m_announcements));
        connect(frame.GetActiveView()->model(), &QAbstractItemModel::rowsInserted, this,
                count(m_listings));
        QTreeWidget* tree = frame.GetTreeDialog()->GetTree();
        connect(tree->model(), &QAbstractItemModel::rowsInserted, this, count(m_rebuilds));
        connect(tree, &QTreeWidget::currentItemChanged, this, count(m_selections));
        frame.findChild<QLabel*>(QString::number(IDS_CURRENT_PATH))->installEventFilter(this);
    }

    // Announcements, listings, pane writes, node rebuilds and selection moves since the
    // last call.
    QList<int> Take()
    {
        const QList<int> counts{m_announcements, m_listings, m_paneWrites, m_rebuilds,
                                m_selections};
        m_announcements = m_listings = m_paneWrites = m_rebuilds = m_selections = 0;
        return counts;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::ToolTipChange)
            ++m_paneWrites;
        return false;
    }

private:
    int m_announcements = 0;
    int m_listings = 0;
    int m_paneWrites = 0;
    int m_rebuilds = 0;
    int m_selections = 0;
};

int RowOf(CZelvoView& view, const QString& id)
{
    for (int row = 0; row < view.rowCount(); ++row) {
        if (view.item(row, 0)->text() == id)
            return row;
    }
    return -1;
}

}  // namespace

class TreeFillTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void treeHoldsEveryFolderInReverseEntryOrder();
    void openingAnImageListsItsRootOnce();
    void eachRequestShowsItsFolderOnce();

private:
    CTreeDialog* Tree() const { return m_app->GetMainFrame()->GetTreeDialog(); }
    // Compares node's subtree with folder's: labels, order, records and expansion.
    void CompareWithCard(QTreeWidgetItem* node, const CFolderHeader* folder,
                         const std::string& path, int& nodes);
    QString SaveNestedImage();

    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
    std::unique_ptr<CFakePrompter> m_prompter;
    std::unique_ptr<CZelvoApp> m_app;
};

void TreeFillTest::initTestCase()
{
    QVERIFY(UseScratchSettings(m_settingsDir));
}

void TreeFillTest::init()
{
    m_prompter = std::make_unique<CFakePrompter>();
    m_app = std::make_unique<CZelvoApp>();
    QVERIFY(m_app->InitInstance({QStringLiteral("rqvfs-editor")}));
}

void TreeFillTest::cleanup()
{
    m_app.reset();
    m_prompter.reset();
}

void TreeFillTest::CompareWithCard(QTreeWidgetItem* node, const CFolderHeader* folder,
                                   const std::string& path, int& nodes)
{
    std::vector<const CUnknownHeader*> folders;
    for (const CUnknownHeader* entry = folder->GetFirstChild(); entry; entry = entry->GetNext()) {
        if (entry->IsFolder())
            folders.insert(folders.begin(), entry);
    }
    QCOMPARE(node->childCount(), static_cast<int>(folders.size()));
    QVERIFY(node->isExpanded());
    for (int index = 0; index < node->childCount(); ++index) {
        QTreeWidgetItem* child = node->child(index);
        const CUnknownHeader* entry = folders[static_cast<std::size_t>(index)];
        const std::string childPath = (path == "\\" ? "" : path) + "\\" + FormatId(entry->GetId());
        QCOMPARE(child->text(0).toStdString(), FormatId(entry->GetId()));
        const EntryItemData* record = Tree()->GetItemData(child);
        QVERIFY(record);
        QCOMPARE(record->pHeader, entry);
        QCOMPARE(record->szPath, childPath);
        ++nodes;
        CompareWithCard(child, static_cast<const CFolderHeader*>(entry), childPath, nodes);
    }
}

QString TreeFillTest::SaveNestedImage()
{
    BuildNestedCard();
    const QString path = m_dir.filePath(QStringLiteral("nested.rqfs"));
    if (g_pVfs->SaveImage(path.toStdString()) != RESULT_SUCCESS)
        return QString();
    return path;
}

void TreeFillTest::treeHoldsEveryFolderInReverseEntryOrder()
{
    const QString path = SaveNestedImage();
    QVERIFY(!path.isEmpty());
    // A sub-folder node is selected when the image is opened.
    QVERIFY(m_app->GetMainFrame()->GetRouter().Execute(ID_REFRESH_NODE));
    Tree()->SelectItem(Tree()->GetRootItem()->child(1)->child(1));
    QCOMPARE(g_szCurrentPath, std::string("\\0002\\0022"));
    QVERIFY(m_app->OpenDocumentFile(path));

    int nodes = 0;
    CompareWithCard(Tree()->GetRootItem(), g_pVfs->GetRoot(), "\\", nodes);
    QCOMPARE(nodes, 5 + 3 + 2);
    QCOMPARE(Tree()->GetSelectedItem(), Tree()->GetRootItem());

    // Rebuilding a sub-folder's node leaves the same tree, and its siblings untouched.
    QTreeWidgetItem* second = Tree()->GetRootItem()->child(1);
    QCOMPARE(second->text(0), QStringLiteral("0002"));
    QTreeWidgetItem* sibling = Tree()->GetRootItem()->child(4);
    Tree()->SelectItem(second);
    QVERIFY(m_app->GetMainFrame()->GetRouter().Execute(ID_REFRESH_NODE));
    QCOMPARE(Tree()->GetRootItem()->child(4), sibling);
    QCOMPARE(Tree()->GetSelectedItem(), second);
    QCOMPARE(g_szCurrentPath, std::string("\\0002"));
    nodes = 0;
    CompareWithCard(Tree()->GetRootItem(), g_pVfs->GetRoot(), "\\", nodes);
    QCOMPARE(nodes, 10);

    // A folder added since is found by the rebuild, in its place.
    QCOMPARE(g_pVfs->CreateFolder(0x0024, 200), RESULT_SUCCESS);
    QVERIFY(m_app->GetMainFrame()->GetRouter().Execute(ID_REFRESH_NODE));
    QCOMPARE(second->child(0)->text(0), QStringLiteral("0021"));
    QCOMPARE(second->child(3)->text(0), QStringLiteral("0024"));
    nodes = 0;
    CompareWithCard(Tree()->GetRootItem(), g_pVfs->GetRoot(), "\\", nodes);
    QCOMPARE(nodes, 11);
}

void TreeFillTest::openingAnImageListsItsRootOnce()
{
    const QString path = SaveNestedImage();
    QVERIFY(!path.isEmpty());
    CZelvoView* view = m_app->GetMainFrame()->GetActiveView();
    int listings = 0;
    connect(view->model(), &QAbstractItemModel::rowsInserted, this, [&] { ++listings; });

    QVERIFY(m_app->OpenDocumentFile(path));
    QCOMPARE(listings, 1);
    // Root entries, newest first: 0005 and its file 0105 were created last.
    QCOMPARE(view->rowCount(), 10);
    QCOMPARE(view->item(0, 0)->text(), QStringLiteral("0001"));
    QCOMPARE(view->item(9, 0)->text(), QStringLiteral("0105"));
    QVERIFY(!view->item(0, 0)->icon().isNull());
    QCOMPARE(view->horizontalHeaderItem(0)->text(), QStringLiteral("文件名"));

    // The same from a sub-folder, with the top node selected: still one listing.
    Tree()->SelectItem(Tree()->GetTopItem());
    listings = 0;
    QVERIFY(m_app->OpenDocumentFile(path));
    QCOMPARE(listings, 1);
    QCOMPARE(g_szCurrentPath, std::string("\\"));
    QCOMPARE(Tree()->GetSelectedItem(), Tree()->GetRootItem());
}

void TreeFillTest::eachRequestShowsItsFolderOnce()
{
    // 0001 holds folder 0011, so rebuilding its node adds a child; the root holds file 0005.
    QCOMPARE(g_pVfs->CreateFolder(0x0001, 4000), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFile(0x0005, FILE_TYPE_DATA, 8), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->ChangeDirectory("\\0001"), RESULT_SUCCESS);
    QCOMPARE(g_pVfs->CreateFolder(0x0011, 200), RESULT_SUCCESS);
    CMainFrame& frame = *m_app->GetMainFrame();
    CZelvoView& view = *frame.GetActiveView();
    Tree()->SelectItem(Tree()->GetRootItem());
    QVERIFY(frame.GetRouter().Execute(ID_REFRESH_NODE));
    view.selectRow(RowOf(view, QStringLiteral("0005")));
    QVERIFY(frame.GetRouter().Execute(ID_EDIT_COPY));
    CWindowCounts counts(frame);

    // A double-click on a folder row moves the selection to its node.
    const QPoint centre =
        view.visualRect(view.model()->index(RowOf(view, QStringLiteral("0001")), 0)).center();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(g_szCurrentPath, std::string("\\0001"));
    QCOMPARE(Tree()->GetSelectedItem()->text(0), QStringLiteral("0001"));
    QCOMPARE(counts.Take(), (QList<int>{1, 1, 1, 0, 1}));

    // New file, paste and delete each rebuild the node, which keeps the selection.
    QTimer::singleShot(0, this, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            QTest::mouseClick(dialog->findChild<QPushButton*>(
                                  QString::number(CExchangeDialog::IDOK)),
                              Qt::LeftButton);
    });
    QVERIFY(frame.GetRouter().Execute(ID_NEW_FILE));
    QVERIFY(g_pVfs->FindFile(0x0001));
    QCOMPARE(counts.Take(), (QList<int>{1, 1, 1, 1, 0}));

    view.clearSelection();
    QVERIFY(frame.GetRouter().Execute(ID_EDIT_PASTE));
    QVERIFY(g_pVfs->FindFile(0x0005));
    QCOMPARE(counts.Take(), (QList<int>{1, 1, 1, 1, 0}));

    view.selectRow(RowOf(view, QStringLiteral("0005")));
    m_prompter->QueueAnswer(IPrompter::Answer::Yes);
    QVERIFY(frame.GetRouter().Execute(ID_DELETE));
    QVERIFY(!g_pVfs->FindFile(0x0005));
    QCOMPARE(counts.Take(), (QList<int>{1, 1, 1, 1, 0}));
    QCOMPARE(Tree()->GetSelectedItem()->text(0), QStringLiteral("0001"));
    QCOMPARE(view.rowCount(), 2);
}

QTEST_MAIN(TreeFillTest)
#include "TreeFillTest.moc"
