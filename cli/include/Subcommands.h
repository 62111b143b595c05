// The rqfs commands, each one CommandUnit, in the order rqfs --help lists them.
#pragma once

#include "CommandUnit.h"

#include <span>
#include <string_view>

namespace RQ540::Cli {

std::span<const CommandUnit> GetSubcommands();

// The unit named name, or null.
const CommandUnit* FindSubcommand(std::string_view name);

}  // namespace RQ540::Cli
