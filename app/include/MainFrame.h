// The main window: the menu bar and below it the tool bar at the top, the folder list in
// the centre, the tree panel in its bar at the left and the status bar with the current
// path and free space. When it builds the window it subscribes the status bar, the tree
// and the list to the edited card's announcements, in the order they must act, with
// direct connections, so every announcement is carried out before its sender goes on.
#pragma once

#include "CommandRouter.h"
#include "CommandTable.h"

#include <QMainWindow>
#include <QStringList>

#include <string>
#include <vector>

class CAlphaToolBar;
class CCoolDialogBar;
class CEntryCommands;
class CMenuBar;
class CTreeCommands;
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

    // False when one of the bars could not be made; the editor then does not start.
    bool IsCreated() const { return m_bCreated; }

    CZelvoView* GetActiveView() const { return m_pView; }
    CTreeDialog* GetTreeDialog() const { return m_treeDialog; }
    CTreeCommands* GetTreeCommands() const { return m_pTreeCommands; }
    CEntryCommands* GetEntryCommands() const { return m_pEntryCommands; }
    QWidget* GetTreeBar() const;
    CAlphaToolBar* GetToolBar() const { return m_wndToolBar; }
    CMenuBar* GetMenuBar() const { return m_wndMenuBar; }
    CCommandRouter& GetRouter() { return m_router; }
    QMenu* GetFileMenu() const { return m_pFileMenu; }

    // The list view's initial update (after New and Open).
    void InitialUpdate();
    // Shows files (most recent first) as the recent-file entries of the File menu.
    void SetRecentFiles(const QStringList& files);
    void UpdateTitle();

signals:
    // Local files dropped on the window, to be opened as documents in this order.
    void FilesDropped(const QStringList& paths);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool CreateToolBar();
    bool CreateMenuBar();
    void CreateAccelerators();
    void CreateStatusPanes();
    bool CreateTreeBar(QWidget* parent);
    // The path pane with path, the free-space pane with the current folder's.
    void ShowStatusPanes(const std::string& path);
    void ConnectWindows();
    void OnMenuSelect(int command);
    void OnMenuClosed();
    void OnViewDeviceTree();
    void OnViewToolBar();
    void OnViewStatusBar();

    CZelvoDoc* m_pDocument;
    CCommandTable m_commands;
    CCommandRouter m_router;
    CZelvoView* m_pView;
    CEntryCommands* m_pEntryCommands;
    CAlphaToolBar* m_wndToolBar;
    CMenuBar* m_wndMenuBar;
    CCoolDialogBar* m_wndTreeBar;
    CTreeDialog* m_treeDialog;
    CTreeCommands* m_pTreeCommands;
    bool m_bCreated = false;
    QLabel* m_pMessagePane = nullptr;
    QLabel* m_pPathPane = nullptr;
    QLabel* m_pFreeSpacePane = nullptr;
    QMenu* m_pFileMenu = nullptr;
    QAction* m_pRecentFilesEnd = nullptr;
    std::vector<QAction*> m_recentFileActions;
};
