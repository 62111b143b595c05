#include "QtFileDialogs.h"

#include "StartFolderDialogs.h"

#include <QFileDialog>

namespace {

IFileDialogs* g_installedFileDialogs = nullptr;

CStartFolderDialogs& StartFolderDialogs()
{
    static CStartFolderDialogs dialogs([]() -> IFileDialogs& {
        static CQtFileDialogs qtDialogs;
        return g_installedFileDialogs ? *g_installedFileDialogs : qtDialogs;
    });
    return dialogs;
}

}  // namespace

QString CQtFileDialogs::GetOpenFileName(QWidget* parent, const QString& caption,
                                        const QString& directory, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

QString CQtFileDialogs::GetSaveFileName(QWidget* parent, const QString& caption,
                                        const QString& directory, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, directory, filter);
}

IFileDialogs& FileDialogs()
{
    return StartFolderDialogs();
}

IFileDialogs* SetFileDialogs(IFileDialogs* dialogs)
{
    IFileDialogs* previous = g_installedFileDialogs;
    g_installedFileDialogs = dialogs;
    return previous;
}

void SetStartFolder(const QString& folder)
{
    StartFolderDialogs().SetStartFolder(folder);
}
