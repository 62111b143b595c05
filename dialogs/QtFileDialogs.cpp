#include "QtFileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

IFileDialogs* g_installedFileDialogs = nullptr;
QString g_strLastFolder;

IFileDialogs& Provider()
{
    static CQtFileDialogs qtDialogs;
    return g_installedFileDialogs ? *g_installedFileDialogs : qtDialogs;
}

// Puts the provider's dialogs in the last folder used: an empty directory becomes that
// folder, a bare file name a file in it; a path with a folder of its own is kept.
class CStartFolderDialogs : public IFileDialogs {
public:
    QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                            const QString& filter) override
    {
        return Remember(Provider().GetOpenFileName(parent, caption, StartIn(directory), filter));
    }
    QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                            const QString& filter) override
    {
        return Remember(Provider().GetSaveFileName(parent, caption, StartIn(directory), filter));
    }

private:
    static QString StartIn(const QString& directory)
    {
        if (g_strLastFolder.isEmpty() || QFileInfo(directory).fileName() != directory)
            return directory;
        return directory.isEmpty() ? g_strLastFolder : QDir(g_strLastFolder).filePath(directory);
    }
    static QString Remember(const QString& path)
    {
        if (!path.isEmpty())
            SetStartFolder(QFileInfo(path).absolutePath());
        return path;
    }
};

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
    static CStartFolderDialogs dialogs;
    return dialogs;
}

IFileDialogs* SetFileDialogs(IFileDialogs* dialogs)
{
    IFileDialogs* previous = g_installedFileDialogs;
    g_installedFileDialogs = dialogs;
    return previous;
}

void SetStartFolder(const QString& folder)
{
    g_strLastFolder = folder;
}
