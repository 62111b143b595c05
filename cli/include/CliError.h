// A failure of one rqfs command, carrying the exit status it ends with and the text of the
// line rqfs prints for it (without the leading "rqfs: ").
#pragma once

#include "rq540/VirtualFileSystem.h"

#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace RQ540::Cli {

enum ExitStatus : int {
    STATUS_SUCCESS = 0,
    STATUS_FAILURE = 1,  // the card refused, or a file could not be read or written
    STATUS_USAGE = 2,    // the command line itself is wrong
};

class CCliError : public std::runtime_error {
public:
    static CCliError Usage(const std::string& message);
    static CCliError Failure(const std::string& message);
    // The card's refusal of operation: its message and code in the fixed form scripts match.
    static CCliError Refusal(std::string_view operation, const CVirtualFileSystem& vfs,
                             int32_t result);
    // "operation: message (result N)", or "(result 1, detail D)" when the code is 1.
    static std::string FormatRefusal(std::string_view operation, const CVirtualFileSystem& vfs,
                                     int32_t result);
    // operation ("load card.rqfs") followed by why the last load or save of vfs could not
    // use its file, when that is known ("load card.rqfs: not a regular file").
    static std::string FileOperation(std::string_view operation, const CVirtualFileSystem& vfs);

    ExitStatus GetExitStatus() const { return m_status; }
    // The card's result code for a refusal, 0 for every other failure.
    int32_t GetResult() const { return m_result; }
    // The whole text, NUL bytes included; what() ends at the first of them.
    const std::string& GetMessage() const { return m_message; }

private:
    CCliError(ExitStatus status, const std::string& message, int32_t result = RESULT_SUCCESS);

    ExitStatus m_status;
    int32_t m_result;
    std::string m_message;
};

// Writes "rqfs: text" as one line: control characters in text (a newline in a file name)
// are written as \n, \t, \r or \xHH.
void WriteReport(std::ostream& err, std::string_view text);

}  // namespace RQ540::Cli
