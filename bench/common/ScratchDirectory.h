// A fresh directory for the files a benchmark makes, removed with the object.
#pragma once

#include <filesystem>
#include <string>

namespace RQ540::Bench {

class CScratchDirectory {
public:
    // Under TMPDIR (or the system's temporary folder); throws std::filesystem_error.
    CScratchDirectory();
    ~CScratchDirectory();

    CScratchDirectory(const CScratchDirectory&) = delete;
    CScratchDirectory& operator=(const CScratchDirectory&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

}  // namespace RQ540::Bench
