// rqfs diff: what changed between two cards, each an image, a dump folder or a one-file
// manifest, in the terms a reviewer checks: entries added and removed by card path; changed
// type, size, created size, free space and list order; passwords changed or not, never
// their values; and for changed contents the first differing offset and the number of
// differing bytes.
#pragma once

#include "CliError.h"
#include "LayoutManifest.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace RQ540::Cli {

struct LayoutChange {
    std::string text;              // "/0001: free space 3454 -> 3438"
    nlohmann::ordered_json json;   // {"path": "/0001", "change": "free-space", ...}
};

// The changes from a to b, entries in ascending ID order under each folder, an entry's own
// changes before those of its children. A file that became a folder or the other way round
// is removed and added. A redacted password is not compared.
std::vector<LayoutChange> DiffLayouts(const CardLayout& a, const CardLayout& b);

// A card as diff compares it: an image file, or a dump folder or one-file manifest built on
// a card in memory under every card rule, its redacted passwords kept as redacted.
CardLayout LoadComparedCard(const std::filesystem::path& path);

// Prints the changes from a to b as text lines (none when the two are the same) or as one
// JSON object; answers 0 when the two are the same and 1 when they differ.
ExitStatus PrintDiff(const std::filesystem::path& a, const std::filesystem::path& b,
                     bool json, std::ostream& out);

}  // namespace RQ540::Cli
