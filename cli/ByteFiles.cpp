#include "ByteFiles.h"

#include "CliError.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace RQ540::Cli {

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;

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

std::ifstream OpenForReading(const std::string& name)
{
    std::ifstream file(name, std::ios::binary);
    // A directory opens like a file on some systems and then reads as empty.
    std::error_code error;
    if (!file || std::filesystem::is_directory(name, error))
        throw CCliError::Failure("cannot open " + Describe(name) + " for reading");
    return file;
}

}  // namespace

std::vector<uint8_t> ReadInputBytes(const std::string& name, std::istream& standardInput,
                                    uint64_t limit, bool whole)
{
    if (IsStandardInput(name))
        return ReadStream(standardInput, name, limit, whole);

    std::ifstream file = OpenForReading(name);
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(name, error);
    if (whole && !error && size > limit)
        throw TooLong(name, limit);
    return ReadStream(file, name, limit, whole);
}

void WriteOutputBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file)
        throw CCliError::Failure("cannot write '" + path.string() + "'");
}

std::vector<std::string> ReadTextLines(const std::string& name, std::istream& standardInput)
{
    std::ifstream file;
    if (!IsStandardInput(name))
        file = OpenForReading(name);
    std::istream& in = IsStandardInput(name) ? standardInput : file;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(std::move(line));
    if (in.bad())
        throw CCliError::Failure("cannot read " + Describe(name));
    return lines;
}

}  // namespace RQ540::Cli
