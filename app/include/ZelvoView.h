// The folder list: one report row per entry of the file system's current folder, with the
// commands that act on rows (open, refresh, copy, paste, delete) and the copied entries.
//
// The view also owns the entries of the commands that create entries and move data
// between the image and disk files: ID_NEW_FOLDER, ID_NEW_FILE, ID_IMPORT, ID_EXPORT,
// ID_EDIT_FILE and ID_HARDWARE_INFO. Their enabling rules are set here; their handlers come
// from a CEntryCommands object, a QObject child of this view created in the constructor
// (`new CEntryCommands(this)`), which calls GetCommandTable().SetHandler(id, handler) for
// each of them. A command without a handler stays disabled. Open on a file row runs the
// ID_EDIT_FILE handler.
#pragma once

#include "CommandTable.h"
#include "EntryItemData.h"

#include <QIcon>
#include <QTableWidget>

#include <map>
#include <memory>
#include <vector>

class CZelvoDoc;
class QResizeEvent;

class CZelvoView : public QTableWidget {
    Q_OBJECT
public:
    explicit CZelvoView(CZelvoDoc* pDocument, QWidget* parent = nullptr);
    ~CZelvoView() override;

    CZelvoDoc* GetDocument() const { return m_pDocument; }
    CCommandTable& GetCommandTable() { return m_commands; }

    // Image list, columns and rows built afresh (at start and after New and Open).
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

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetupColumns();
    void ApplyColumnWidths();
    void OnOpen();
    void OnCopy();
    void OnPaste();
    void OnDelete();
    void OnContextMenu(const QPoint& position);
    bool IsFirstSelectedFolder() const;
    bool IsFirstSelectedFile() const;

    CZelvoDoc* m_pDocument;
    std::vector<std::unique_ptr<EntryItemData>> m_rows;
    std::map<int, QIcon> m_imageList;
    CCommandTable m_commands;
};
