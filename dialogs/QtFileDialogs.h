// The file dialogs of the running program: QFileDialog.
#pragma once

#include "FileDialogs.h"

class CQtFileDialogs : public IFileDialogs {
public:
    QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                            const QString& filter) override;
    QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                            const QString& filter) override;
};
