// The common open and save dialogs go through one replaceable provider, so tests can
// pick files without a modal window.
#pragma once

#include <QString>

class QWidget;

class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    // filter in Qt's form ("Name (*.ext);;All Files (*)"); an empty result means cancelled.
    virtual QString GetOpenFileName(QWidget* parent, const QString& caption,
                                    const QString& directory, const QString& filter) = 0;
    virtual QString GetSaveFileName(QWidget* parent, const QString& caption,
                                    const QString& directory, const QString& filter) = 0;
};

// The provider in use (QFileDialog unless a test installed another), starting where the
// last file was chosen or the document was last opened or saved when the caller names no
// folder.
IFileDialogs& FileDialogs();
// Installs dialogs (null restores QFileDialog); returns the previous one.
IFileDialogs* SetFileDialogs(IFileDialogs* dialogs);
// The folder the next dialog starts in; empty leaves it to the provider (the working
// folder for QFileDialog). Every file chosen in a dialog sets it to that file's folder.
void SetStartFolder(const QString& folder);
