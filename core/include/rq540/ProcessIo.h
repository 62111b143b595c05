// What a command-line program needs of its process, the same on every system: its
// arguments as UTF-8, and standard streams that carry bytes unchanged.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace RQ540::ProcessIo {

// The program's arguments in UTF-8, its own name first. On Windows they come from the wide
// command line, so that a name in any script reaches the program whatever the code page;
// elsewhere they are argv as given.
std::vector<std::string> GetArguments(int argc, char** argv);

// The value of the environment variable name, in UTF-8 (on Windows from the wide
// environment, so that a password in any language is the same bytes on every system);
// nothing when it is not set.
std::optional<std::string> GetEnvironment(const std::string& name);

// For its lifetime, standard input, output and error carry bytes unchanged: on Windows no
// CR LF translation either way and no end of input at a 0x1A byte. What goes to a Windows
// console through std::cout or std::cerr is shown as the UTF-8 text it is, whatever the
// console's code page; a file or a pipe gets the UTF-8 bytes. Make one, in main, before the
// streams are used; it flushes them when it goes.
class CStandardStreams {
public:
    CStandardStreams();
    ~CStandardStreams();
    CStandardStreams(const CStandardStreams&) = delete;
    CStandardStreams& operator=(const CStandardStreams&) = delete;

private:
    std::unique_ptr<std::streambuf> m_out;
    std::unique_ptr<std::streambuf> m_err;
    std::streambuf* m_previousOut = nullptr;
    std::streambuf* m_previousErr = nullptr;
};

// The length of the longest start of bytes that does not end inside a UTF-8 character:
// what can be shown now when the rest of a character may still come. A byte that cannot
// be part of a character counts as one whole, so that it is shown (as a replacement
// character) rather than held back.
std::size_t CompleteUtf8Length(std::string_view bytes);

}  // namespace RQ540::ProcessIo
