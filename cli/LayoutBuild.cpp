#include "LayoutBuild.h"

#include "CliError.h"

#include "rq540/CardModel.h"

#include <utility>

namespace RQ540::Cli {

namespace {

uint32_t CountEntries(const CFolderHeader* folder)
{
    uint32_t count = 0;
    for (const CUnknownHeader* child = folder->GetFirstChild(); child; child = child->GetNext())
        ++count;
    return count;
}

}  // namespace

CLayoutBuilder::CLayoutBuilder(CCardSession& session, std::string where, bool allowRedacted)
    : m_session(session), m_where(std::move(where)), m_allowRedacted(allowRedacted)
{
}

std::string CLayoutBuilder::Where(const std::string& location) const
{
    return location.empty() ? m_where : m_where + ": " + location;
}

template <typename Change>
void CLayoutBuilder::Attempt(const LayoutEntry& entry, Change change)
{
    try {
        change(Where(entry.location));
    } catch (const CCliError& error) {
        const int32_t result = error.GetResult();
        if (result == RESULT_SUCCESS)
            throw;
        const CVirtualFileSystem& vfs = m_session.GetVfs();
        std::string key;
        if (result == RESULT_INVALID_PARAMETER)
            key = "/type";
        else if (result == RESULT_INVALID_LENGTH)
            key = "/size";
        else if (result == RESULT_ALREADY_EXISTS)
            key = "/id";
        // A full folder refuses with the same code as missing space; the card has entered
        // the parent by the time it refuses.
        else if (result == RESULT_NO_SPACE &&
                 CountEntries(vfs.GetCurrentFolder()) != GetMaxEntries(vfs.GetModel()))
            key = "/size";
        throw CCliError::Refusal(Where(entry.location + key), vfs, result);
    }
}

std::optional<std::string> CLayoutBuilder::GetPassword(const LayoutPassword& password,
                                                       const std::string& location) const
{
    switch (password.source) {
    case LayoutPassword::Source::DEFAULT:
        return std::nullopt;
    case LayoutPassword::Source::BYTES:
        return password.bytes;
    case LayoutPassword::Source::REDACTED:
        break;
    }
    if (!m_allowRedacted)
        throw CCliError::Failure(Where(location) +
                                 ": the password is redacted; --allow-redacted stores zeros");
    return std::string();
}

CCardSession::Passwords CLayoutBuilder::GetPasswords(const LayoutEntry& folder) const
{
    return {GetPassword(folder.userPassword, folder.location + "/userPassword"),
            GetPassword(folder.developerPassword, folder.location + "/developerPassword")};
}

void CLayoutBuilder::Build(const LayoutEntry& root)
{
    m_session.SetPasswords(CCardPath(), GetPasswords(root), Where(root.location));
    BuildChildren(root, CCardPath());
}

void CLayoutBuilder::BuildChildren(const LayoutEntry& folder, const CCardPath& path)
{
    for (auto child = folder.children.rbegin(); child != folder.children.rend(); ++child) {
        const CCardPath childPath = path.GetChild(child->id);
        if (child->folder) {
            const CCardSession::Passwords passwords = GetPasswords(*child);
            Attempt(*child, [&](const std::string& where) {
                m_session.MakeFolder(childPath, child->size, passwords, where);
            });
            BuildChildren(*child, childPath);
        } else {
            Attempt(*child, [&](const std::string& where) {
                m_session.AddFile(childPath, child->type, child->size, child->data, where);
            });
        }
    }
    // Only the folder's own children take its space, so it is final now.
    const uint32_t free =
        m_session.EnterFolder(path, Where(folder.location))->GetFreeSpace();
    if (folder.free && *folder.free != free)
        throw CCliError::Failure(Where(folder.location + "/free") +
                                 ": the free space comes out as " + std::to_string(free) +
                                 ", not " + std::to_string(*folder.free));
}

}  // namespace RQ540::Cli
