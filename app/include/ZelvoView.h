// The folder list: one report row per entry of the file system's current folder, with the
// commands that act on rows (open, refresh, copy, paste, delete) and the copied entries.
// The commands that create entries and move data to and from disk files are CEntryCommands';
// Open on a file row runs ID_EDIT_FILE through the router like any other command.
//
// The view changes the current folder and the image through the edited card (entering a
// folder, pasting, deleting) and shows what the card announces: it lists the current
// folder again whenever the folder or its entries change.
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

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Enter opens the selected row, Backspace goes to the parent folder (nothing at the
    // root), Ctrl+Delete deletes like Delete.
    void keyPressEvent(QKeyEvent* event) override;

private:
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
