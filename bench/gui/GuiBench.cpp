// The editor's windows against stock Qt widgets doing the same visible work, offscreen: the
// tree panel's fill and the refresh command against a plain tree (and list), the folder
// list against a plain table, the hex editor's repaint and page-down pass against a plain
// widget drawing the same text, and the editor's start against a bare window.
#include "HexFloorView.h"
#include "ProcessStart.h"
#include "RatioBench.h"
#include "ScratchDirectory.h"

#include "CommandRouter.h"
#include "CommandTable.h"
#include "EditedCard.h"
#include "EntryRows.h"
#include "HexEdit.h"
#include "MainFrame.h"
#include "Resource.h"
#include "ShellIcons.h"
#include "ShellState.h"
#include "TreeDialog.h"
#include "ZelvoDoc.h"
#include "ZelvoView.h"

#include "rq540/HexDigits.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidget>
#include <QTreeWidget>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace RQ540;
using namespace RQ540::Bench;

constexpr int FOLDER_COUNT = 255;
constexpr int SMALL_FOLDER_COUNT = 64;
constexpr int32_t HEX_FILE_SIZE = 61870;
constexpr int ICON_SIZE = 16;

// A card whose root holds count empty sub-folders 0001, 0002, ...
std::unique_ptr<CRQ540Vfs> CardWithFolders(int count)
{
    auto vfs = std::make_unique<CRQ540Vfs>(0);
    for (int id = 1; id <= count; ++id) {
        if (vfs->CreateFolder(static_cast<uint32_t>(id), 200) != RESULT_SUCCESS)
            return nullptr;
    }
    return vfs;
}

// Makes the edited card one whose root holds count empty sub-folders, unless it is one
// already, and has the windows show its root; false when the card refuses the folders.
bool UseCard(int count)
{
    static int shown = -1;
    if (shown == count)
        return true;
    std::unique_ptr<CRQ540Vfs> vfs = CardWithFolders(count);
    if (!vfs)
        return false;
    EditedCard().ReplaceImage(std::move(vfs));
    EditedCard().RefreshFolder(RootPath());
    shown = count;
    return true;
}

// Runs the posted layouts and paints widget once, as the next frame on screen would.
void Settle(QWidget* widget)
{
    QCoreApplication::processEvents();
    widget->repaint();
}

// A stock tree holding the top and root nodes the way the tree panel does, in the
// panel's font and with its column sized to the labels, as the panel's is.
class CStockTree {
public:
    CStockTree(const QTreeWidget& like, QWidget* parent) : m_tree(new QTreeWidget(parent))
    {
        m_tree->setHeaderHidden(true);
        m_tree->setFont(like.font());
        m_tree->header()->setSectionResizeMode(like.header()->sectionResizeMode(0));
        m_tree->header()->setStretchLastSection(like.header()->stretchLastSection());
        m_tree->setIconSize(QSize(ICON_SIZE, ICON_SIZE));
        m_icon = QIcon(ShellPixmap(IDI_FOLDER, ICON_SIZE));
        auto* top = new QTreeWidgetItem(m_tree, {QStringLiteral("RQ540 VFS")});
        m_root = new QTreeWidgetItem(top, {QStringLiteral("ROOT DIR(MF)")});
        top->setExpanded(true);
    }

    QTreeWidget* Widget() const { return m_tree; }

    // Replaces the root's children with count labelled folder nodes, all at once.
    void Fill(int count)
    {
        qDeleteAll(m_root->takeChildren());
        QList<QTreeWidgetItem*> children;
        children.reserve(count);
        for (int id = count; id >= 1; --id) {
            auto* child = new QTreeWidgetItem(
                {QString::fromStdString(FormatId(static_cast<uint16_t>(id)))});
            child->setIcon(0, m_icon);
            children.append(child);
        }
        m_root->addChildren(children);
        m_root->setExpanded(true);
    }

private:
    QTreeWidget* m_tree;
    QTreeWidgetItem* m_root;
    QIcon m_icon;
};

// A stock table filled with the texts the folder list shows for the current folder.
class CStockTable {
public:
    explicit CStockTable(QWidget* parent) : m_table(new QTableWidget(parent))
    {
        m_table->setColumnCount(4);
        m_table->setIconSize(QSize(ICON_SIZE, ICON_SIZE));
        m_icon = QIcon(ShellPixmap(IDI_FOLDER, ICON_SIZE));
        for (CUnknownHeader* entry = g_pVfs->GetFirstEntry(); entry; entry = entry->GetNext())
            m_rows.insert(m_rows.begin(), FormatEntryRow(*g_pVfs, *entry));
    }

