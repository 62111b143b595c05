// The edit-file dialog (template 108, "编辑文件"): one card file's bytes in the hex editor,
// overwritten in place, exported to a disk file or overwritten by a disk file's bytes.
// The caller copies m_nSize bytes into m_pBuffer before DoModal and, after OK, reads
// m_nSize bytes back from it; the dialog never changes the size.
#pragma once

#include "ExchangeDialog.h"
#include "HexEdit.h"

#include <cstdint>
#include <memory>
#include <vector>

// Bytes m_pBuffer holds; larger than any card file.
inline constexpr int32_t EDIT_BUFFER_SIZE = 0x100000;

class CEditFileDialog : public CExchangeDialog {
    Q_OBJECT

public:
    // Control IDs of template 108, each the objectName of its control.
    static constexpr int IDC_HEX_EDIT = 1004;
    static constexpr int IDC_EXPORT = 1005;
    static constexpr int IDC_IMPORT = 1006;

    explicit CEditFileDialog(QWidget* parent = nullptr);

    CHexEdit m_hexEdit;
    // Zero-filled at construction; holds the caller's bytes, the last export or import,
    // and after OK the edited bytes.
    std::unique_ptr<uint8_t[]> m_pBuffer;
    int32_t m_nSize = 64;

protected:
    // The bytes move as a whole in OnInitDialog, OnOK, export and import; there are no
    // fields to exchange.
    void DoDataExchange(CDataExchange& dx) override;
    void OnInitDialog() override;
    void OnOK() override;

private:
    void OnExport();
    void OnImport();
    // m_nSize, kept within the buffer.
    int32_t BufferBytes() const;
    // m_nSize bytes of m_pBuffer with the editor's bytes (at most m_nSize) over them.
    std::vector<uint8_t> EditedBytes() const;
    // The editor's bytes, at most m_nSize of them, into m_pBuffer.
    void TakeEdits();

    QPushButton* m_pOkButton;
};
