// The document: the path, title and modified flag of the one image being edited, with New,
// Open, Save, Save As and the question whether to save a modified image before it is
// replaced or closed. The image itself is the edited card's (g_pVfs): New and Open hand
// it a new one and have the card show its root folder.
#pragma once

#include "CommandTable.h"

#include "rq540/DiskFile.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <filesystem>
#include <optional>

class CZelvoDoc : public QObject {
    Q_OBJECT
public:
    explicit CZelvoDoc(QObject* parent = nullptr);
    ~CZelvoDoc() override;

    // A fresh image for the new-card model, titled "NewRqVfs".
    bool OnNewDocument();
    // Reads the image at path; on failure reports it and keeps the current image.
    bool OnOpenDocument(const QString& path);
    // Writes the image to path; on failure reports it and leaves the modified flag set.
    // When path is the document's file and another program changed that file since it
    // was opened or saved here, asks first; No leaves the file alone and fails the save.
    bool OnSaveDocument(const QString& path);
    // Drops the image.
    void OnCloseDocument();

    void SetModifiedFlag(bool bModified = true);
    bool IsModified() const { return m_bModified; }

    const QString& GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& title);
    const QString& GetPathName() const { return m_strPathName; }
    // Adopts path as the document's file; the title becomes its file name.
    void SetPathName(const QString& path);

    // When the image is modified, asks whether to save it first. False means stop: the
    // user cancelled, or the save failed.
    bool SaveModified();
    // Save: to the document's file, or through Save As when it has none.
    bool DoFileSave();
    // Save As: asks for a path (proposing the current one), then saves there.
    bool DoSave();

    // Save and Save As.
    const CCommandTable& GetCommandTable() const { return m_commands; }

    // The window its questions and file dialogs belong to; none until one is set.
    void SetDialogParent(QWidget* parent) { m_pDialogParent = parent; }

signals:
    void TitleChanged();
    // A path was adopted by Open or Save As (for the recent-file list).
    void PathNameAdopted(const QString& path);

private:
    // False when file is the document's own file, found as current on disk, changed since
    // this document read or wrote it, and the user chose not to overwrite it.
    bool ConfirmOverwrite(const QString& path, const std::filesystem::path& file,
                          const std::optional<RQ540::DiskFile::FileIdentity>& current);

    QString m_strTitle;
    QString m_strPathName;
    bool m_bModified = false;
    // The document's file as this document last read or wrote it; nothing for a new
    // image or a file that was not there.
    std::optional<RQ540::DiskFile::FileIdentity> m_fileIdentity;
    CCommandTable m_commands;
    QPointer<QWidget> m_pDialogParent;
};
