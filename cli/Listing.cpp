#include "Listing.h"

#include "OptionValues.h"

#include "rq540/HexDigits.h"

#include <cstdio>
#include <string>

namespace RQ540::Cli {

namespace {

constexpr const char* kFolderTypeName = "folder";

void WriteEntryLine(std::ostream& out, const CVirtualFileSystem& vfs, const CUnknownHeader* entry,
                    int indent)
{
    char line[96];
    if (entry->IsFolder()) {
        FolderUsage usage;
        vfs.GetFolderUsage(static_cast<const CFolderHeader*>(entry), usage);
        std::snprintf(line, sizeof line, "%*s%s  %-13s %10u  free %u", indent, "",
                      FormatId(entry->GetId()).c_str(), kFolderTypeName, usage.totalSize,
                      usage.freeSpace);
    } else {
        const auto* file = static_cast<const CFileHeader*>(entry);
        std::snprintf(line, sizeof line, "%*s%s  %-13s %10u", indent, "",
                      FormatId(entry->GetId()).c_str(), GetFileTypeName(file->GetType()).c_str(),
                      file->GetSize());
    }
    out << line << '\n';
}

nlohmann::ordered_json EntryToJson(const CVirtualFileSystem& vfs, const CUnknownHeader* entry,
                           const CCardPath& path)
{
    nlohmann::ordered_json json{{"id", FormatId(entry->GetId())},
                                {"path", path.ToString()}};
    if (entry->IsFolder()) {
        FolderUsage usage;
        vfs.GetFolderUsage(static_cast<const CFolderHeader*>(entry), usage);
        json["kind"] = kFolderTypeName;
        json["size"] = usage.totalSize;
        json["free"] = usage.freeSpace;
    } else {
        const auto* file = static_cast<const CFileHeader*>(entry);
        json["kind"] = "file";
        json["type"] = file->GetType();
        json["typeName"] = GetFileTypeName(file->GetType());
        json["size"] = file->GetSize();
    }
    return json;
}

void WriteSubtree(std::ostream& out, const CVirtualFileSystem& vfs, const CFolderHeader* folder,
                  int indent)
{
    for (const CUnknownHeader* child = folder->GetFirstChild(); child; child = child->GetNext()) {
        WriteEntryLine(out, vfs, child, indent);
        if (child->IsFolder())
            WriteSubtree(out, vfs, static_cast<const CFolderHeader*>(child), indent + 2);
    }
}

nlohmann::ordered_json SubtreeToJson(const CVirtualFileSystem& vfs, const CUnknownHeader* entry,
                             const CCardPath& path)
{
    nlohmann::ordered_json json = EntryToJson(vfs, entry, path);
    if (!entry->IsFolder())
        return json;
    nlohmann::ordered_json children = nlohmann::ordered_json::array();
    for (const CUnknownHeader* child = static_cast<const CFolderHeader*>(entry)->GetFirstChild();
         child; child = child->GetNext())
        children.push_back(SubtreeToJson(vfs, child, path.GetChild(child->GetId())));
    json["children"] = std::move(children);
    return json;
}

}  // namespace

void WriteEntries(std::ostream& out, const CVirtualFileSystem& vfs, const CFolderHeader* folder)
{
    for (const CUnknownHeader* child = folder->GetFirstChild(); child; child = child->GetNext())
        WriteEntryLine(out, vfs, child, 0);
}

nlohmann::ordered_json EntriesToJson(const CVirtualFileSystem& vfs, const CFolderHeader* folder,
                             const CCardPath& folderPath)
{
    nlohmann::ordered_json entries = nlohmann::ordered_json::array();
    for (const CUnknownHeader* child = folder->GetFirstChild(); child; child = child->GetNext())
        entries.push_back(EntryToJson(vfs, child, folderPath.GetChild(child->GetId())));
    return {{"path", folderPath.ToString()}, {"entries", std::move(entries)}};
}

void WriteTree(std::ostream& out, const CVirtualFileSystem& vfs)
{
    WriteEntryLine(out, vfs, vfs.GetRoot(), 0);
    WriteSubtree(out, vfs, vfs.GetRoot(), 2);
}

nlohmann::ordered_json TreeToJson(const CVirtualFileSystem& vfs)
{
    return SubtreeToJson(vfs, vfs.GetRoot(), CCardPath());
}

void WriteUsage(std::ostream& out, const FolderUsage& usage)
{
    out << "total size      " << usage.totalSize << '\n'
        << "free space      " << usage.freeSpace << '\n'
        << "folders         " << usage.folderCount << '\n'
        << "files           " << usage.fileCount << '\n'
        << "file data size  " << usage.fileDataSize << '\n';
}

nlohmann::ordered_json UsageToJson(const FolderUsage& usage)
{
    return {{"totalSize", usage.totalSize},
            {"freeSpace", usage.freeSpace},
            {"folderCount", usage.folderCount},
            {"fileCount", usage.fileCount},
            {"fileDataSize", usage.fileDataSize}};
}

void WriteJson(std::ostream& out, const nlohmann::ordered_json& value)
{
    // Replacing bad bytes keeps an argument that is not UTF-8 from aborting the output.
    out << value.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

nlohmann::ordered_json DiagnosticToJson(const VfsArchive::ImageDiagnostic& diagnostic)
{
    nlohmann::ordered_json json{{"rule", diagnostic.rule},
                                {"message", diagnostic.message},
                                {"offset", diagnostic.offset},
                                {"path", diagnostic.path}};
    // Rules that compare no numbers leave both at zero.
    if (diagnostic.expected != 0 || diagnostic.actual != 0) {
        json["expected"] = diagnostic.expected;
        json["actual"] = diagnostic.actual;
    }
    return json;
}

void WriteDiagnostic(std::ostream& out, const VfsArchive::ImageDiagnostic& diagnostic)
{
    out << "  rule:     " << diagnostic.rule << '\n'
        << "  problem:  " << diagnostic.message << '\n'
        << "  offset:   " << diagnostic.offset << '\n'
        << "  record:   " << diagnostic.path << '\n';
    if (diagnostic.expected != 0 || diagnostic.actual != 0) {
        out << "  expected: " << diagnostic.expected << '\n'
            << "  actual:   " << diagnostic.actual << '\n';
    }
}

}  // namespace RQ540::Cli
