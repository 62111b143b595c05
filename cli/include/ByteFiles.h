// Disk files and standard input as rqfs reads and writes them: raw bytes for file contents,
// lines for batch scripts. The name "-" stands for standard input.
#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace RQ540::Cli {

// A batch script holds at most this many bytes, and each of its lines at most this many.
inline constexpr std::size_t MAX_SCRIPT_BYTES = 1024 * 1024;
inline constexpr std::size_t MAX_SCRIPT_LINE_BYTES = 8192;

// Editors on Windows may start a UTF-8 text with it.
inline constexpr std::string_view UTF8_BYTE_ORDER_MARK = "\xEF\xBB\xBF";

// The disk file that name, as a command line or a script gives it (UTF-8), names; a name
// holding a NUL byte is a usage CCliError.
std::filesystem::path DiskPathOf(const std::string& name);

// At most limit bytes of the input named name, never reading more than one byte past
// limit, so an endless input (a device, a pipe) costs no more. With whole, an input longer
// than limit is a usage CCliError instead of being cut, and so is a regular file too long
// for the card's 32-bit size field, reported against that field's limit. A name that is no
// file to read (a folder, a FIFO, a socket; a FIFO is refused without waiting for a
// writer) or that cannot be opened or read is a failure CCliError.
std::vector<uint8_t> ReadInputBytes(const std::string& name, std::istream& standardInput,
                                    uint64_t limit, bool whole);

// Replaces or creates path with bytes the way an image is saved: written beside it and
// renamed over it, so that a failure leaves an existing file whole. A failure CCliError
// when that fails, saying why when the system did (the disk is full, the folder is not
// writable, not a regular file).
// A failure names shownAs when it is given (a file written under another name first).
void WriteOutputBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                      const std::filesystem::path& shownAs = {});

// A folder a command fills with files of its own (dump, build --output-dir), as the run
// finds it: made when it is absent (answers true), used when it is empty, and when it is
// not empty only with force; forceHint says what --force would do there. Anything else is
// a failure CCliError beginning with operation.
bool PrepareOutputFolder(const std::filesystem::path& dir, bool force,
                         const std::string& operation, const std::string& forceHint);

// A fresh hidden folder inside dir, named after purpose ("dump"), for files while they
// are written; a failure CCliError beginning with operation when none can be made.
std::filesystem::path CreateStagingFolder(const std::filesystem::path& dir, const char* purpose,
                                          const std::string& operation);

// The lines of the batch script named name, without their line ends (LF, CR LF or CR) and
// without a UTF-8 byte-order mark at its start. A line longer than
// MAX_SCRIPT_LINE_BYTES, or the line where the script passes MAX_SCRIPT_BYTES, is a usage
// CCliError that names it; nothing past that is read.
std::vector<std::string> ReadScriptLines(const std::string& name, std::istream& standardInput);

}  // namespace RQ540::Cli
