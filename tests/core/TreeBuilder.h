// Small helpers that build trees and images for the core tests.
#pragma once

#include "rq540/RQ540Vfs.h"
#include "rq540/VfsArchive.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testing_rq {

using Bytes = std::vector<uint8_t>;

inline Bytes ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void PutU32(Bytes& bytes, std::size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.at(offset + i) = static_cast<uint8_t>(value >> (8 * i));
}

inline uint32_t GetU32(const Bytes& bytes, std::size_t offset)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | bytes.at(offset + i);
    return value;
}

// A fresh directory under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path = std::filesystem::temp_directory_path() /
                 ("rq540-" + std::string(info ? info->name() : "test") + "-" +
                  std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempDir() { std::filesystem::remove_all(m_path); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
    const std::filesystem::path& Path() const { return m_path; }
    std::size_t FileCount() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(m_path),
                                                      std::filesystem::directory_iterator()));
    }

private:
    std::filesystem::path m_path;
};

// Everything a refused operation must leave alone: the tree's bytes, the path and the
// number of open handles.
struct Snapshot {
    Bytes image;
    std::vector<RQ540::CFolderHeader*> path;

    explicit Snapshot(const RQ540::CVirtualFileSystem& vfs)
        : image(RQ540::VfsArchive::SerializeImage(vfs.GetRoot(), vfs.GetModel())), path(vfs.GetPath())
    {
    }
    bool operator==(const Snapshot&) const = default;
};

// Creates a file in the current folder and fills it with bytes.
inline void AddFile(RQ540::CVirtualFileSystem& vfs, uint32_t id, const Bytes& content,
                    uint8_t type = 0)
{
    RQ540::FileHandle handle = nullptr;
    ASSERT_EQ(vfs.CreateFile(id, type, static_cast<uint32_t>(content.size()), &handle), 0);
    ASSERT_EQ(vfs.WriteFile(handle, 0, static_cast<uint32_t>(content.size()), content.data()), 0);
    ASSERT_EQ(vfs.CloseFile(handle), 0);
}

// IDs of the current folder's entries in list order.
inline std::vector<uint16_t> ListIds(const RQ540::CFolderHeader* folder)
{
    std::vector<uint16_t> ids;
    for (const RQ540::CUnknownHeader* entry = folder->GetFirstChild(); entry; entry = entry->GetNext())
        ids.push_back(entry->GetId());
    return ids;
}

// Checks the card's accounting rule on every folder of the subtree: created size =
// header + free space + the children's costs; answers the folder's created size.
inline uint64_t CheckAccounting(const RQ540::CFolderHeader* folder)
{
    uint64_t size = RQ540::GetFolderHeaderCost(0) + folder->GetFreeSpace();
    for (const RQ540::CUnknownHeader* entry = folder->GetFirstChild(); entry; entry = entry->GetNext()) {
        if (entry->IsFolder())
            size += CheckAccounting(static_cast<const RQ540::CFolderHeader*>(entry));
        else
            size += RQ540::GetFileHeaderCost(0) + static_cast<const RQ540::CFileHeader*>(entry)->GetSize();
    }
    return size;
}

}  // namespace testing_rq
