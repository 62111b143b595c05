// The directory tree panel: the folders of the image as a tree under "RQ540 VFS" and
// "ROOT DIR(MF)". Selecting a node makes its folder the current one, announced as a path
// change followed by the request to list the folder again; the panel rebuilds nodes,
// selects the node of the current path and changes a folder's passwords.
#pragma once

#include "EntryItemData.h"

#include <QIcon>
#include <QList>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CCommandRouter;
class CZelvoDoc;
class QTreeWidget;
class QTreeWidgetItem;

class CTreeDialog : public QWidget {
    Q_OBJECT
public:
    // Runs the password dialog for a folder: starts from the folder's current passwords
    // (developer first), titles itself by bRoot, and on OK returns true with the new texts
    // in place. Until one is installed, change password stays disabled.
    using PasswordDialogRunner = std::function<bool(QWidget* parent, bool bRoot,
                                                    QString& strDeveloperPassword,
                                                    QString& strUserPassword)>;

    // router: where the context menu sends its commands.
    CTreeDialog(CZelvoDoc* pDocument, CCommandRouter& router, QWidget* parent = nullptr);
    ~CTreeDialog() override;

    QTreeWidget* GetTree() const { return m_pTree; }
    QTreeWidgetItem* GetTopItem() const { return m_hTopItem; }
    QTreeWidgetItem* GetRootItem() const { return m_hRootItem; }
    QTreeWidgetItem* GetSelectedItem() const;
    // The record of a sub-folder node; null for the top and root folder nodes.
    const EntryItemData* GetItemData(const QTreeWidgetItem* item) const;
    // The record's path, or "\" for a node without one.
    std::string GetItemPath(const QTreeWidgetItem* item) const;
    // Selects item; selecting another node than the selected one enters its folder.
    void SelectItem(QTreeWidgetItem* item);

    // Rebuilds the subtree of node from the image; a node whose folder cannot be entered
    // keeps its children. Leaves the file system in the last folder visited.
    void FillNode(QTreeWidgetItem* node);
    // Deletes the children of node with their records, and node itself when bDeleteSelf.
    void DeleteNode(QTreeWidgetItem* node, bool bDeleteSelf);
    // Selects and expands the node whose path is the current path.
    void SelectCurrentPath();
    // Drops every sub-folder node without entering any folder (the image is being replaced).
    void ForgetImage();

    // Rebuilds the selected node (the root folder node at the path "\"), re-enters it and
    // has the list re-listed.
    void OnRefreshNode();
    void OnChangePassword();
    bool CanChangePassword() const { return static_cast<bool>(m_runPasswordDialog); }
    void SetPasswordDialog(PasswordDialogRunner runner);

signals:
    // The selected node's folder was entered; g_szCurrentPath is its path.
    void PathChanged(const std::string& path);
    // After PathChanged: the list is to show the current folder again.
    void ListRefreshRequested();

private:
    // Enters the folder of node and announces it.
    void EnterNodeFolder(QTreeWidgetItem* node);
    void OnSelChanged(QTreeWidgetItem* item);
    void OnContextMenu(const QPoint& position);
    QTreeWidgetItem* NodeOf(QTreeWidgetItem* item) const;
    void SelectCurrentPathBelow(QTreeWidgetItem* node);
    // Builds, detached, the nodes of the current folder's sub-folders with their subtrees,
    // entering each folder it builds; nodes whose folder cannot be entered go to unentered.
    QList<QTreeWidgetItem*> BuildChildren(std::vector<QTreeWidgetItem*>& unentered);
    // Deletes the children of node with their subtrees and records.
    void DeleteChildren(QTreeWidgetItem* node);
    // Drops the records of node and of its subtree.
    void ForgetRecords(const QTreeWidgetItem* node);
    static bool IsDescendant(const QTreeWidgetItem* item, const QTreeWidgetItem* ancestor);

    CZelvoDoc* m_pDocument;
    CCommandRouter& m_router;
    QTreeWidget* m_pTree;
    QTreeWidgetItem* m_hTopItem;
    QTreeWidgetItem* m_hRootItem;
    QIcon m_deviceIcon;
    QIcon m_folderIcon;
    std::map<const QTreeWidgetItem*, std::unique_ptr<EntryItemData>> m_records;
    PasswordDialogRunner m_runPasswordDialog;
};
