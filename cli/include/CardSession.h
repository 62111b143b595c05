// One card image loaded from disk, changed only through the card's own operations, and
// written back whole with the card's atomic save. Every refusal of the card becomes a
// CCliError that names the operation and carries the card's message and code.
#pragma once

#include "rq540/CardPath.h"
#include "rq540/DiskFile.h"
#include "rq540/RQ540Vfs.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace RQ540::Cli {

class CCardSession {
public:
    // Typed texts; an absent one keeps the folder's password (the default for a new folder).
    struct Passwords {
        std::optional<std::string> user;
        std::optional<std::string> developer;
    };

    // Loads image; a failed load is a CCliError naming "load IMAGE".
    explicit CCardSession(std::filesystem::path image);
    // A fresh card of model, not yet written to image.
    CCardSession(std::filesystem::path image, int32_t model);

    CCardSession(const CCardSession&) = delete;
    CCardSession& operator=(const CCardSession&) = delete;

    // Writes the whole card to the image; a failure is a CCliError naming "save IMAGE".
    // A loaded image that changed on disk since it was loaded (a program that takes no
    // lock wrote it) is not overwritten, so that its changes are not lost.
    void Save();

    const CVirtualFileSystem& GetVfs() const { return m_vfs; }
    FolderUsage GetUsage(const CFolderHeader* folder) const;

    // Each operation below enters the folder it works in first, so a missing folder on the
    // way is the card's own refusal (result 1, detail 2). operation names the command in
    // the refusal line.
    const CFolderHeader* EnterFolder(const CCardPath& folder, std::string_view operation);
    void MakeFolder(const CCardPath& path, uint32_t size, const Passwords& passwords,
                    std::string_view operation);
    // Creates the file and writes bytes from its start; bytes past size are cut.
    void AddFile(const CCardPath& path, uint8_t type, uint32_t size,
                 std::span<const uint8_t> bytes, std::string_view operation);
    void WriteFile(const CCardPath& path, uint32_t offset, std::span<const uint8_t> bytes,
                   std::string_view operation);
    std::vector<uint8_t> ReadFile(const CCardPath& path, std::string_view operation);
    // A folder goes with its whole subtree.
    void Remove(const CCardPath& path, std::string_view operation);
    // Resolves source (the root included) first, then enters destination and pastes a deep
    // copy there.
    void Copy(const CCardPath& source, const CCardPath& destination, std::string_view operation);
    void SetPasswords(const CCardPath& folder, const Passwords& passwords,
                      std::string_view operation);
    void Format();

private:
    void Check(int32_t result, std::string_view operation) const;
    // Writes bytes at offset through an open handle, then closes it whatever happened.
    void WriteAndClose(FileHandle handle, uint32_t offset, std::span<const uint8_t> bytes,
                       std::string_view operation);

    std::filesystem::path m_image;
    CRQ540Vfs m_vfs;
    std::optional<DiskFile::FileIdentity> m_loaded;
};

}  // namespace RQ540::Cli
