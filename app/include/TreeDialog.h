// The directory tree panel: the folders of the image as a tree under "RQ540 VFS" and
// "ROOT DIR(MF)". Selecting a node makes its folder the current one through the edited
// card; the panel follows the card's announcements by selecting the node of the current
// path and rebuilding the node of a changed folder. Its commands are CTreeCommands'.
#pragma once

#include "EntryItemData.h"

#include <QIcon>
#include <QList>
#include <QWidget>

#include <string>

class CCommandRouter;
class QTreeWidget;
class QTreeWidgetItem;

namespace RQ540 {
class CCardPath;
class CFolderHeader;
}

class CTreeDialog : public QWidget {
    Q_OBJECT
public:
    // router: where the context menu sends its commands.
    explicit CTreeDialog(CCommandRouter& router, QWidget* parent = nullptr);
    ~CTreeDialog() override;

    QTreeWidget* GetTree() const { return m_pTree; }
    QTreeWidgetItem* GetTopItem() const { return m_hTopItem; }
    QTreeWidgetItem* GetRootItem() const { return m_hRootItem; }
    QTreeWidgetItem* GetSelectedItem() const;
    // The node a command given on item acts on: the root folder node for the top node.
    QTreeWidgetItem* NodeOf(QTreeWidgetItem* item) const;
    // The record of a sub-folder node; null for the top and root folder nodes and for none.
    static const EntryItemData* GetItemData(const QTreeWidgetItem* item);
    // The record's path, or "\" for a node without one.
    std::string GetItemPath(const QTreeWidgetItem* item) const;
    // Selects item; selecting another node than the selected one enters its folder.
    void SelectItem(QTreeWidgetItem* item);

    // Rebuilds the subtree of node from the image, reading the entry tree without moving
    // the current folder; a node whose path no longer leads to a folder keeps its children.
    void FillNode(QTreeWidgetItem* node);
    // Deletes the children of node with their records, and node itself when bDeleteSelf.
    void DeleteNode(QTreeWidgetItem* node, bool bDeleteSelf);
    // Selects and expands the node whose path is path (the current one); going up to the
    // root selects the root folder node unless the top node, which stands for it, is
    // selected. Enters no folder.
    void SelectCurrentPath(const std::string& path);
    // Rebuilds the node of the folder at path (the root folder node for "\"), then selects
    // it. Enters no folder.
    void RebuildNode(const std::string& path);
    // Drops every sub-folder node without entering any folder (the image is being replaced).
    void ForgetImage();

private:
    void OnSelChanged(QTreeWidgetItem* item);
    void OnContextMenu(const QPoint& position);
    // The node whose record path is path, searched below node; null when there is none.
    QTreeWidgetItem* FindNode(QTreeWidgetItem* node, const std::string& path) const;
    // Builds, detached, the nodes of folder's sub-folders with their subtrees; path is
    // folder's.
    QList<QTreeWidgetItem*> BuildChildren(const RQ540::CFolderHeader& folder,
                                          const RQ540::CCardPath& path);
    // Deletes the children of node with their subtrees and records.
    static void DeleteChildren(QTreeWidgetItem* node);
    static bool IsDescendant(const QTreeWidgetItem* item, const QTreeWidgetItem* ancestor);

    CCommandRouter& m_router;
    QTreeWidget* m_pTree;
    QTreeWidgetItem* m_hTopItem;
    QTreeWidgetItem* m_hRootItem;
    QIcon m_deviceIcon;
    QIcon m_folderIcon;
    // While the panel moves its selection itself to follow the current path, the new
    // selection enters nothing: the folder is current already.
    bool m_bFollowingPath = false;
};
