#include "ZelvoView.h"

#include "CommandRouter.h"
#include "CopiedEntries.h"
#include "EditedCard.h"
#include "EntryRows.h"
#include "MenuTable.h"
#include "Prompter.h"
#include "Resource.h"
#include "ShellIcons.h"
#include "ShellState.h"
#include "ShellTexts.h"
#include "StringTable.h"
#include "WaitCursor.h"
#include "ZelvoDoc.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QResizeEvent>
#include <QStyleOptionHeader>

#include <algorithm>
#include <utility>

namespace {

constexpr int ICON_SIZE = 16;

QTableWidgetItem* MakeCell(const std::string& text)
{
    auto* item = new QTableWidgetItem(QString::fromStdString(text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

CZelvoView::CZelvoView(CZelvoDoc* pDocument, CCommandRouter& router, QWidget* parent)
    : QTableWidget(parent), m_pDocument(pDocument), m_router(router)
{
    setObjectName(QStringLiteral("ZelvoView"));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setIconSize(QSize(ICON_SIZE, ICON_SIZE));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &CZelvoView::OnContextMenu);
    connect(this, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { Open(row); });

    const auto anySelected = [this] { return GetFirstSelectedItemData() != nullptr; };
    m_commands.Add(ID_OPEN, [this] { OnOpen(); }, anySelected);
    m_commands.Add(ID_REFRESH_VIEW, [this] { RefreshList(); });
    m_commands.Add(ID_EDIT_COPY, [this] { OnCopy(); }, anySelected);
    m_commands.Add(ID_EDIT_PASTE, [this] { OnPaste(); },
                   [this] { return g_pCopiedEntries && (!GetFirstSelectedItemData() ||
                                                        IsFirstSelectedFolder()); });
    m_commands.Add(ID_DELETE, [this] { OnDelete(); }, anySelected);
    // Cut exists only as a key (Ctrl+X, Shift+Delete) and deliberately does nothing.
    m_commands.Add(ID_EDIT_CUT, [] {});

    SetupColumns();
}

CZelvoView::~CZelvoView()
{
    ClearList();
    EditedCard().ForgetCopiedEntries();
}

void CZelvoView::OnInitialUpdate()
{
    // The rows are already the new image's: New and Open end by rebuilding the tree's
    // root node, which lists the root folder here.
    SetupColumns();
}

void CZelvoView::SetupColumns()
{
    // New columns come with numbered headings, which a shown header measures at once in
    // the bold face; hidden, it measures nothing until the headings below give their sizes.
    QHeaderView* header = horizontalHeader();
    const bool bNewColumns = columnCount() != 4;
    if (bNewColumns) {
        header->hide();
        setColumnCount(4);
    }
    setHorizontalHeaderLabels({LoadResString(IDS_COLUMN_NAME), LoadResString(IDS_COLUMN_SIZE),
                               LoadResString(IDS_COLUMN_ATTRIBUTES),
                               LoadResString(IDS_COLUMN_STATE)});
    // The header measures a heading in the bold face unless the heading gives its size,
    // and the bold CJK face is megabytes that nothing else shown at start needs. The
    // size is the one the style gives the heading in the face it is drawn in.
    QStyleOptionHeader option;
    option.initFrom(header);
    option.orientation = Qt::Horizontal;
    for (int column = 0; column < columnCount(); ++column) {
        QTableWidgetItem* heading = horizontalHeaderItem(column);
        option.section = column;
        option.text = heading->text();
        heading->setSizeHint(style()->sizeFromContents(QStyle::CT_HeaderSection, &option,
                                                        QSize(), horizontalHeader()));
    }
    if (bNewColumns) {
        header->show();
        // The view placed its rows without the header while it was hidden.
        updateGeometries();
    }
    ApplyColumnWidths();
}

const QIcon& CZelvoView::RowIcon(int iconId)
{
    // Drawn when a row first needs it: the list of a new image is empty.
    auto found = m_imageList.find(iconId);
    if (found == m_imageList.end())
        found = m_imageList.emplace(iconId, QIcon(ShellPixmap(iconId, ICON_SIZE))).first;
    return found->second;
}

void CZelvoView::ApplyColumnWidths()
{
    const auto widths = ListColumnWidths(viewport()->width());
    for (int column = 0; column < static_cast<int>(widths.size()); ++column)
        setColumnWidth(column, widths[static_cast<std::size_t>(column)]);
}

void CZelvoView::resizeEvent(QResizeEvent* event)
{
    QTableWidget::resizeEvent(event);
    ApplyColumnWidths();
}

void CZelvoView::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        modifiers == Qt::NoModifier) {
        m_router.Execute(ID_OPEN);
    } else if (event->key() == Qt::Key_Backspace && modifiers == Qt::NoModifier) {
        if (g_szCurrentPath != RootPath())
            EditedCard().SetCurrentPath("..");
    } else if (event->key() == Qt::Key_Delete && modifiers == Qt::ControlModifier) {
        m_router.Execute(ID_DELETE);
    } else {
        QTableWidget::keyPressEvent(event);
    }
}

void CZelvoView::ClearList()
{
    setRowCount(0);
    m_rows.clear();
}

void CZelvoView::RefreshList()
{
    const CWaitCursor waitCursor;
    ClearList();
    if (!g_pVfs || !g_pVfs->GetRoot())
        return;
    const RQ540::CCardPath folder = g_pVfs->GetCurrentPath();
    // Rows come in the reverse of the folder's entry order: each entry is put above the
    // rows listed before it.
    std::vector<RQ540::CUnknownHeader*> entries;
    for (RQ540::CUnknownHeader* entry = g_pVfs->GetFirstEntry(); entry; entry = entry->GetNext())
        entries.push_back(entry);
    std::reverse(entries.begin(), entries.end());
    setRowCount(static_cast<int>(entries.size()));
    for (int row = 0; row < static_cast<int>(entries.size()); ++row) {
        RQ540::CUnknownHeader* entry = entries[static_cast<std::size_t>(row)];
        auto record = std::make_unique<EntryItemData>();
        record->pHeader = entry;
        record->szPath = folder.GetChild(entry->GetId()).ToChangeDirectoryText();
        const auto texts = FormatEntryRow(*g_pVfs, *entry);
        for (int column = 0; column < static_cast<int>(texts.size()); ++column)
            setItem(row, column, MakeCell(texts[static_cast<std::size_t>(column)]));
        item(row, 0)->setIcon(RowIcon(EntryRowIcon(*entry)));
        m_rows.push_back(std::move(record));
    }
}

const EntryItemData* CZelvoView::GetItemData(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return nullptr;
    return m_rows[static_cast<std::size_t>(row)].get();
}

std::vector<const EntryItemData*> CZelvoView::GetSelectedItemData() const
{
    QModelIndexList selected = selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<const EntryItemData*> records;
    for (const QModelIndex& index : selected) {
        if (const EntryItemData* record = GetItemData(index.row()))
            records.push_back(record);
    }
    return records;
}

const EntryItemData* CZelvoView::GetFirstSelectedItemData() const
{
    const auto records = GetSelectedItemData();
    return records.empty() ? nullptr : records.front();
}

bool CZelvoView::IsFirstSelectedFolder() const
{
    const EntryItemData* record = GetFirstSelectedItemData();
    return record && record->pHeader->IsFolder();
}

bool CZelvoView::IsFirstSelectedFile() const
{
    const EntryItemData* record = GetFirstSelectedItemData();
    return record && !record->pHeader->IsFolder();
}

void CZelvoView::Open(int row)
{
    const EntryItemData* record = GetItemData(row);
    if (!record || !g_pVfs)
        return;
    if (!record->pHeader->IsFolder()) {
        if (GetFirstSelectedItemData() != record) {
            clearSelection();
            selectRow(row);
        }
        // It runs only while its own rule allows it, as from a menu.
        m_router.Execute(ID_EDIT_FILE);
        return;
    }
    EditedCard().SetCurrentPath(record->szPath);
}

void CZelvoView::OnOpen()
{
    const QModelIndexList selected = selectionModel()->selectedRows();
    if (selected.isEmpty())
        return;
    const auto first = std::min_element(
        selected.begin(), selected.end(),
        [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    Open(first->row());
}

void CZelvoView::OnCopy()
{
    const auto records = GetSelectedItemData();
    if (records.empty())
        return;
    EditedCard().SetCopiedEntries(records);
}

void CZelvoView::OnPaste()
{
    if (!g_pCopiedEntries || !g_pVfs)
        return;
    // The windows show the folder again once the last entry is done, and before a message
    // stands in front of them when entries were pasted since they last showed it.
    bool bUnshown = false;
    const auto showFolder = [] { EditedCard().RefreshFolder(g_szCurrentPath); };
    for (std::size_t index = 0; index < g_pCopiedEntries->GetCount(); ++index) {
        const RQ540::CUnknownHeader* entry = g_pCopiedEntries->Resolve(*g_pVfs, index);
        if (!entry) {
            if (bUnshown)
                showFolder();
            ShowWarning(this, QString::fromUtf8(Texts::PASTE_SOURCE_GONE));
            return;
        }
        const int32_t result = g_pVfs->PasteEntry(entry);
        if (result == RQ540::RESULT_SUCCESS) {
            m_pDocument->SetModifiedFlag();
            bUnshown = true;
            continue;
        }
        if (bUnshown)
            showFolder();
        bUnshown = false;
        ReportVfsError(this, QString::fromUtf8(Texts::OPERATION_PASTE), result);
    }
    showFolder();
}

void CZelvoView::OnDelete()
{
    if (!g_pVfs)
        return;
    const IPrompter::Answer answer =
        Prompter().Show(this, QString::fromUtf8(Texts::QUESTION_CAPTION),
                        QString::fromUtf8(Texts::DELETE_ENTRIES_QUESTION),
                        IPrompter::Icon::Question, IPrompter::Buttons::YesNo);
    if (answer != IPrompter::Answer::Yes)
        return;
    // Taken before anything is deleted, so no record is read after its entry is gone.
    std::vector<std::pair<uint16_t, bool>> targets;
    for (const EntryItemData* record : GetSelectedItemData())
        targets.emplace_back(record->pHeader->GetId(), record->pHeader->IsFolder());
    // The results are not shown: the list, listed afresh, shows what was really removed.
    for (const auto& [id, bFolder] : targets) {
        if (bFolder)
            (void)g_pVfs->DeleteFolder(id);
        else
            (void)g_pVfs->DeleteFile(id);
        m_pDocument->SetModifiedFlag();
    }
    EditedCard().ForgetMissingCopies();
    EditedCard().RefreshFolder(g_szCurrentPath);
}

void CZelvoView::OnContextMenu(const QPoint& position)
{
    const std::unique_ptr<QMenu> menu = m_router.CreatePopupMenu(ListContextMenu(), this);
    menu->exec(viewport()->mapToGlobal(position));
}
