#include "ByteFiles.h"

#include "CliError.h"

#include "rq540/DiskFile.h"
#include "rq540/File_Ptr.h"

#include <algorithm>
#include <limits>
#include <system_error>

namespace RQ540::Cli {

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;
constexpr uint64_t kMaxFileBytes = std::numeric_limits<uint32_t>::max();

bool IsStandardInput(const std::string& name) { return name == "-"; }

std::string Describe(const std::string& name)
{
    return IsStandardInput(name) ? std::string("standard input") : "'" + name + "'";
}

CCliError TooLong(const std::string& name, uint64_t limit)
{
    return CCliError::Usage(Describe(name) + " is longer than " + std::to_string(limit) +
                            " bytes");
}

std::vector<uint8_t> ReadStream(std::istream& in, const std::string& name, uint64_t limit,
                                bool whole)
{
    std::vector<uint8_t> bytes;
    char chunk[kChunkSize];
    while (bytes.size() < limit && in) {
        in.read(chunk, static_cast<std::streamsize>(
                           std::min<uint64_t>(sizeof chunk, limit - bytes.size())));
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
    }
    if (in.bad())
        throw CCliError::Failure("cannot read " + Describe(name));
    if (whole && in && in.peek() != std::istream::traits_type::eof())
        throw TooLong(name, limit);
    return bytes;
}

}  // namespace

std::filesystem::path DiskPathOf(const std::string& name)
{
    // The system would read the name only up to the NUL, and so take another file.
    if (name.find('\0') != std::string::npos)
        throw CCliError::Usage("'" + name + "': a file name may not hold a NUL byte");
    return DiskFile::PathFromUtf8(name);
}

std::vector<uint8_t> ReadInputBytes(const std::string& name, std::istream& standardInput,
                                    uint64_t limit, bool whole)
{
    if (IsStandardInput(name))
        return ReadStream(standardInput, name, limit, whole);

    // A whole input is read no further than the card's 32-bit size field can take.
    std::vector<uint8_t> bytes;
    const std::filesystem::path path = DiskPathOf(name);
    const DiskFile::FileProblem problem =
        DiskFile::ReadBounded(path, whole ? std::min(limit, kMaxFileBytes) : limit, bytes);
    switch (problem) {
    case DiskFile::FileProblem::NONE:
        return bytes;
    case DiskFile::FileProblem::TOO_LONG:
        if (whole) {
            // A file too long for the size field is refused for that, by its length.
            std::error_code error;
            const uintmax_t size = std::filesystem::file_size(path, error);
            throw TooLong(name, !error && size > kMaxFileBytes ? kMaxFileBytes : limit);
        }
        return bytes;
    case DiskFile::FileProblem::READ_FAILED:
        throw CCliError::Failure("cannot read " + Describe(name));
    case DiskFile::FileProblem::OPEN_FAILED:
        throw CCliError::Failure("cannot open " + Describe(name) + " for reading");
    default:
        // Not a regular file, missing, not this user's to read, held by another program.
        throw CCliError::Failure("cannot open " + Describe(name) + " for reading: " +
                                 DiskFile::DescribeFileProblem(problem));
    }
}

void WriteOutputBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                      const std::filesystem::path& shownAs)
{
    DiskFile::FileProblem problem = DiskFile::FileProblem::NONE;
    try {
        DiskFile::ReplaceFile(path, bytes, &problem);
    } catch (File_Ptr::FILE_EXCEPTION) {
        std::string message =
            "cannot write '" + DiskFile::Utf8FromPath(shownAs.empty() ? path : shownAs) + "'";
        if (problem != DiskFile::FileProblem::NONE)
            message += std::string(": ") + DiskFile::DescribeFileProblem(problem);
        throw CCliError::Failure(message);
    }
}

bool PrepareOutputFolder(const std::filesystem::path& dir, bool force,
                         const std::string& operation, const std::string& forceHint)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(dir, error);
    if (!std::filesystem::exists(status)) {
        if (!std::filesystem::create_directories(dir, error) && error)
            throw CCliError::Failure(operation + ": cannot create the folder: " + error.message());
        return true;
    }
    if (!std::filesystem::is_directory(status))
        throw CCliError::Failure(operation + ": not a folder");
    const bool empty = std::filesystem::is_empty(dir, error);
    if (error)
        throw CCliError::Failure(operation + ": cannot read the folder: " + error.message());
    if (!empty && !force)
        throw CCliError::Failure(operation + ": the folder is not empty; " + forceHint);
    return false;
}

std::filesystem::path CreateStagingFolder(const std::filesystem::path& dir, const char* purpose,
                                          const std::string& operation)
{
    // Named after this process, so that two runs into one folder never share one.
    const std::string stem = ".rqfs-" + std::string(purpose) + "-" +
                             std::to_string(DiskFile::CurrentProcess()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path staging = dir / (stem + std::to_string(attempt));
        std::error_code error;
        if (std::filesystem::create_directory(staging, error))
            return staging;
        if (error)
            throw CCliError::Failure(operation + ": cannot create a staging folder in '" +
                                     DiskFile::Utf8FromPath(dir) + "': " + error.message());
    }
    throw CCliError::Failure(operation + ": cannot create a staging folder in '" +
                             DiskFile::Utf8FromPath(dir) + "'");
}

std::vector<std::string> ReadScriptLines(const std::string& name, std::istream& standardInput)
{
    // One byte past the cap tells a script of exactly the cap from a longer one.
    const std::vector<uint8_t> bytes =
        ReadInputBytes(name, standardInput, MAX_SCRIPT_BYTES + 1, false);
    const bool pastCap = bytes.size() > MAX_SCRIPT_BYTES;
    std::vector<std::string> lines;
    // A script written on Windows may start with a byte-order mark and end its lines in
    // CR LF; some end them in CR alone. Each of the three ends a line.
    auto start = bytes.begin();
    if (std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())
            .starts_with(UTF8_BYTE_ORDER_MARK))
        start += UTF8_BYTE_ORDER_MARK.size();
    const auto isLineEnd = [](uint8_t byte) { return byte == '\n' || byte == '\r'; };
    while (start != bytes.end()) {
        const auto end = std::find_if(start, bytes.end(), isLineEnd);
        const std::string where = "line " + std::to_string(lines.size() + 1) + ": ";
        if (static_cast<std::size_t>(end - start) > MAX_SCRIPT_LINE_BYTES)
            throw CCliError::Usage(where + "longer than " + std::to_string(MAX_SCRIPT_LINE_BYTES) +
                                   " bytes");
        if (pastCap && static_cast<std::size_t>(end - bytes.begin()) >= MAX_SCRIPT_BYTES)
            throw CCliError::Usage(where + "the script is longer than " +
                                   std::to_string(MAX_SCRIPT_BYTES) + " bytes");
        lines.emplace_back(start, end);
        if (end == bytes.end())
            break;
        start = end + 1;
        if (*end == '\r' && start != bytes.end() && *start == '\n')
            ++start;
    }
    return lines;
}

}  // namespace RQ540::Cli
