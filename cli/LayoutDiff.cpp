#include "LayoutDiff.h"

#include "CardSession.h"
#include "CliError.h"
#include "LayoutBuild.h"
#include "Listing.h"
#include "OptionValues.h"

#include "rq540/DiskFile.h"

#include <algorithm>
#include <map>
#include <system_error>

namespace RQ540::Cli {

namespace {

using Json = nlohmann::ordered_json;
using Children = std::map<uint16_t, const LayoutEntry*>;

Children ById(const LayoutEntry& folder)
{
    Children children;
    for (const LayoutEntry& child : folder.children)
        children.emplace(child.id, &child);
    return children;
}

// folder's IDs in list order that other also holds.
std::vector<uint16_t> SharedOrder(const LayoutEntry& folder, const Children& other)
{
    std::vector<uint16_t> ids;
    for (const LayoutEntry& child : folder.children) {
        if (other.contains(child.id))
            ids.push_back(child.id);
    }
    return ids;
}

uint8_t ByteAt(const LayoutEntry& file, std::size_t offset)
{
    return offset < file.data.size() ? file.data[offset] : 0;
}

bool PasswordChanged(const LayoutPassword& a, const LayoutPassword& b)
{
    using Source = LayoutPassword::Source;
    return a.source == Source::BYTES && b.source == Source::BYTES && a.bytes != b.bytes;
}

class CLayoutDiff {
public:
    std::vector<LayoutChange> Run(const LayoutEntry& a, const LayoutEntry& b)
    {
        CompareFolders(a, b, CCardPath());
        return std::move(m_changes);
    }

private:
    void Add(const CCardPath& path, const std::string& text, const char* change, Json details)
    {
        Json json{{"path", path.ToString()}, {"change", change}};
        json.update(details);
        m_changes.push_back({path.ToString() + ": " + text, std::move(json)});
    }

    void AddNumber(const CCardPath& path, const char* what, const char* change, uint32_t from,
                   uint32_t to)
    {
        if (from != to)
            Add(path, std::string(what) + " " + std::to_string(from) + " -> " + std::to_string(to),
                change, {{"from", from}, {"to", to}});
    }

    // entry and everything under it, each as its own line.
    void AddSubtree(const LayoutEntry& entry, const CCardPath& path, const char* change)
    {
        if (entry.folder) {
            Add(path, std::string(change) + " folder (" + std::to_string(entry.size) + " bytes)",
                change, {{"kind", "folder"}, {"size", entry.size}});
            for (const auto& [id, child] : ById(entry))
                AddSubtree(*child, path.GetChild(id), change);
        } else {
            const std::string type = GetFileTypeName(entry.type);
            Add(path,
                std::string(change) + " file (" + type + ", " + std::to_string(entry.size) +
                    " bytes)",
                change, {{"kind", "file"}, {"type", type}, {"size", entry.size}});
        }
    }

    void CompareFolders(const LayoutEntry& a, const LayoutEntry& b, const CCardPath& path)
    {
        AddNumber(path, "created size", "created-size", a.size, b.size);
        AddNumber(path, "free space", "free-space", a.free.value_or(0), b.free.value_or(0));
        if (PasswordChanged(a.userPassword, b.userPassword))
            Add(path, "user password changed", "user-password", Json::object());
        if (PasswordChanged(a.developerPassword, b.developerPassword))
            Add(path, "developer password changed", "developer-password", Json::object());
        const Children inA = ById(a);
        const Children inB = ById(b);
        if (SharedOrder(a, inB) != SharedOrder(b, inA))
            Add(path, "list order changed", "order", Json::object());

        std::map<uint16_t, std::pair<const LayoutEntry*, const LayoutEntry*>> pairs;
        for (const auto& [id, child] : inA)
            pairs[id].first = child;
        for (const auto& [id, child] : inB)
            pairs[id].second = child;
        for (const auto& [id, pair] : pairs) {
            const auto [before, after] = pair;
            const CCardPath childPath = path.GetChild(id);
            if (before && after && before->folder == after->folder) {
                if (before->folder)
                    CompareFolders(*before, *after, childPath);
                else
                    CompareFiles(*before, *after, childPath);
                continue;
            }
            if (before)
                AddSubtree(*before, childPath, "removed");
            if (after)
                AddSubtree(*after, childPath, "added");
        }
    }

    void CompareFiles(const LayoutEntry& a, const LayoutEntry& b, const CCardPath& path)
    {
        if (a.type != b.type)
            Add(path, "type " + GetFileTypeName(a.type) + " -> " + GetFileTypeName(b.type),
                "type", {{"from", GetFileTypeName(a.type)}, {"to", GetFileTypeName(b.type)}});
        AddNumber(path, "size", "size", a.size, b.size);

        // Bytes past the shorter file all count as differing. Walking down leaves first at
        // the lowest differing offset.
        const uint32_t common = std::min(a.size, b.size);
        uint32_t differing = std::max(a.size, b.size) - common;
        uint32_t first = common;
        for (uint32_t offset = common; offset-- > 0;) {
            if (ByteAt(a, offset) != ByteAt(b, offset)) {
                ++differing;
                first = offset;
            }
        }
        if (differing != 0)
            Add(path,
                "contents differ in " + std::to_string(differing) + " bytes, the first at offset " +
                    std::to_string(first),
                "contents", {{"firstOffset", first}, {"differingBytes", differing}});
    }

    std::vector<LayoutChange> m_changes;
};

// The manifest's redacted passwords onto the card built from it, entry for entry.
void KeepRedactions(const LayoutEntry& manifest, LayoutEntry& built)
{
    using Source = LayoutPassword::Source;
    if (manifest.userPassword.source == Source::REDACTED)
        built.userPassword = manifest.userPassword;
    if (manifest.developerPassword.source == Source::REDACTED)
        built.developerPassword = manifest.developerPassword;
    for (std::size_t i = 0; i < manifest.children.size(); ++i)
        KeepRedactions(manifest.children[i], built.children[i]);
}

}  // namespace

std::vector<LayoutChange> DiffLayouts(const CardLayout& a, const CardLayout& b)
{
    return CLayoutDiff().Run(a.root, b.root);
}

CardLayout LoadComparedCard(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_directory(path, error) && !IsManifestFile(path)) {
        const CCardSession session(path);
        return LayoutFromCard(session.GetVfs());
    }
    const std::string where = "diff " + DiskFile::GenericUtf8FromPath(ManifestPathOf(path));
    const CardLayout manifest = ReadLayout(path, where);
    // Built in memory only; the session's image is never written.
    CCardSession session({}, manifest.model);
    CLayoutBuilder(session, where, true).Build(manifest.root);
    CardLayout built = LayoutFromCard(session.GetVfs());
    KeepRedactions(manifest.root, built.root);
    return built;
}

ExitStatus PrintDiff(const std::filesystem::path& a, const std::filesystem::path& b,
                     bool json, std::ostream& out)
{
    const std::vector<LayoutChange> changes =
        DiffLayouts(LoadComparedCard(a), LoadComparedCard(b));
    if (json) {
        Json list = Json::array();
        for (const LayoutChange& change : changes)
            list.push_back(change.json);
        WriteJson(out, {{"same", changes.empty()}, {"changes", std::move(list)}});
    } else {
        for (const LayoutChange& change : changes)
            out << change.text << '\n';
    }
    return changes.empty() ? STATUS_SUCCESS : STATUS_FAILURE;
}

}  // namespace RQ540::Cli
