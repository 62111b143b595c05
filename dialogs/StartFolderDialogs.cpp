#include "StartFolderDialogs.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

CStartFolderDialogs::CStartFolderDialogs(std::function<IFileDialogs&()> provider)
    : m_provider(std::move(provider))
{
}

QString CStartFolderDialogs::GetOpenFileName(QWidget* parent, const QString& caption,
                                             const QString& directory, const QString& filter)
{
    return Remember(m_provider().GetOpenFileName(parent, caption, StartIn(directory), filter));
}

QString CStartFolderDialogs::GetSaveFileName(QWidget* parent, const QString& caption,
                                             const QString& directory, const QString& filter)
{
    return Remember(m_provider().GetSaveFileName(parent, caption, StartIn(directory), filter));
}

QString CStartFolderDialogs::StartIn(const QString& directory) const
{
    if (m_strStartFolder.isEmpty() || QFileInfo(directory).fileName() != directory)
        return directory;
    return directory.isEmpty() ? m_strStartFolder : QDir(m_strStartFolder).filePath(directory);
}

QString CStartFolderDialogs::Remember(const QString& path)
{
    if (!path.isEmpty())
        m_strStartFolder = QFileInfo(path).absolutePath();
    return path;
}
