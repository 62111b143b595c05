// A card's layout as reviewable text, the form rqfs dump writes and rqfs build reads back:
// DIR/card.json holds the card model and every folder and file in the card's own list order
// (head first), and each file's bytes lie in a payload file of their own under DIR, except
// for a file whose bytes are all zero. This pair holds a layout in memory and translates it
// from a card, to card.json and from card.json.
#pragma once

#include "rq540/CardPath.h"

#include "rq540/VirtualFileSystem.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace RQ540::Cli {

inline constexpr const char* kManifestName = "card.json";

// A folder's password field. A manifest may leave it out (the card's default), give the
// stored bytes, mark it redacted, or name an environment variable or a table's column that
// holds its text.
struct LayoutPassword {
    enum class Source { DEFAULT, BYTES, REDACTED };
    Source source = Source::DEFAULT;
    // With BYTES: what the field holds; the card session zero-fills or cuts it to the field.
    std::string bytes;
};

struct LayoutEntry {
    // Where the entry stands in card.json, as a JSON pointer; empty for the root.
    std::string location;
    uint16_t id = 0;
    bool folder = false;
    uint8_t type = 0;              // a file's type byte
    uint32_t size = 0;             // a file's size, a folder's created size
    std::optional<uint32_t> free;  // a folder's free space; a manifest may leave it to the card
    LayoutPassword userPassword;
    LayoutPassword developerPassword;
    // A file's bytes; fewer than size (none for a "zero" file) stand for trailing zeros.
    std::vector<uint8_t> data;
    std::vector<LayoutEntry> children;  // a folder's entries, head of its list first
};

struct CardLayout {
    int32_t model = 0;
    LayoutEntry root;
};

// Everything the card holds: free spaces, password bytes and every file's bytes.
CardLayout LayoutFromCard(const CVirtualFileSystem& vfs);

// Files with a byte that is not zero get a payload file; the others are written as zero.
bool HasPayload(const LayoutEntry& file);
// "files/0001/0010.bin" for the card file /0001/0010, relative to DIR.
std::filesystem::path PayloadPath(const CCardPath& path);

// How card.json holds a file's bytes: in a payload file of the dump folder, or inline as
// {"hex": "0A0B..."}, for a manifest that is the whole card in one file.
enum class PayloadForm { FILES, INLINE };

// The text of card.json; passwords as upper-case hexadecimal bytes or {"redacted": true}.
nlohmann::ordered_json LayoutToJson(const CardLayout& layout, PayloadForm payloads);

// A manifest's file: a dump folder's card.json, or path itself for a one-file manifest.
std::filesystem::path ManifestPathOf(const std::filesystem::path& path);
// Whether path is a one-file manifest rather than an image: its first byte, after a UTF-8
// byte-order mark and white space, opens a JSON object. No card model begins an image so.
bool IsManifestFile(const std::filesystem::path& path);

// What the {"param": "NAME"} values of a template manifest take: a password the row's
// field as typed text, a payload the bytes of the file the row's field names, relative to
// folder. Without a row the names are only collected (passwords as empty text, payloads
// unread), so that a table can be checked against the template before anything is built.
struct LayoutParams {
    const std::map<std::string, std::string>* row = nullptr;  // column name -> the row's field
    std::filesystem::path folder;  // the table's folder
    std::set<std::string> used;    // every parameter the manifest uses, as ReadLayout met them
};

// Reads the manifest at ManifestPathOf(path) and the payloads it names, payload files
// relative to the manifest's folder; where ("build DIR/card.json") begins every message.
// A manifest that is not JSON, repeats a key, has a value of the wrong type or an unknown
// key, names an unset environment variable, names a payload file that is missing, has the
// wrong length, holds a NUL byte or lies outside the folder (through "..", an absolute path
// or a symbolic link), or gives inline bytes that are not hexadecimal or not the file's
// size, is a failure CCliError naming the JSON location: "build DIR/card.json:
// /children/2/size: why". So is a {"param"} without params, or naming a column the row
// lacks, and a payload file a row names that breaks the rules above within the table's
// folder. The card's own rules (IDs in use, space, depth) are left to the card.
CardLayout ReadLayout(const std::filesystem::path& path, const std::string& where,
                      LayoutParams* params = nullptr);

}  // namespace RQ540::Cli
