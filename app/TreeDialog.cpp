#include "TreeDialog.h"

#include "CommandRouter.h"
#include "EditedCard.h"
#include "MenuTable.h"
#include "Resource.h"
#include "ShellIcons.h"
#include "ShellState.h"
#include "ShellTexts.h"
#include "WaitCursor.h"

#include "rq540/CardPath.h"
#include "rq540/EntryTree.h"
#include "rq540/FolderHeader.h"
#include "rq540/HexDigits.h"

#include <QHeaderView>
#include <QMenu>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStyleOptionHeader>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cctype>
#include <optional>

namespace {

constexpr int ICON_SIZE = 16;
constexpr int TREE_CONTROL_ID = 1000;
// The tree's fixed-pitch font has a cell height of 16 pixels, about 13 to the em.
constexpr int TREE_FONT_PIXELS = 13;

// A sub-folder's node: it carries the folder's record, which goes with it.
class CFolderNode : public QTreeWidgetItem {
public:
    static constexpr int TYPE = QTreeWidgetItem::UserType + 1;

    CFolderNode(const QString& label, EntryItemData record)
        : QTreeWidgetItem(QStringList{label}, TYPE), m_record(std::move(record))
    {
    }

    const EntryItemData& GetRecord() const { return m_record; }

private:
    EntryItemData m_record;
};

// The folder at path, found in the entry tree as ChangeDirectory finds it; null when the
// path is no absolute path or leads to no folder.
const RQ540::CFolderHeader* FolderAt(const RQ540::CVirtualFileSystem& vfs,
                                     const std::optional<RQ540::CCardPath>& path)
{
    const RQ540::CFolderHeader* folder = path ? vfs.GetRoot() : nullptr;
    for (std::size_t level = 0; folder && level < path->GetIds().size(); ++level)
        folder = RQ540::FindChildFolder(folder, path->GetIds()[level]);
    return folder;
}

// Paths compare without regard to the case of their hexadecimal digits.
bool SamePath(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

}  // namespace

CTreeDialog::CTreeDialog(CCommandRouter& router, QWidget* parent)
    : QWidget(parent), m_router(router), m_pTree(new QTreeWidget(this))
{
    m_pTree->setObjectName(QString::number(TREE_CONTROL_ID));
    m_pTree->setHeaderHidden(true);
    m_pTree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pTree->header()->setStretchLastSection(false);
    m_pTree->setRootIsDecorated(true);
    m_pTree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pTree->setIconSize(QSize(ICON_SIZE, ICON_SIZE));
    m_pTree->setContextMenuPolicy(Qt::CustomContextMenu);

    QFont font(QStringLiteral("Fixedsys"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(TREE_FONT_PIXELS);
    font.setWeight(QFont::Light);
    // The hidden header still sizes the column to its contents, and it measures its
    // heading in the bold face unless the heading gives its size: the bold fixed-pitch face
    // would be loaded for nothing shown. The size is the one the style gives the heading
    // in the face the tree draws in; it is given before the font, whose change the header
    // measures at once.
    QStyleOptionHeader heading;
    heading.initFrom(m_pTree->header());
    heading.fontMetrics = QFontMetrics(font, m_pTree->header());
    heading.orientation = Qt::Horizontal;
    heading.text = m_pTree->headerItem()->text(0);
    m_pTree->headerItem()->setSizeHint(
        0, m_pTree->style()->sizeFromContents(QStyle::CT_HeaderSection, &heading, QSize(),
                                              m_pTree->header()));
    m_pTree->setFont(font);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 3, 5);
    layout->addWidget(m_pTree);

    m_deviceIcon = QIcon(ShellPixmap(IDI_DEVICE, ICON_SIZE));
    m_folderIcon.addPixmap(ShellPixmap(IDI_FOLDER, ICON_SIZE), QIcon::Normal);
    m_folderIcon.addPixmap(ShellPixmap(IDI_OPEN_FOLDER, ICON_SIZE), QIcon::Selected);

    m_hTopItem = new QTreeWidgetItem(m_pTree, {QString::fromUtf8(Texts::TREE_TOP_NODE)});
    m_hTopItem->setIcon(0, m_deviceIcon);
    m_hRootItem = new QTreeWidgetItem(m_hTopItem, {QString::fromUtf8(Texts::TREE_ROOT_NODE)});
    m_hRootItem->setIcon(0, m_folderIcon);
    m_hTopItem->setExpanded(true);
    m_pTree->setCurrentItem(nullptr);

    connect(m_pTree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { OnSelChanged(current); });
    connect(m_pTree, &QWidget::customContextMenuRequested, this, &CTreeDialog::OnContextMenu);
    // A selection hidden by collapsing its branch moves up to the collapsed node, which
    // becomes the current folder.
    connect(m_pTree, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* node) {
        if (IsDescendant(m_pTree->currentItem(), node))
            SelectItem(node);
    });
    // Once a node is selected one always is: Ctrl+click on it would otherwise leave the
    // panel without a current folder.
    connect(m_pTree, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (m_pTree->selectedItems().isEmpty() && m_pTree->currentItem())
            m_pTree->currentItem()->setSelected(true);
    });
}

