// Puts the dialogs of another provider in the last folder used: an empty directory becomes
// that folder, a bare file name a file in it; a path with a folder of its own is kept.
// Every file chosen makes its folder the next start.
#pragma once

#include "FileDialogs.h"

#include <functional>

class CStartFolderDialogs : public IFileDialogs {
public:
    // provider: the dialogs in use at the time of each call.
    explicit CStartFolderDialogs(std::function<IFileDialogs&()> provider);

    QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                            const QString& filter) override;
    QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                            const QString& filter) override;

    void SetStartFolder(const QString& folder) { m_strStartFolder = folder; }

private:
    QString StartIn(const QString& directory) const;
    QString Remember(const QString& path);

    std::function<IFileDialogs&()> m_provider;
    QString m_strStartFolder;
};
