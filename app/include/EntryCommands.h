// The folder list's commands that create entries and move data between the image and
// disk files: new folder, new file, import, export, edit file and hardware information.
// Each runs its dialog, then calls the file system in the current folder, reports a
// refusal and has the edited card announce the changed folder. The commands are
// registered here with their handlers and enabling rules together; the router asks this
// table right after the list's own.
#pragma once

#include "CommandTable.h"

#include <QObject>

class CZelvoDoc;
class CZelvoView;

class CEntryCommands : public QObject {
    Q_OBJECT
public:
    // pView gives the selection and parents the dialogs; pDocument is marked modified.
    CEntryCommands(CZelvoView* pView, CZelvoDoc* pDocument, QObject* parent = nullptr);

    const CCommandTable& GetCommandTable() const { return m_commands; }

private:
    void OnNewFolder();
    void OnNewFile();
    void OnImport();
    void OnExport();
    void OnEditFile();
    void OnHardwareInfo();

    // The current folder is announced as changed (its tree node and the list are rebuilt),
    // the image is modified.
    void EntriesChanged();

    CZelvoView* m_pView;
    CZelvoDoc* m_pDocument;
    CCommandTable m_commands;
};
