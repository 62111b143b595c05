// Collects a new empty file's ID, size and type for the current folder.
#pragma once

#include "FileEntryDialog.h"

class CNewFileDialog : public CFileEntryDialog {
    Q_OBJECT

public:
    explicit CNewFileDialog(QWidget* parent = nullptr);
};
