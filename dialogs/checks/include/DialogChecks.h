// The rules behind the entry, password and hardware dialogs, free of any widget: what
// the ID field keeps, how number and ID texts are read, which sizes pass, how a type
// list position maps to a file type, and the texts of the hardware information. The
// card's own rules (hexadecimal digits, ID length, serial number size) come from the core.
#pragma once

#include "rq540/RQ540Vfs.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace DialogChecks {

using SerialNumber = std::array<uint8_t, RQ540::CRQ540Vfs::SERIAL_NUMBER_SIZE>;

// Hexadecimal digits in the text forms of the serial number and the customer number.
inline constexpr int SERIAL_NUMBER_DIGITS = 2 * RQ540::CRQ540Vfs::SERIAL_NUMBER_SIZE;
inline constexpr int CUSTOMER_NUMBER_DIGITS = 2 * sizeof(uint32_t);

bool IsHexDigit(char16_t c);

// Keeps only the hexadecimal digits of text, in their order.
std::u16string FilterHexDigits(std::u16string_view text);

// The value of the up to four hexadecimal digits text begins with (as "%04X" reads an
// ID); nothing when text does not begin with a hexadecimal digit.
std::optional<uint16_t> ParseHexId(std::u16string_view text);

// Reads an unsigned decimal number the way "%u" does: leading white space skipped, an
// optional sign (a minus wraps around modulo 2^32), digits up to the first character
// that is not one. Nothing when no digit follows. A value beyond 32 bits reads as
// 4294967295, so it can never pass for a small size.
std::optional<uint32_t> ParseUnsigned(std::u16string_view text);

// A new file of size bytes, plus its header, must fit the folder's free space; 0 never
// passes. The sum is taken without wrap-around.
bool IsFileSizeAccepted(uint32_t size, uint32_t freeSpace, uint32_t headerSize);
// The size shown after a refused file size: the free space less the header, or 0 when
// the free space cannot even hold the header.
uint32_t LargestFileSize(uint32_t freeSpace, uint32_t headerSize);
// A new folder's whole budget must fit the free space; 0 never passes.
bool IsFolderSizeAccepted(uint32_t size, uint32_t freeSpace);
// The import size proposed for a disk file of length bytes: the length itself, or the
// largest file size when the length exceeds the free space.
uint32_t SizeFromDiskLength(uint64_t length, uint32_t freeSpace, uint32_t headerSize);
// A disk file's length as a file size; lengths beyond 32 bits read as 4294967295.
uint32_t DiskLengthAsSize(uint64_t length);

// The file type byte of a position in the type list; any position outside the list
// gives the executable type 0.
uint8_t TypeFromListIndex(int32_t index);

// 16 upper-case hexadecimal digits, byte 0 first.
std::string FormatSerialNumber(const SerialNumber& serial);
// 8 upper-case hexadecimal digits.
std::string FormatCustomerNumber(uint32_t customer);
// A short text is padded with zeros on the right to 16 digits; byte i is read from the
// pair at character 2i (one or two hexadecimal digits, either case), and is 0 when the
// pair does not begin with a hexadecimal digit.
SerialNumber ScanSerialNumber(std::u16string_view text);
// Padded on the right to 8 digits, then read as up to 8 hexadecimal digits; 0 when the
// text does not begin with a hexadecimal digit.
uint32_t ScanCustomerNumber(std::u16string_view text);

}  // namespace DialogChecks
