// The main window: the menu bar, the folder list in the centre, the tree panel at the left
// and the status bar with the current path and free space. It relays the shell's requests
// between document, list and tree, and carries out delete folder and erase root.
#pragma once

#include "CommandRouter.h"
#include "CommandTable.h"
#include "MenuTable.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>
#include <span>
#include <string>
#include <vector>

class CTreeDialog;
class CZelvoDoc;
class CZelvoView;
class QAction;
class QLabel;
class QMenu;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // appCommands: the application's commands, asked last.
    CMainFrame(CZelvoDoc* pDocument, const CCommandTable& appCommands, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CZelvoView* GetActiveView() const { return m_pView; }
    CTreeDialog* GetTreeDialog() const { return m_treeDialog; }
    QWidget* GetTreeBar() const { return m_wndTreeBar; }
    CCommandRouter& GetRouter() { return m_router; }
    QMenu* GetFileMenu() const { return m_pFileMenu; }

    // A request sent to the frame itself (ID_REFRESH_NODE, ID_REFRESH_VIEW, ID_OPEN and the
    // frame's other commands): handled by the frame, never offered to the list first.
    void SendCommand(int id);
    // The current path changed: status bar panes, then the tree's selection.
    void OnVfsPathChanged(const std::string& path);
    // The list view's initial update (after New and Open).
    void InitialUpdate();
    // Forgets every row and node that refers into the image (it is being replaced).
    void ForgetImage();
    // Shows files (most recent first) as the recent-file entries of the File menu.
    void SetRecentFiles(const QStringList& files);
    void UpdateTitle();

    // A popup of items whose commands go through this frame's routing.
    std::unique_ptr<QMenu> CreatePopupMenu(std::span<const MenuItemDef> items, QWidget* parent);

signals:
    // Local files dropped on the window, to be opened as documents in this order.
    void FilesDropped(const QStringList& paths);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateMenus();
    void CreateAccelerators();
    void CreateStatusPanes();
    void FillMenu(QMenu* menu, std::span<const MenuItemDef> items);
    void OnViewDeviceTree();
    void OnViewStatusBar();
    void OnDeleteFolder();
    void OnEraseRoot();

    CZelvoDoc* m_pDocument;
    CCommandTable m_commands;
    CCommandRouter m_router;
    CZelvoView* m_pView;
    QWidget* m_wndTreeBar;
    CTreeDialog* m_treeDialog;
    QLabel* m_pPathPane = nullptr;
    QLabel* m_pFreeSpacePane = nullptr;
    QMenu* m_pFileMenu = nullptr;
    QAction* m_pRecentFilesEnd = nullptr;
    std::vector<QAction*> m_recentFileActions;
};
