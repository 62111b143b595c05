// The application: settings and recent files, the one document and its frame, the command
// line, the standard New and Open commands, recent files, dropped files and the about box.
#pragma once

#include "CommandTable.h"

#include <QObject>
#include <QStringList>

#include <memory>

class CMainFrame;
class CRecentFileList;
class CZelvoDoc;
class QSettings;

class CZelvoApp : public QObject {
    Q_OBJECT
public:
    CZelvoApp();
    ~CZelvoApp() override;

    // Starts the editor: settings, document and frame, then the command line (a file name
    // opens that image, none makes a new one), then shows the frame. False when the
    // command line's document could not be made; the program then ends.
    bool InitInstance(const QStringList& arguments);

    CZelvoDoc* GetDocument() const { return m_pDocument.get(); }
    CMainFrame* GetMainFrame() const { return m_pMainFrame.get(); }
    const CRecentFileList& GetRecentFileList() const { return *m_pRecentFileList; }

    // New, asking first whether to save a modified image.
    bool OnFileNew();
    // Open with the file dialog.
    void OnFileOpen();
    // Opens path as the document, asking first whether to save a modified image; false
    // when the user cancelled or the file is no valid image (the old image stays).
    bool OpenDocumentFile(const QString& path);
    // Opens recent file index; an entry that is no longer a readable image leaves the list.
    void OnOpenRecentFile(int index);
    void OnAppAbout();

private:
    void OnDocumentPathAdopted(const QString& path);

    std::unique_ptr<QSettings> m_pSettings;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    CCommandTable m_commands;
    // Declared before the frame: the frame goes first, then the document drops the image.
    std::unique_ptr<CZelvoDoc> m_pDocument;
    std::unique_ptr<CMainFrame> m_pMainFrame;
};
