// Declaring a command's positionals and options on its parser, the way every rqfs command
// spells them: positionals without a type name, texts kept as given so that the command
// itself reports a bad number or type.
#pragma once

#include "CardSession.h"

#include <optional>
#include <string>

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace RQ540::Cli {

CLI::Option* AddPositional(CLI::App& command, std::string& target, const char* name,
                           const char* help);
void AddRequired(CLI::App& command, std::string& target, const char* name, const char* help);
void AddJson(CLI::App& command, bool& json);
CLI::Option* AddOptionalText(CLI::App& command, const char* name, const char* valueName,
                             std::optional<std::string>& target, const std::string& help);
// --user-password and --developer-password; keeps says what an omitted one means.
void AddPasswords(CLI::App& command, CCardSession::Passwords& passwords, const char* keeps);

// A limit of the card model new images are made for, as help texts quote it.
std::string Limit(uint32_t value);

}  // namespace RQ540::Cli