    QTableWidget* Widget() const { return m_table; }

    void Fill()
    {
        m_table->setRowCount(0);
        m_table->setRowCount(static_cast<int>(m_rows.size()));
        for (int row = 0; row < static_cast<int>(m_rows.size()); ++row) {
            const auto& texts = m_rows[static_cast<std::size_t>(row)];
            for (int column = 0; column < 4; ++column)
                m_table->setItem(row, column,
                                 new QTableWidgetItem(QString::fromStdString(
                                     texts[static_cast<std::size_t>(column)])));
            m_table->item(row, 0)->setIcon(m_icon);
        }
    }

private:
    QTableWidget* m_table;
    QIcon m_icon;
    std::vector<std::array<std::string, 4>> m_rows;
};

// The editor's main window over an image, shown as at start.
struct CEditor {
    CCommandTable appCommands;
    CZelvoDoc document;
    CMainFrame frame{&document, appCommands};

    CEditor()
    {
        frame.InitialUpdate();
        frame.show();
        Settle(&frame);
    }
};

// A window of the main window's size holding a stock tree beside a stock table.
struct CStockWindow {
    QWidget window;
    CStockTree tree;
    CStockTable table{&window};

    explicit CStockWindow(const QTreeWidget& like) : tree(like, &window)
    {
        auto* layout = new QHBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        tree.Widget()->setFixedWidth(180);
        layout->addWidget(tree.Widget());
        layout->addWidget(table.Widget(), 1);
        window.resize(800, 560);
        window.show();
        Settle(&window);
    }
};

void TreeFill(benchmark::State& state, CTreeDialog& tree, int count)
{
    if (!UseCard(count))
        state.SkipWithError("the card refuses the folders");
    for (auto _ : state) {
        tree.FillNode(tree.GetRootItem());
        Settle(&tree);
    }
    if (tree.GetRootItem()->childCount() == 0)
        state.SkipWithError("the tree holds no folders");
}

void StockTreeFill(benchmark::State& state, CStockTree& tree, int count)
{
    for (auto _ : state) {
        tree.Fill(count);
        Settle(tree.Widget());
    }
}

void Refresh(benchmark::State& state, CEditor& editor)
{
    if (!UseCard(FOLDER_COUNT))
        state.SkipWithError("the card refuses the folders");
    for (auto _ : state) {
        editor.frame.GetTreeDialog()->SelectItem(editor.frame.GetTreeDialog()->GetRootItem());
        editor.frame.GetRouter().Execute(ID_REFRESH_NODE);
        Settle(&editor.frame);
    }
    if (editor.frame.GetActiveView()->rowCount() != FOLDER_COUNT)
        state.SkipWithError("the list does not show the root's folders");
}

void StockRefresh(benchmark::State& state, CStockWindow& stock)
{
    for (auto _ : state) {
        stock.tree.Fill(FOLDER_COUNT);
        stock.table.Fill();
        Settle(&stock.window);
    }
}

void List(benchmark::State& state, CZelvoView& view)
{
    if (!UseCard(FOLDER_COUNT))
        state.SkipWithError("the card refuses the folders");
    for (auto _ : state) {
        view.RefreshList();
        Settle(&view);
    }
    if (view.rowCount() != FOLDER_COUNT)
        state.SkipWithError("the list does not show the root's folders");
}

void StockList(benchmark::State& state, CStockTable& table)
{
    for (auto _ : state) {
        table.Fill();
        Settle(table.Widget());
    }
}

void HexRepaint(benchmark::State& state, CHexEdit& hex)
{
    for (auto _ : state)
        hex.viewport()->repaint();
}

void FloorRepaint(benchmark::State& state, CHexFloorView& floor)
{
    for (auto _ : state)
        floor.viewport()->repaint();
}

// Page Down from the first byte until the view stops moving, each page painted; answers
// the number of pages shown after the first.
int PageDownPass(CHexEdit& hex)
{
    QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::ControlModifier);
    QApplication::sendEvent(&hex, &home);
    hex.viewport()->repaint();
    int pages = 0;
    for (int32_t top = -1; top != hex.State().m_nTopIndex; ++pages) {
        top = hex.State().m_nTopIndex;
        QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(&hex, &pageDown);
        hex.viewport()->repaint();
    }
    return pages;
}

void HexPageDown(benchmark::State& state, CHexEdit& hex)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(PageDownPass(hex));
    if (hex.State().m_nTopIndex == 0)
        state.SkipWithError("page down did not move the view");
}

