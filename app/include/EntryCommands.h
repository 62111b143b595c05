// The folder list's commands that create entries and move data between the image and
// disk files: new folder, new file, import, export, edit file and hardware information.
// Each runs its dialog, then calls the file system in the current folder and reports a
// refusal; the view's command table gets the handlers, the view keeps the enabling rules.
#pragma once

#include <QObject>

class CZelvoView;

class CEntryCommands : public QObject {
    Q_OBJECT
public:
    // Installs the handlers in pView's command table; a child of pView.
    explicit CEntryCommands(CZelvoView* pView);

private:
    void OnNewFolder();
    void OnNewFile();
    void OnImport();
    void OnExport();
    void OnEditFile();
    void OnHardwareInfo();

    // The tree node of the current folder and the list are rebuilt, the image is modified.
    void EntriesChanged();
    void Warn(const QString& text);

    CZelvoView* m_pView;
};
