// Disk files and standard input as rqfs reads and writes them: raw bytes for file contents,
// lines for batch scripts. The name "-" stands for standard input.
#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <span>
#include <string>
#include <vector>

namespace RQ540::Cli {

// At most limit bytes of the input named name. With whole, an input longer than limit is a
// usage CCliError instead of being cut; a regular file is measured before it is read, so
// an over-long one costs no memory. An input that cannot be opened or read is a failure
// CCliError.
std::vector<uint8_t> ReadInputBytes(const std::string& name, std::istream& standardInput,
                                    uint64_t limit, bool whole);

// Creates or truncates path and writes bytes to it; a failure CCliError when that fails.
void WriteOutputBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes);

// The lines of the text named name, without their line ends.
std::vector<std::string> ReadTextLines(const std::string& name, std::istream& standardInput);

}  // namespace RQ540::Cli
