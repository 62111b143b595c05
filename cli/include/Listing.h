// How rqfs shows folders, trees, usage totals and an image's diagnostic: aligned text lines for people and JSON
// for scripts. IDs are four upper-case hexadecimal digits; a folder's size is the size it
// was created with (its usage total), shown with its free space.
#pragma once

#include "rq540/CardPath.h"
#include "rq540/VirtualFileSystem.h"

#include <nlohmann/json.hpp>

#include <ostream>

namespace RQ540::Cli {

// The folder's entries in its list order, head first: "ID  type  size  [free N]".
void WriteEntries(std::ostream& out, const CVirtualFileSystem& vfs, const CFolderHeader* folder);
nlohmann::ordered_json EntriesToJson(const CVirtualFileSystem& vfs, const CFolderHeader* folder,
                             const CCardPath& folderPath);

// The root and everything under it, two blanks of indent per level.
void WriteTree(std::ostream& out, const CVirtualFileSystem& vfs);
// The root as one object whose folders hold their entries in "children".
nlohmann::ordered_json TreeToJson(const CVirtualFileSystem& vfs);

void WriteUsage(std::ostream& out, const FolderUsage& usage);
nlohmann::ordered_json UsageToJson(const FolderUsage& usage);

// Where a malformed image goes wrong, as check shows it: indented lines for people, an
// object for scripts. Rules that compare no numbers leave out expected and actual.
void WriteDiagnostic(std::ostream& out, const VfsArchive::ImageDiagnostic& diagnostic);
nlohmann::ordered_json DiagnosticToJson(const VfsArchive::ImageDiagnostic& diagnostic);

// Pretty-printed, UTF-8, one trailing newline.
void WriteJson(std::ostream& out, const nlohmann::ordered_json& value);

}  // namespace RQ540::Cli
