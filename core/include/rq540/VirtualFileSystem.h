// The one object through which a virtual card is read and changed: it owns the entry
// tree, keeps the path from the root to the current folder and the open file handles,
// and enforces the card's rules on every change. Every check of an operation runs
// before any change, so a refused operation leaves everything as it was.
#pragma once

#include "rq540/CardModel.h"
#include "rq540/CardPath.h"
#include "rq540/EntryTree.h"
#include "rq540/FileHeader.h"
#include "rq540/FolderHeader.h"
#include "rq540/VfsArchive.h"

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace RQ540 {

// The handle of an open file: valid while the file exists.
using FileHandle = CFileHeader*;

class CVirtualFileSystem {
public:
    // No model (-1), no root: fit only for LoadImage.
    CVirtualFileSystem();
    // A fresh root for the model.
    explicit CVirtualFileSystem(int32_t model);

    virtual bool IsDepthAllowed(uint32_t depth) const;
    virtual ~CVirtualFileSystem();
    [[nodiscard]] virtual int32_t SaveImage(const std::filesystem::path& path);
    [[nodiscard]] virtual int32_t LoadImage(const std::filesystem::path& path);

    CVirtualFileSystem(const CVirtualFileSystem&) = delete;
    CVirtualFileSystem& operator=(const CVirtualFileSystem&) = delete;

    // Queries. Without a root only GetRoot, GetModel, GetLastDetail and GetPath are meaningful.
    CFolderHeader* GetRoot() const { return m_path.empty() ? nullptr : m_path.front(); }
    CFolderHeader* GetCurrentFolder() const { return m_path.back(); }
    CUnknownHeader* GetFirstEntry() const { return GetCurrentFolder()->GetFirstChild(); }
    const std::vector<CFolderHeader*>& GetPath() const { return m_path; }
    // The IDs of the folders on the path below the root.
    CCardPath GetCurrentPath() const;
    CFolderHeader* FindFolder(uint32_t id) const;
    CFileHeader* FindFile(uint32_t id) const;
    // A null folder means the current folder.
    bool HasChild(uint32_t id, uint32_t& count, const CFolderHeader* folder = nullptr) const;
    void GetFolderUsage(const CFolderHeader* folder, FolderUsage& usage) const;
    uint32_t GetFileHeaderSize() const;
    uint32_t GetUserPasswordLength() const;
    uint32_t GetDeveloperPasswordLength() const;
    int32_t GetModel() const { return m_model; }
    int32_t GetLastDetail() const { return m_lastDetail; }
    // For code 1 the message of the last detail, otherwise the code's own message.
    const char* GetErrorText(int32_t code) const;
    bool IsOpen(FileHandle handle) const;
    // What the reader found wrong with the last image LoadImage rejected as malformed.
    const VfsArchive::ImageDiagnostic& GetLastImageDiagnostic() const { return m_lastDiagnostic; }
    // Why the last SaveImage or LoadImage could not use the file, when known beyond its
    // detail code (a read-only image, a folder that is not writable, not a regular file).
    DiskFile::FileProblem GetLastFileProblem() const { return m_lastFileProblem; }

    // Changes; each answers a result code, 0 for success. Null passwords mean the defaults.
    [[nodiscard]] int32_t CreateFolder(uint32_t id, uint32_t size,
                                       CFolderHeader** folder = nullptr,
                                       const uint8_t* userPassword = nullptr,
                                       const uint8_t* developerPassword = nullptr);
    // An open file inside the subtree stops the deletion part way and is reported by
    // throwing its ID as uint16_t; the tree keeps its accounting.
    [[nodiscard]] int32_t DeleteFolder(uint32_t id);
    // With handle given, the new file is also opened and must be closed.
    [[nodiscard]] int32_t CreateFile(uint32_t id, int32_t type, uint32_t size,
                                     FileHandle* handle = nullptr);
    [[nodiscard]] int32_t OpenFile(uint32_t id, FileHandle* handle);
    [[nodiscard]] int32_t CloseFile(FileHandle handle);
    [[nodiscard]] int32_t ReadFile(FileHandle handle, uint32_t offset, uint32_t length,
                                   uint8_t* destination);
    [[nodiscard]] int32_t WriteFile(FileHandle handle, uint32_t offset, uint32_t length,
                                    const uint8_t* source);
    [[nodiscard]] int32_t DeleteFile(uint32_t id);
    // Puts a deep copy of entry (file or folder, usually from this same tree) into the
    // current folder.
    [[nodiscard]] int32_t PasteEntry(const CUnknownHeader* entry);
    // Drops the whole tree, path and handles; with createRoot, starts a fresh root.
    void Format(bool createRoot);
    // Moves the current path by a text of 4-digit hexadecimal IDs separated by
    // backslashes: relative, absolute (leading backslash) or from the parent ("..").
    [[nodiscard]] int32_t ChangeDirectory(std::string_view pathText);

private:
    int32_t Fail(int32_t detail);
    void MakeFreshRoot();
    bool IsFull(uint32_t childCount) const;
    uint32_t DeleteSubtree(CFolderHeader* folder);

    std::vector<FileHandle> m_openHandles;
    std::vector<CFolderHeader*> m_path;
    int32_t m_model;
    int32_t m_lastDetail = DETAIL_NONE;
    VfsArchive::ImageDiagnostic m_lastDiagnostic;
    DiskFile::FileProblem m_lastFileProblem = DiskFile::FileProblem::NONE;
};

}  // namespace RQ540
