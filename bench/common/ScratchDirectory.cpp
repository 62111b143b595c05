#include "ScratchDirectory.h"

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace RQ540::Bench {

CScratchDirectory::CScratchDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "rqvfs-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::filesystem::filesystem_error("cannot create a scratch directory", pattern,
                                                std::error_code(errno, std::generic_category()));
    m_path = pattern;
}

CScratchDirectory::~CScratchDirectory()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

}  // namespace RQ540::Bench
