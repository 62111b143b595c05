#include "rq540/VirtualFileSystem.h"

#include "rq540/FileIo.h"
#include "rq540/File_Ptr.h"
#include "rq540/HexDigits.h"

#include <algorithm>
#include <system_error>

namespace RQ540 {

namespace {

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads the ID list of a path text from position: four hex digits per ID, blanks and one
// backslash allowed between IDs and at the end. False when the text does not parse.
bool ParseIdList(std::string_view text, std::size_t position, std::vector<uint16_t>& ids)
{
    auto skipBlanks = [&] {
        while (position < text.size() && IsBlank(text[position]))
            ++position;
    };
    for (;;) {
        uint16_t id = 0;
        for (int digit = 0; digit < 4; ++digit) {
            const int value = position < text.size() ? HexDigitValue(text[position]) : -1;
            if (value < 0)
                return false;
            id = static_cast<uint16_t>((id << 4) | value);
            ++position;
        }
        ids.push_back(id);
        skipBlanks();
        if (position == text.size())
            return true;
        if (text[position] == '\\') {
            ++position;
            skipBlanks();
            if (position == text.size())
                return true;
        }
    }
}

}  // namespace

CVirtualFileSystem::CVirtualFileSystem() : m_model(-1) {}

CVirtualFileSystem::CVirtualFileSystem(int32_t model) : m_model(model) { MakeFreshRoot(); }

CVirtualFileSystem::~CVirtualFileSystem()
{
    if (!m_path.empty())
        delete m_path.front();
}

void CVirtualFileSystem::MakeFreshRoot()
{
    auto* root = new CFolderHeader(
        ROOT_FOLDER_ID, GetCapacity(m_model) - GetFolderHeaderCost(m_model),
        reinterpret_cast<const uint8_t*>(GetDefaultUserPassword(m_model)),
        reinterpret_cast<const uint8_t*>(GetDefaultDeveloperPassword(m_model)), m_model, nullptr);
    m_path.assign(1, root);
}

bool CVirtualFileSystem::IsDepthAllowed(uint32_t) const { return true; }

int32_t CVirtualFileSystem::Fail(int32_t detail)
{
    m_lastDetail = detail;
    return RESULT_UNKNOWN_ERROR;
}

bool CVirtualFileSystem::IsFull(uint32_t childCount) const
{
    // Only exactly the limit refuses: an image read from disk may hold more.
    return childCount == GetMaxEntries(m_model);
}

CCardPath CVirtualFileSystem::GetCurrentPath() const
{
    std::vector<uint16_t> ids;
    for (std::size_t level = 1; level < m_path.size(); ++level)
        ids.push_back(m_path[level]->GetId());
    return CCardPath(std::move(ids));
}

CFolderHeader* CVirtualFileSystem::FindFolder(uint32_t id) const
{
    return FindChildFolder(GetCurrentFolder(), id);
}

CFileHeader* CVirtualFileSystem::FindFile(uint32_t id) const
{
    return FindChildFile(GetCurrentFolder(), id);
}

bool CVirtualFileSystem::HasChild(uint32_t id, uint32_t& count, const CFolderHeader* folder) const
{
    return RQ540::HasChild(id, count, folder ? folder : GetCurrentFolder());
}

void CVirtualFileSystem::GetFolderUsage(const CFolderHeader* folder, FolderUsage& usage) const
{
    usage = RQ540::GetFolderUsage(folder, m_model);
}

uint32_t CVirtualFileSystem::GetFileHeaderSize() const { return GetFileHeaderCost(m_model); }

uint32_t CVirtualFileSystem::GetUserPasswordLength() const
{
    return RQ540::GetUserPasswordLength(m_model);
}

uint32_t CVirtualFileSystem::GetDeveloperPasswordLength() const
{
    return RQ540::GetDeveloperPasswordLength(m_model);
}

const char* CVirtualFileSystem::GetErrorText(int32_t code) const
{
    return code == RESULT_UNKNOWN_ERROR ? GetDetailMessage(m_lastDetail) : GetErrorMessage(code);
}

bool CVirtualFileSystem::IsOpen(FileHandle handle) const
{
    return std::find(m_openHandles.begin(), m_openHandles.end(), handle) != m_openHandles.end();
}

int32_t CVirtualFileSystem::CreateFolder(uint32_t id, uint32_t size, CFolderHeader** folder,
                                         const uint8_t* userPassword,
                                         const uint8_t* developerPassword)
{
    CFolderHeader* current = GetCurrentFolder();
    if (!IsDepthAllowed(static_cast<uint32_t>(m_path.size()) + 1))
        return Fail(DETAIL_DEPTH_LIMIT);
    if (IsReservedId(m_model, id))
        return RESULT_ALREADY_EXISTS;
    if (size < GetFolderHeaderCost(m_model))
        return RESULT_INVALID_LENGTH;
    if (current->GetFreeSpace() < size)
        return RESULT_NO_SPACE;
    uint32_t count = 0;
    if (HasChild(id, count))
        return RESULT_ALREADY_EXISTS;
    if (IsFull(count))
        return RESULT_NO_SPACE;

    if (!userPassword)
        userPassword = reinterpret_cast<const uint8_t*>(GetDefaultUserPassword(m_model));
    if (!developerPassword)
        developerPassword = reinterpret_cast<const uint8_t*>(GetDefaultDeveloperPassword(m_model));
    auto* created = new CFolderHeader(static_cast<uint16_t>(id), size - GetFolderHeaderCost(m_model),
                                      userPassword, developerPassword, m_model,
                                      current->GetFirstChild());
    *current->GetFirstChildLink() = created;
    current->SetFreeSpace(current->GetFreeSpace() - size);
    if (folder)
        *folder = created;
    return RESULT_SUCCESS;
}

uint32_t CVirtualFileSystem::DeleteSubtree(CFolderHeader* folder)
{
    CUnknownHeader** link = folder->GetFirstChildLink();
    while (CUnknownHeader* child = *link) {
        if (child->IsFolder()) {
            // A sub-folder that holds an open file throws past here and stays linked.
            const uint32_t size = DeleteSubtree(static_cast<CFolderHeader*>(child));
            *link = child->GetNext();
            folder->SetFreeSpace(folder->GetFreeSpace() + size);
        } else {
            auto* file = static_cast<CFileHeader*>(child);
            if (IsOpen(file))
                throw file->GetId();
            *link = child->GetNext();
            folder->SetFreeSpace(folder->GetFreeSpace() + GetFileHeaderCost(m_model) + file->GetSize());
        }
        child->SetNext(nullptr);
        delete child;
    }
    return folder->GetFreeSpace() + GetFolderHeaderCost(m_model);
}

int32_t CVirtualFileSystem::DeleteFolder(uint32_t id)
{
    CFolderHeader* current = GetCurrentFolder();
    CUnknownHeader** link = FindChildFolderLink(current, id);
    if (!*link)
        return Fail(DETAIL_FOLDER_NOT_FOUND);
    auto* target = static_cast<CFolderHeader*>(*link);
    const uint32_t size = DeleteSubtree(target);
    *link = target->GetNext();
    target->SetNext(nullptr);
    delete target;
    current->SetFreeSpace(current->GetFreeSpace() + size);
    return RESULT_SUCCESS;
}

int32_t CVirtualFileSystem::CreateFile(uint32_t id, int32_t type, uint32_t size, FileHandle* handle)
{
    CFolderHeader* current = GetCurrentFolder();
    if (!IsValidFileType(m_model, static_cast<uint32_t>(type)))
        return RESULT_INVALID_PARAMETER;
    if (IsReservedId(m_model, id))
        return RESULT_ALREADY_EXISTS;
    uint32_t count = 0;
    if (HasChild(id, count))
        return RESULT_ALREADY_EXISTS;
    if (IsFull(count))
        return RESULT_NO_SPACE;
    const uint64_t cost = uint64_t{GetFileHeaderCost(m_model)} + size;
    if (current->GetFreeSpace() < cost)
        return RESULT_NO_SPACE;

    auto* file = CFileHeader::Create(static_cast<uint16_t>(id), static_cast<uint8_t>(type), size,
                                     current->GetFirstChild());
    *current->GetFirstChildLink() = file;
    current->SetFreeSpace(current->GetFreeSpace() - static_cast<uint32_t>(cost));
    if (handle) {
        *handle = file;
        m_openHandles.push_back(file);
    }
    return RESULT_SUCCESS;
}

int32_t CVirtualFileSystem::OpenFile(uint32_t id, FileHandle* handle)
{
    *handle = FindFile(id);
    if (!*handle)
        return RESULT_FILE_NOT_FOUND;
    m_openHandles.push_back(*handle);
    return RESULT_SUCCESS;
}

int32_t CVirtualFileSystem::CloseFile(FileHandle handle)
{
    auto found = std::find(m_openHandles.begin(), m_openHandles.end(), handle);
    if (found == m_openHandles.end())
        return RESULT_INVALID_HANDLE;
    m_openHandles.erase(found);
    return RESULT_SUCCESS;
}

int32_t CVirtualFileSystem::ReadFile(FileHandle handle, uint32_t offset, uint32_t length,
                                     uint8_t* destination)
{
    // The card's access check always grants here, so there is no refusal with code 6.
    if (!IsOpen(handle))
        return RESULT_INVALID_HANDLE;
    if (uint64_t{offset} + length > handle->GetSize())
        return RESULT_OUT_OF_RANGE;
    std::copy_n(handle->GetData() + offset, length, destination);
    return RESULT_SUCCESS;
}

int32_t CVirtualFileSystem::WriteFile(FileHandle handle, uint32_t offset, uint32_t length,
                                      const uint8_t* source)
{
    if (!IsOpen(handle))
        return RESULT_INVALID_HANDLE;
    if (uint64_t{offset} + length > handle->GetSize())
        return RESULT_OUT_OF_RANGE;
    std::copy_n(source, length, handle->GetData() + offset);
    return RESULT_SUCCESS;
}

int32_t CVirtualFileSystem::DeleteFile(uint32_t id)
{
    CFolderHeader* current = GetCurrentFolder();
    const auto id16 = static_cast<uint16_t>(id);
    CUnknownHeader** link = current->GetFirstChildLink();
    while (*link && !((*link)->GetId() == id16 && !(*link)->IsFolder()))
        link = (*link)->GetNextLink();
    if (!*link)
        return RESULT_FILE_NOT_FOUND;
    auto* file = static_cast<CFileHeader*>(*link);
    if (IsOpen(file))
        return Fail(DETAIL_FILE_IN_USE);
    *link = file->GetNext();
    current->SetFreeSpace(current->GetFreeSpace() + GetFileHeaderCost(m_model) + file->GetSize());
    delete file;
    return RESULT_SUCCESS;
}

int32_t CVirtualFileSystem::PasteEntry(const CUnknownHeader* entry)
{
    CFolderHeader* current = GetCurrentFolder();
    uint32_t count = 0;
    if (entry->IsFolder()) {
        const auto* folder = static_cast<const CFolderHeader*>(entry);
        if (!IsDepthAllowed(static_cast<uint32_t>(m_path.size()) + GetSubtreeDepth(folder)))
            return Fail(DETAIL_DEPTH_LIMIT);
        const uint32_t totalSize = RQ540::GetFolderUsage(folder, m_model).totalSize;
        if (current->GetFreeSpace() < totalSize)
            return RESULT_NO_SPACE;
        if (HasChild(entry->GetId(), count))
            return RESULT_ALREADY_EXISTS;
        if (IsFull(count))
            return RESULT_NO_SPACE;
        // The copy is complete before it is linked, so pasting a folder into its own
        // subtree copies the subtree as it was.
        auto* copy = new CFolderHeader(*folder, current->GetFirstChild());
        *current->GetFirstChildLink() = copy;
        current->SetFreeSpace(current->GetFreeSpace() - totalSize);
        return RESULT_SUCCESS;
    }

    const auto* file = static_cast<const CFileHeader*>(entry);
    const uint64_t cost = uint64_t{GetFileHeaderCost(m_model)} + file->GetSize();
    if (current->GetFreeSpace() < cost)
        return RESULT_NO_SPACE;
    if (HasChild(entry->GetId(), count))
        return RESULT_ALREADY_EXISTS;
    if (IsFull(count))
        return RESULT_NO_SPACE;
    auto* copy = CFileHeader::Copy(*file, current->GetFirstChild());
    *current->GetFirstChildLink() = copy;
    current->SetFreeSpace(current->GetFreeSpace() - static_cast<uint32_t>(cost));
    return RESULT_SUCCESS;
}

void CVirtualFileSystem::Format(bool createRoot)
{
    if (m_path.empty())
        return;
    delete m_path.front();
    m_path.clear();
    m_openHandles.clear();
    if (createRoot)
        MakeFreshRoot();
}

int32_t CVirtualFileSystem::ChangeDirectory(std::string_view text)
{
    std::size_t position = 0;
    auto skipBlanks = [&] {
        while (position < text.size() && IsBlank(text[position]))
            ++position;
    };
    skipBlanks();

    std::size_t base = m_path.size();  // relative unless the text says otherwise
    if (position < text.size() && text[position] == '.') {
        if (position + 1 >= text.size() || text[position + 1] != '.')
            return Fail(DETAIL_INVALID_PATH);
        position += 2;
        skipBlanks();
        if (position == text.size()) {
            if (m_path.size() > 1)
                m_path.pop_back();
            return RESULT_SUCCESS;
        }
        if (text[position] != '\\')
            return Fail(DETAIL_INVALID_PATH);
        base = m_path.size() > 1 ? m_path.size() - 1 : 1;
        ++position;
        skipBlanks();
        if (position == text.size()) {
            m_path.resize(1);
            return RESULT_SUCCESS;
        }
    } else if (position < text.size() && text[position] == '\\') {
        base = 1;
        ++position;
        skipBlanks();
        if (position == text.size()) {
            m_path.resize(1);
            return RESULT_SUCCESS;
        }
    }

    std::vector<uint16_t> ids;
    if (!ParseIdList(text, position, ids))
        return Fail(DETAIL_INVALID_PATH);

    const std::vector<CFolderHeader*> kept(m_path.begin() + static_cast<std::ptrdiff_t>(base),
                                           m_path.end());
    m_path.resize(base);
    for (uint16_t id : ids) {
        CFolderHeader* next = FindChildFolder(m_path.back(), id);
        if (!next) {
            m_path.resize(base);
            m_path.insert(m_path.end(), kept.begin(), kept.end());
            return Fail(DETAIL_FOLDER_NOT_FOUND);
        }
        m_path.push_back(next);
    }
    return RESULT_SUCCESS;
}

int32_t CVirtualFileSystem::SaveImage(const std::filesystem::path& path)
{
    try {
        VfsArchive::WriteImage(path, GetRoot(), m_model, &m_lastFileProblem);
    } catch (File_Ptr::FILE_EXCEPTION error) {
        return Fail(error == File_Ptr::OPEN_FAILED ? DETAIL_OPEN_FAILED : DETAIL_FILE_OPERATION_FAILED);
    }
    return RESULT_SUCCESS;
}

int32_t CVirtualFileSystem::LoadImage(const std::filesystem::path& path)
{
    Format(false);
    m_lastDiagnostic = {};
    m_lastFileProblem = DiskFile::FileProblem::NONE;
    CFolderHeader* root = nullptr;
    int32_t model = m_model;
    try {
        VfsArchive::ReadImage(path, root, model, &m_lastDiagnostic);
    } catch (File_Ptr::FILE_EXCEPTION error) {
        // Why the file could not be opened or read, when the system said: a file that is
        // missing, not a regular file, not this user's to read or held by another program.
        m_lastFileProblem = GetFileIo().GetLastProblem();
        return Fail(error == File_Ptr::OPEN_FAILED ? DETAIL_OPEN_FAILED : DETAIL_FILE_OPERATION_FAILED);
    } catch (const VfsArchive::archive_format_exception&) {
        return Fail(DETAIL_INVALID_FORMAT);
    }
    m_path.assign(1, root);
    m_model = model;
    return RESULT_SUCCESS;
}

}  // namespace RQ540
