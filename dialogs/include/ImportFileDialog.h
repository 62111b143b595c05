// Collects the disk file to import and the new card file's ID, size and type. Size 0
// with a file name takes the disk file's length; an empty file name asks for a
// zero-filled file of the entered size. A size below the disk file's length is asked
// about before the dialog closes: the rest of the file would be left out.
#pragma once

#include "FileEntryDialog.h"

#include <QString>

#include <cstdint>
#include <optional>

class QLineEdit;

class CImportFileDialog : public CFileEntryDialog {
    Q_OBJECT

public:
    // Control IDs of the source fields of template 111; the destination fields' are
    // CFileEntryDialog's.
    static constexpr int IDC_FILE_NAME = 1030;
    static constexpr int IDC_BROWSE = 1009;

    explicit CImportFileDialog(QWidget* parent = nullptr);

    QLineEdit* m_editFileName;
    QString m_strFileName;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    bool PrepareSize() override;
    // A disk file longer than the size loses its end: the user is asked first.
    bool ConfirmSize() override;

private:
    void OnBrowse();
    // The length of the disk file path names, counted up to one byte past the card's
    // capacity; nothing after the file was reported as unreadable.
    std::optional<uint64_t> DiskLength(const QString& path);
};
