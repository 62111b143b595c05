#include "CommandOptions.h"

#include "rq540/CardModel.h"

#include <CLI/CLI.hpp>

namespace RQ540::Cli {

std::string Limit(uint32_t value) { return std::to_string(value); }

CLI::Option* AddPositional(CLI::App& command, std::string& target, const char* name,
                           const char* help)
{
    return command.add_option(name, target, help)->type_name("");
}

void AddRequired(CLI::App& command, std::string& target, const char* name, const char* help)
{
    AddPositional(command, target, name, help)->required();
}

void AddJson(CLI::App& command, bool& json)
{
    command.add_flag("--json", json, "print one JSON object instead of text");
}

CLI::Option* AddOptionalText(CLI::App& command, const char* name, const char* valueName,
                             std::optional<std::string>& target, const std::string& help)
{
    return command
        .add_option_function<std::string>(
            name, [&target](const std::string& value) { target = value; }, help)
        ->type_name(valueName);
}

void AddPasswords(CLI::App& command, CCardSession::Passwords& passwords, const char* keeps)
{
    const std::string stored = " (its bytes in a zero-filled field, cut at ";
    AddOptionalText(command, "--user-password", "TEXT", passwords.user,
                    "user password" + stored + Limit(GetUserPasswordLength(NEW_CARD_MODEL)) +
                        " bytes); " + keeps);
    AddOptionalText(command, "--developer-password", "TEXT", passwords.developer,
                    "developer password" + stored +
                        Limit(GetDeveloperPasswordLength(NEW_CARD_MODEL)) + " bytes); " + keeps);
}

}  // namespace RQ540::Cli
