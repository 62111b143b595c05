// rqfs build DIR --params TABLE --output-dir OUT: one image per row of a table, from one
// template manifest whose {"param": "NAME"} values take the row's fields. The first column
// names each image (OUT/<name>.rqfs); OUT/SHA256SUMS lists every image's digest as
// sha256sum -c reads it. All or nothing: the images are built in a staging folder inside
// OUT and moved into place only once every row has succeeded.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace RQ540::Cli {

inline constexpr const char* kChecksumsName = "SHA256SUMS";
inline constexpr const char* kImageExtension = ".rqfs";

// Why name cannot name an output image "<name>.rqfs" alike on every system rqfs runs on:
// empty, "." or "..", a separator, a NUL or another control character, a character or a
// device name Windows refuses, bytes that are not UTF-8, or too long for a file name.
// Empty when it can.
std::string WhyNotPlainFileName(std::string_view name);

struct BatchRequest {
    std::filesystem::path dir;   // the template: a folder holding card.json, or a one-file manifest
    std::string table;           // the table's name as given, for messages and its folder
    std::vector<uint8_t> text;   // the table's bytes
    std::string outputDir;       // OUT as given
    bool force = false;          // build into an OUT that is not empty
    bool allowRedacted = false;  // as for a single build
};

// Builds every row's image and OUT/SHA256SUMS. Before anything is built, the table is
// checked against the template: every parameter the template uses must be a column, every
// column but the first must be a parameter, and every row's name must be a plain file name
// used by no other row (letters compared without case, as Windows does). A refusal is a
// failure CCliError naming the table's line and, for a row the template refuses, the
// JSON location; OUT then holds no image of the run, and a folder the run made is removed.
void BuildBatch(const BatchRequest& request);

}  // namespace RQ540::Cli
