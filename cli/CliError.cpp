#include "CliError.h"

#include <cstdio>

namespace RQ540::Cli {

CCliError::CCliError(ExitStatus status, const std::string& message, int32_t result)
    : std::runtime_error(message), m_status(status), m_result(result), m_message(message)
{
}

CCliError CCliError::Usage(const std::string& message) { return {STATUS_USAGE, message}; }

CCliError CCliError::Failure(const std::string& message) { return {STATUS_FAILURE, message}; }

CCliError CCliError::Refusal(std::string_view operation, const CVirtualFileSystem& vfs,
                             int32_t result)
{
    return {STATUS_FAILURE, FormatRefusal(operation, vfs, result), result};
}

std::string CCliError::FormatRefusal(std::string_view operation, const CVirtualFileSystem& vfs,
                                     int32_t result)
{
    std::string line(operation);
    line += ": ";
    line += vfs.GetErrorText(result);
    line += " (result " + std::to_string(result);
    if (result == RESULT_UNKNOWN_ERROR)
        line += ", detail " + std::to_string(vfs.GetLastDetail());
    line += ")";
    return line;
}

std::string CCliError::FileOperation(std::string_view operation, const CVirtualFileSystem& vfs)
{
    std::string text(operation);
    if (vfs.GetLastFileProblem() != DiskFile::FileProblem::NONE)
        text += std::string(": ") + DiskFile::DescribeFileProblem(vfs.GetLastFileProblem());
    return text;
}

void WriteReport(std::ostream& err, std::string_view text)
{
    std::string line = "rqfs: ";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            line += c;
        } else if (c == '\n') {
            line += "\\n";
        } else if (c == '\t') {
            line += "\\t";
        } else if (c == '\r') {
            line += "\\r";
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            line += escaped;
        }
    }
    err << line << '\n';
}

}  // namespace RQ540::Cli
