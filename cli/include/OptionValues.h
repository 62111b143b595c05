// The values rqfs arguments and options take: card paths, sizes and offsets, the names
// of the card's file types, and bytes written out in hexadecimal.
#pragma once

#include "rq540/CardPath.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// Pairs of hexadecimal digits (either case), each pair one byte; the empty text is no
// bytes. Nothing for an odd number of digits or any other character.
std::optional<std::vector<uint8_t>> ParseHexBytes(std::string_view text);

// ParseHexBytes's bytes, or a usage CCliError naming option.
std::vector<uint8_t> RequireHexBytes(std::string_view text, const char* option);

// Each byte as two upper-case hexadecimal digits.
std::string FormatHexBytes(std::span<const uint8_t> bytes);

}  // namespace RQ540::Cli
