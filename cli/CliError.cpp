#include "CliError.h"

namespace RQ540::Cli {

CCliError::CCliError(ExitStatus status, const std::string& message, int32_t result)
    : std::runtime_error(message), m_status(status), m_result(result)
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

}  // namespace RQ540::Cli
