// The values rqfs arguments and options take: card paths, sizes and offsets, and the names
// of the card's file types.
#pragma once

#include "rq540/CardPath.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace RQ540::Cli {

// A card path as CCardPath::Parse reads it; a usage CCliError for any other text.
CCardPath ParseCardPath(std::string_view text);

// A card path that names an entry, which the root is not; a usage CCliError otherwise.
CCardPath ParseEntryPath(std::string_view text);

// Decimal digits only, 0 to 4294967295. Signs, blanks, other bases and anything past
// 32 bits give nothing, so a size is never wrapped or taken as negative.
std::optional<uint32_t> ParseUint32(std::string_view text);

// ParseUint32's value, or a usage CCliError naming option.
uint32_t RequireUint32(std::string_view text, const char* option);

// A file type byte from "exec", "data", "public-key", "private-key", "internal-exec", or
// a decimal number 0 to 255. The card itself decides which bytes it accepts.
std::optional<uint8_t> ParseFileType(std::string_view text);

// ParseFileType's byte, or a usage CCliError naming --type and what it takes.
uint8_t RequireFileType(std::string_view text);

// The name ParseFileType takes for type, or the number for a type that has no name.
std::string GetFileTypeName(uint8_t type);

}  // namespace RQ540::Cli
