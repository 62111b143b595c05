#include "CardSession.h"

#include "CliError.h"

#include "rq540/PasswordField.h"

#include <algorithm>
#include <utility>

namespace RQ540::Cli {

CCardSession::CCardSession(std::filesystem::path image)
    : m_image(std::move(image)), m_loaded(DiskFile::GetIdentity(m_image))
{
    const int32_t result = m_vfs.LoadImage(m_image);
    if (result != RESULT_SUCCESS)
        throw CCliError::Refusal(CCliError::FileOperation("load " + DiskFile::Utf8FromPath(m_image), m_vfs),
                                 m_vfs, result);
}

CCardSession::CCardSession(std::filesystem::path image, int32_t model)
    : m_image(std::move(image)), m_vfs(model)
{
}

void CCardSession::Save()
{
    const std::string operation = "save " + DiskFile::Utf8FromPath(m_image);
    if (m_loaded && DiskFile::GetIdentity(m_image) != m_loaded)
        throw CCliError::Failure(operation +
                                 ": the image changed on disk since it was loaded; nothing written");
    const int32_t result = m_vfs.SaveImage(m_image);
    if (result != RESULT_SUCCESS)
        throw CCliError::Refusal(CCliError::FileOperation(operation, m_vfs), m_vfs, result);
}

FolderUsage CCardSession::GetUsage(const CFolderHeader* folder) const
{
    FolderUsage usage;
    m_vfs.GetFolderUsage(folder, usage);
    return usage;
}

void CCardSession::Check(int32_t result, std::string_view operation) const
{
    if (result != RESULT_SUCCESS)
        throw CCliError::Refusal(operation, m_vfs, result);
}

const CFolderHeader* CCardSession::EnterFolder(const CCardPath& folder,
                                               std::string_view operation)
{
    Check(m_vfs.ChangeDirectory(folder.ToChangeDirectoryText()), operation);
    return m_vfs.GetCurrentFolder();
}

void CCardSession::MakeFolder(const CCardPath& path, uint32_t size, const Passwords& passwords,
                              std::string_view operation)
{
    EnterFolder(path.GetParent(), operation);
    PasswordBuffer user{};
    PasswordBuffer developer{};
    if (passwords.user)
        user = PasswordField(*passwords.user, m_vfs.GetUserPasswordLength());
    if (passwords.developer)
        developer = PasswordField(*passwords.developer, m_vfs.GetDeveloperPasswordLength());
    // A null password asks the card for its default.
    Check(m_vfs.CreateFolder(path.GetId(), size, nullptr, passwords.user ? user.data() : nullptr,
                             passwords.developer ? developer.data() : nullptr),
          operation);
}

void CCardSession::AddFile(const CCardPath& path, uint8_t type, uint32_t size,
                           std::span<const uint8_t> bytes, std::string_view operation)
{
    EnterFolder(path.GetParent(), operation);
    FileHandle handle = nullptr;
    Check(m_vfs.CreateFile(path.GetId(), type, size, &handle), operation);
    WriteAndClose(handle, 0, bytes.first(std::min<std::size_t>(bytes.size(), size)), operation);
}

void CCardSession::WriteFile(const CCardPath& path, uint32_t offset,
                             std::span<const uint8_t> bytes, std::string_view operation)
{
    EnterFolder(path.GetParent(), operation);
    FileHandle handle = nullptr;
    Check(m_vfs.OpenFile(path.GetId(), &handle), operation);
    WriteAndClose(handle, offset, bytes, operation);
}

void CCardSession::WriteAndClose(FileHandle handle, uint32_t offset,
                                 std::span<const uint8_t> bytes, std::string_view operation)
{
    // Inputs are read with a 32-bit limit, so the length cannot be cut here.
    const int32_t written =
        m_vfs.WriteFile(handle, offset, static_cast<uint32_t>(bytes.size()), bytes.data());
    const int32_t closed = m_vfs.CloseFile(handle);
    Check(written, operation);
    Check(closed, operation);
}

std::vector<uint8_t> CCardSession::ReadFile(const CCardPath& path, std::string_view operation)
{
    EnterFolder(path.GetParent(), operation);
    FileHandle handle = nullptr;
    Check(m_vfs.OpenFile(path.GetId(), &handle), operation);
    std::vector<uint8_t> bytes(handle->GetSize());
    const int32_t read = m_vfs.ReadFile(handle, 0, handle->GetSize(), bytes.data());
    const int32_t closed = m_vfs.CloseFile(handle);
    Check(read, operation);
    Check(closed, operation);
    return bytes;
}

void CCardSession::Remove(const CCardPath& path, std::string_view operation)
{
    EnterFolder(path.GetParent(), operation);
    // No handle stays open between operations, so deleting a folder never stops part way.
    if (m_vfs.FindFolder(path.GetId()))
        Check(m_vfs.DeleteFolder(path.GetId()), operation);
    else
        Check(m_vfs.DeleteFile(path.GetId()), operation);
}

void CCardSession::Copy(const CCardPath& source, const CCardPath& destination,
                        std::string_view operation)
{
    const CUnknownHeader* entry = m_vfs.GetRoot();
    if (!source.IsRoot()) {
        EnterFolder(source.GetParent(), operation);
        entry = m_vfs.FindFolder(source.GetId());
        if (!entry) {
            // Opening the file lets the card itself report a missing source (result 5).
            FileHandle handle = nullptr;
            Check(m_vfs.OpenFile(source.GetId(), &handle), operation);
            Check(m_vfs.CloseFile(handle), operation);
            entry = handle;
        }
    }
    EnterFolder(destination, operation);
    Check(m_vfs.PasteEntry(entry), operation);
}

void CCardSession::SetPasswords(const CCardPath& folder, const Passwords& passwords,
                                std::string_view operation)
{
    EnterFolder(folder, operation);
    CFolderHeader* current = m_vfs.GetCurrentFolder();
    if (passwords.user)
        current->SetUserPassword(
            PasswordField(*passwords.user, m_vfs.GetUserPasswordLength()).data());
    if (passwords.developer)
        current->SetDeveloperPassword(
            PasswordField(*passwords.developer, m_vfs.GetDeveloperPasswordLength()).data());
}

void CCardSession::Format() { m_vfs.Format(true); }

}  // namespace RQ540::Cli