CTreeDialog::~CTreeDialog()
{
    const QSignalBlocker blocker(m_pTree);
    DeleteNode(m_hRootItem, true);
}

QTreeWidgetItem* CTreeDialog::GetSelectedItem() const
{
    const QList<QTreeWidgetItem*> selected = m_pTree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

const EntryItemData* CTreeDialog::GetItemData(const QTreeWidgetItem* item)
{
    return item && item->type() == CFolderNode::TYPE
               ? &static_cast<const CFolderNode*>(item)->GetRecord()
               : nullptr;
}

std::string CTreeDialog::GetItemPath(const QTreeWidgetItem* item) const
{
    const EntryItemData* record = GetItemData(item);
    return record ? record->szPath : RootPath();
}

void CTreeDialog::SelectItem(QTreeWidgetItem* item)
{
    m_pTree->setCurrentItem(item);
}

QTreeWidgetItem* CTreeDialog::NodeOf(QTreeWidgetItem* item) const
{
    return item == m_hTopItem ? m_hRootItem : item;
}

bool CTreeDialog::IsDescendant(const QTreeWidgetItem* item, const QTreeWidgetItem* ancestor)
{
    for (const QTreeWidgetItem* up = item ? item->parent() : nullptr; up; up = up->parent()) {
        if (up == ancestor)
            return true;
    }
    return false;
}

void CTreeDialog::FillNode(QTreeWidgetItem* node)
{
    const CWaitCursor waitCursor;
    const std::optional<RQ540::CCardPath> path =
        RQ540::CCardPath::ParseChangeDirectoryText(GetItemPath(node));
    const RQ540::CFolderHeader* folder = g_pVfs ? FolderAt(*g_pVfs, path) : nullptr;
    if (!folder)
        return;
    DeleteNode(node, false);
    // The subtree is built detached and added in one step, then expanded in one pass: the
    // view maps its rows once, instead of once per node and again for every sibling.
    node->insertChildren(0, BuildChildren(*folder, *path));
    m_pTree->expandRecursively(m_pTree->indexFromItem(node));
}

QList<QTreeWidgetItem*> CTreeDialog::BuildChildren(const RQ540::CFolderHeader& folder,
                                                   const RQ540::CCardPath& path)
{
    // Each folder goes above the nodes built before it, so siblings show in the reverse of
    // the folder's entry order.
    QList<QTreeWidgetItem*> children;
    for (RQ540::CUnknownHeader* entry = folder.GetFirstChild(); entry; entry = entry->GetNext()) {
        if (!entry->IsFolder())
            continue;
        const RQ540::CCardPath childPath = path.GetChild(entry->GetId());
        auto* child = new CFolderNode(QString::fromStdString(RQ540::FormatId(entry->GetId())),
                                      EntryItemData{entry, childPath.ToChangeDirectoryText()});
        child->setIcon(0, m_folderIcon);
        child->addChildren(
            BuildChildren(*static_cast<const RQ540::CFolderHeader*>(entry), childPath));
        children.append(child);
    }
    std::reverse(children.begin(), children.end());
    return children;
}

void CTreeDialog::DeleteNode(QTreeWidgetItem* node, bool bDeleteSelf)
{
    // Collapsing a node that holds the selection moves the selection to the node itself.
    if (IsDescendant(m_pTree->currentItem(), node))
        SelectItem(node);
    // Collapsed once its children are gone: the view then lays out its rows once, later,
    // instead of at once without the children and again with the new ones (the scroll
    // bar leaving and coming back resizes the view, which sizes the column twice more).
    DeleteChildren(node);
    node->setExpanded(false);
    if (bDeleteSelf)
        delete node;
}

void CTreeDialog::DeleteChildren(QTreeWidgetItem* node)
{
    // All children leave the view in one step; deleting them detached touches no view.
    // Each node takes its record and its subtree with it.
    qDeleteAll(node->takeChildren());
}

QTreeWidgetItem* CTreeDialog::FindNode(QTreeWidgetItem* node, const std::string& path) const
{
    for (int index = 0; index < node->childCount(); ++index) {
        QTreeWidgetItem* child = node->child(index);
        const EntryItemData* record = GetItemData(child);
        if (record && SamePath(record->szPath, path))
            return child;
        if (QTreeWidgetItem* found = FindNode(child, path))
            return found;
    }
    return nullptr;
}

void CTreeDialog::SelectCurrentPath(const std::string& path)
{
    const QScopedValueRollback<bool> following(m_bFollowingPath, true);
    // Going up to the root (Backspace in the list) selects the root folder node; the top
    // node stands for the root as well and keeps the selection.
    QTreeWidgetItem* selected = GetSelectedItem();
    if (SamePath(path, RootPath())) {
        if (selected && NodeOf(selected) != m_hRootItem)
            SelectItem(m_hRootItem);
        return;
    }
    if (QTreeWidgetItem* node = FindNode(m_hRootItem, path)) {
        SelectItem(node);
        node->setExpanded(true);
    }
}

void CTreeDialog::RebuildNode(const std::string& path)
{
    const QScopedValueRollback<bool> following(m_bFollowingPath, true);
    // The node is nearly always the selected one: the selection follows the current path.
    QTreeWidgetItem* node = GetSelectedItem();
    if (SamePath(path, RootPath()))
        node = m_hRootItem;
    else if (!node || !SamePath(GetItemPath(node), path))
        node = FindNode(m_hRootItem, path);
    if (!node)
        return;
    FillNode(node);
    SelectItem(node);
}

void CTreeDialog::ForgetImage()
{
    const QSignalBlocker blocker(m_pTree);
    if (IsDescendant(m_pTree->currentItem(), m_hRootItem))
        m_pTree->setCurrentItem(m_hRootItem);
    DeleteChildren(m_hRootItem);
}

void CTreeDialog::OnSelChanged(QTreeWidgetItem* item)
{
    QTreeWidgetItem* node = item ? NodeOf(item) : nullptr;
    if (!node || m_bFollowingPath)
        return;
    EditedCard().SetCurrentPath(GetItemPath(node));
}

void CTreeDialog::OnContextMenu(const QPoint& position)
{
    QTreeWidgetItem* item = m_pTree->itemAt(position);
    if (!item)
        return;
    SelectItem(item);
    const std::unique_ptr<QMenu> menu = m_router.CreatePopupMenu(TreeContextMenu(), this);
    menu->exec(m_pTree->viewport()->mapToGlobal(position));
}
