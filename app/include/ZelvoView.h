// The folder list: one report row per entry of the file system's current folder, with the
// commands that act on rows (open, refresh, copy, paste, delete) and the copied entries.
// The commands that create entries and move data to and from disk files are CEntryCommands';
// Open on a file row runs ID_EDIT_FILE through the router like any other command.
//
// The view announces what it did: the folder it entered (path changed, then the request
// that the tree select the current path) and the entries it changed (the request to
// rebuild the tree node, which re-lists the view).
#pragma once

#include "CommandTable.h"
#include "EntryItemData.h"

#include <QIcon>
#include <QTableWidget>

#include <map>
#include <memory>
#include <string>
#include <vector>

class CCommandRouter;
class CZelvoDoc;
class QKeyEvent;
class QResizeEvent;

class CZelvoView : public QTableWidget {
    Q_OBJECT
public:
    // router: where Open on a file row and the context menu send their commands.
    CZelvoView(CZelvoDoc* pDocument, CCommandRouter& router, QWidget* parent = nullptr);
    ~CZelvoView() override;

    CZelvoDoc* GetDocument() const { return m_pDocument; }
    const CCommandTable& GetCommandTable() const { return m_commands; }

    // Columns built afresh after New and Open. The rows are not listed again: the new
    // image's root is listed by then.
    void OnInitialUpdate();
    // Lists the current folder again; the selection is lost.
    void RefreshList();
    // Frees every row's record and deletes the rows.
    void ClearList();

    // The record of a row; null outside the rows.
    const EntryItemData* GetItemData(int row) const;
    // Records of the selected rows from the top down.
    std::vector<const EntryItemData*> GetSelectedItemData() const;
    // The record of the selected row with the lowest index, or null.
    const EntryItemData* GetFirstSelectedItemData() const;

    // Opens a row: enters a folder, or edits a file.
    void Open(int row);

    // Whether the selected row with the lowest index is a file.
    bool IsFirstSelectedFile() const;

signals:
    // A folder was entered; g_szCurrentPath is its path.
    void PathChanged(const std::string& path);
    // After PathChanged of an entered folder: the tree is to select the current path.
    void FolderEntered();
    // Entries of the current folder changed: the tree node is to be rebuilt, which lists
    // the folder again.
    void NodeRefreshRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Enter opens the selected row, Backspace goes to the parent folder (nothing at the
    // root), Ctrl+Delete deletes like Delete.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Makes path the current folder and announces it, then lists it.
    void EnterFolderPath(const std::string& path);
    void SetupColumns();
    void ApplyColumnWidths();
    // The list's icon iconId, drawn once.
    const QIcon& RowIcon(int iconId);
    void OnOpen();
    void OnCopy();
    void OnPaste();
    void OnDelete();
    void OnContextMenu(const QPoint& position);
    bool IsFirstSelectedFolder() const;

    CZelvoDoc* m_pDocument;
    CCommandRouter& m_router;
    std::vector<std::unique_ptr<EntryItemData>> m_rows;
    std::map<int, QIcon> m_imageList;   // by icon ID, as rows need them
    CCommandTable m_commands;
};