void FloorPageDown(benchmark::State& state, CHexFloorView& floor, int pages)
{
    for (auto _ : state) {
        for (int page = 0; page <= pages; ++page) {
            floor.ShowPage(page);
            floor.viewport()->repaint();
        }
    }
}

// Starts the probe program beside this one for each iteration and keeps what it used.
void StartProbe(benchmark::State& state, const std::filesystem::path& probe,
                const std::filesystem::path& output, std::vector<ProcessUsage>& usages)
{
    for (auto _ : state) {
        const std::optional<ProcessUsage> usage = RunProcess(probe, output);
        if (!usage) {
            state.SkipWithError("the start probe failed");
            break;
        }
        usages.push_back(*usage);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const CScratchDirectory scratch;
    // The start probes keep their settings here, not in the user's.
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((scratch / "config").string()));

    CCommandRouter treeRouter;
    if (!UseCard(FOLDER_COUNT)) {
        std::fputs("gui bench: the card refuses the folders\n", stderr);
        return 1;
    }
    CTreeDialog treeDialog(treeRouter);
    treeDialog.resize(180, 500);
    treeDialog.show();
    QWidget stockTreeWindow;
    CStockTree stockTree(*treeDialog.GetTree(), &stockTreeWindow);
    stockTree.Widget()->resize(180, 500);
    stockTreeWindow.resize(180, 500);
    stockTreeWindow.show();
    AddRatioRow("tree_fill", "tree fill of a folder with 255 sub-folders", "stock QTreeWidget",
                1.5, [&](benchmark::State& state) { TreeFill(state, treeDialog, FOLDER_COUNT); },
                [&](benchmark::State& state) { StockTreeFill(state, stockTree, FOLDER_COUNT); });
    AddRatioRow("tree_fill_64", "tree fill of a folder with 64 sub-folders", "stock QTreeWidget",
                2.0,
                [&](benchmark::State& state) { TreeFill(state, treeDialog, SMALL_FOLDER_COUNT); },
                [&](benchmark::State& state) {
                    StockTreeFill(state, stockTree, SMALL_FOLDER_COUNT);
                });

    CEditor editor;
    CStockWindow stock(*editor.frame.GetTreeDialog()->GetTree());
    AddRatioRow("refresh", "refresh command (rebuild node + re-list), 255 sub-folders",
                "stock tree + list", 1.5, [&](benchmark::State& state) { Refresh(state, editor); },
                [&](benchmark::State& state) { StockRefresh(state, stock); });
    AddRatioRow("list", "folder list of 255 rows", "stock QTableWidget", 1.1,
                [&](benchmark::State& state) { List(state, *editor.frame.GetActiveView()); },
                [&](benchmark::State& state) { StockList(state, stock.table); });

    std::vector<uint8_t> bytes(HEX_FILE_SIZE);
    for (std::size_t index = 0; index < bytes.size(); ++index)
        bytes[index] = static_cast<uint8_t>(index * 7 + index / 251);
    CHexEdit hex;
    hex.resize(600, 400);
    hex.show();
    hex.SetData(bytes.data(), HEX_FILE_SIZE);
    Settle(&hex);
    CHexFloorView floor(bytes, hex.State().m_layout.m_nBytesPerLine);
    floor.resize(hex.size());
    floor.show();
    Settle(&floor);
    const int pages = PageDownPass(hex);
    AddRatioRow("hex_repaint", "hex repaint", "plain widget drawing the same text", 1.1,
                [&](benchmark::State& state) { HexRepaint(state, hex); },
                [&](benchmark::State& state) { FloorRepaint(state, floor); });
    AddRatioRow("hex_page_down", "hex page-down pass through a 61,870-byte file",
                "plain widget drawing the same pages", 1.1,
                [&](benchmark::State& state) { HexPageDown(state, hex); },
                [&](benchmark::State& state) { FloorPageDown(state, floor, pages); });

    const std::filesystem::path here = std::filesystem::canonical("/proc/self/exe").parent_path();
    std::vector<ProcessUsage> editorStarts;
    std::vector<ProcessUsage> bareStarts;
    AddRatioRow("start", "editor start to first window, wall clock", "bare Qt window", 1.1,
                [&](benchmark::State& state) {
                    StartProbe(state, here / "editor_start_probe", scratch / "probe.txt",
                               editorStarts);
                },
                [&](benchmark::State& state) {
                    StartProbe(state, here / "bare_start_probe", scratch / "probe.txt", bareStarts);
                });

    const int status = RunRatioBenchmarks(argc, argv);
    PrintUsageRows("editor start to first window", "bare Qt window", 1.1, editorStarts,
                   bareStarts);
    return status;
}
