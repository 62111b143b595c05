#include "QtFileDialogs.h"

#include <QFileDialog>

namespace {
IFileDialogs* g_installedFileDialogs = nullptr;
}

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
    static CQtFileDialogs qtDialogs;
    return g_installedFileDialogs ? *g_installedFileDialogs : qtDialogs;
}

IFileDialogs* SetFileDialogs(IFileDialogs* dialogs)
{
    IFileDialogs* previous = g_installedFileDialogs;
    g_installedFileDialogs = dialogs;
    return previous;
}
