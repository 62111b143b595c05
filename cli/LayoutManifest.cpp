#include "LayoutManifest.h"

#include "ByteFiles.h"
#include "CliError.h"
#include "OptionValues.h"

#include "rq540/CardModel.h"
#include "rq540/DiskFile.h"
#include "rq540/HexDigits.h"
#include "rq540/ProcessIo.h"

#include <algorithm>
#include <iostream>
#include <limits>
#include <set>
#include <span>
#include <string_view>
#include <system_error>

namespace RQ540::Cli {

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

constexpr const char* kModel = "model";
constexpr const char* kId = "id";
constexpr const char* kKind = "kind";
constexpr const char* kType = "type";
constexpr const char* kSize = "size";
constexpr const char* kFree = "free";
constexpr const char* kUserPassword = "userPassword";
constexpr const char* kDeveloperPassword = "developerPassword";
constexpr const char* kChildren = "children";
constexpr const char* kPayload = "payload";
constexpr const char* kZero = "zero";
constexpr const char* kRedacted = "redacted";
constexpr const char* kEnv = "env";
constexpr const char* kHex = "hex";
constexpr const char* kParam = "param";
constexpr const char* kFolderKind = "folder";
constexpr const char* kFileKind = "file";

const std::set<std::string> kRootKeys{kModel, kFree, kUserPassword, kDeveloperPassword,
                                      kChildren};
const std::set<std::string> kFolderKeys{kId,           kKind,
                                        kSize,         kFree,
                                        kUserPassword, kDeveloperPassword,
                                        kChildren};
const std::set<std::string> kFileKeys{kId, kKind, kType, kSize, kPayload, kZero};

// A card.json far beyond any card's layout is not read into memory.
constexpr uint64_t kMaxManifestBytes = 64 * 1024 * 1024;

// Inline bytes as lines of at most 32 bytes, so that a diff of two manifests shows the
// lines that changed rather than one line of a whole file.
nlohmann::ordered_json HexLines(const std::vector<uint8_t>& data)
{
    constexpr std::size_t kLineBytes = 32;
    const std::span<const uint8_t> bytes(data);
    nlohmann::ordered_json lines = nlohmann::ordered_json::array();
    for (std::size_t at = 0; at < bytes.size(); at += kLineBytes)
        lines.push_back(FormatHexBytes(bytes.subspan(at, std::min(kLineBytes, bytes.size() - at))));
    return lines;
}

// A key as a JSON pointer step writes it.
std::string PointerStep(const std::string& key)
{
    std::string step = "/";
    for (char c : key) {
        if (c == '~')
            step += "~0";
        else if (c == '/')
            step += "~1";
        else
            step += c;
    }
    return step;
}

LayoutPassword PasswordFromField(const std::vector<uint8_t>& field)
{
    return {LayoutPassword::Source::BYTES, std::string(field.begin(), field.end())};
}

LayoutEntry EntryFromCard(const CVirtualFileSystem& vfs, const CUnknownHeader* header)
{
    LayoutEntry entry;
    entry.id = header->GetId();
    entry.folder = header->IsFolder();
    if (!entry.folder) {
        const auto* file = static_cast<const CFileHeader*>(header);
        entry.type = file->GetType();
        entry.size = file->GetSize();
        entry.data.assign(file->GetData(), file->GetData() + file->GetSize());
        return entry;
    }
    const auto* folder = static_cast<const CFolderHeader*>(header);
    FolderUsage usage;
    vfs.GetFolderUsage(folder, usage);
    entry.size = usage.totalSize;
    entry.free = folder->GetFreeSpace();
    std::vector<uint8_t> user(folder->GetUserPasswordSize());
    std::vector<uint8_t> developer(folder->GetDeveloperPasswordSize());
    folder->GetUserPassword(user.data());
    folder->GetDeveloperPassword(developer.data());
    entry.userPassword = PasswordFromField(user);
    entry.developerPassword = PasswordFromField(developer);
    for (const CUnknownHeader* child = folder->GetFirstChild(); child; child = child->GetNext())
        entry.children.push_back(EntryFromCard(vfs, child));
    return entry;
}

void AddPassword(nlohmann::ordered_json& json, const char* key, const LayoutPassword& password)
{
    if (password.source == LayoutPassword::Source::BYTES)
        json[key] = FormatHexBytes(
            {reinterpret_cast<const uint8_t*>(password.bytes.data()), password.bytes.size()});
    else if (password.source == LayoutPassword::Source::REDACTED)
        json[key] = {{kRedacted, true}};
}

void AddFolderFields(nlohmann::ordered_json& json, const LayoutEntry& folder,
                     const CCardPath& path, PayloadForm payloads);

nlohmann::ordered_json EntryToJson(const LayoutEntry& entry, const CCardPath& path,
                                   PayloadForm payloads)
{
    nlohmann::ordered_json json{{kId, FormatId(entry.id)},
                                {kKind, entry.folder ? kFolderKind : kFileKind}};
    if (entry.folder) {
        json[kSize] = entry.size;
        AddFolderFields(json, entry, path, payloads);
        return json;
    }
    json[kType] = GetFileTypeName(entry.type);
    json[kSize] = entry.size;
    if (!HasPayload(entry))
        json[kZero] = true;
    else if (payloads == PayloadForm::INLINE)
        json[kPayload] = {{kHex, HexLines(entry.data)}};
    else
        json[kPayload] = PayloadPath(path).generic_string();
    return json;
}

void AddFolderFields(nlohmann::ordered_json& json, const LayoutEntry& folder,
                     const CCardPath& path, PayloadForm payloads)
{
    if (folder.free)
        json[kFree] = *folder.free;
    AddPassword(json, kUserPassword, folder.userPassword);
    AddPassword(json, kDeveloperPassword, folder.developerPassword);
    nlohmann::ordered_json children = nlohmann::ordered_json::array();
    for (const LayoutEntry& child : folder.children)
        children.push_back(EntryToJson(child, path.GetChild(child.id), payloads));
    json[kChildren] = std::move(children);
}

// Builds the value of a JSON text from the parser's events, as the library's own parse
// does, and stops at a key repeated in one object or at the parser's own error. Each event
// costs the same however much came before it, so a text is read in time linear in its
// length.
class CJsonBuilder {
public:
    explicit CJsonBuilder(Json& root) : m_root(root) {}

    bool null() { return Add(nullptr); }
    bool boolean(bool value) { return Add(value); }
    bool number_integer(Json::number_integer_t value) { return Add(value); }
    bool number_unsigned(Json::number_unsigned_t value) { return Add(value); }
    bool number_float(Json::number_float_t value, const std::string&) { return Add(value); }
    bool string(std::string& value) { return Add(std::move(value)); }
    bool binary(Json::binary_t& value) { return Add(std::move(value)); }

    bool start_object(std::size_t) { return Open(Json::value_t::object); }
    bool start_array(std::size_t) { return Open(Json::value_t::array); }
    bool end_object() { return Close(); }
    bool end_array() { return Close(); }

    bool key(std::string& key)
    {
        Level& level = m_levels.back();
        auto& object = level.value->get_ref<Json::object_t&>();
        const auto [member, added] = object.try_emplace(std::move(key));
        if (!added)
            return Stop(Pointer(false), "the key \"" + key + "\" appears twice");
        level.member = &*member;
        return true;
    }

    // Text that is not JSON is refused as a whole, at the line and column the library's
    // message names; a number beyond the range of a double, where it stands.
    bool parse_error(std::size_t, const std::string&, const Json::exception& error)
    {
        // Drop the library's "[json.exception.parse_error.101] " tag.
        const std::string what = error.what();
        const std::string message = what.substr(what.find("] ") + 2);
        if (dynamic_cast<const Json::parse_error*>(&error))
            return Stop("", "not JSON: " + message);
        return Stop(Pointer(true), message);
    }

    // After a parse this builder stopped: where, as a JSON pointer, and why.
    const std::string& GetStopLocation() const { return m_stopLocation; }
    const std::string& GetStopReason() const { return m_stopReason; }

private:
    // An open object or array; for an object, the member whose value is being read.
    struct Level {
        Json* value;
        Json::object_t::value_type* member = nullptr;
    };

    // Puts value where the open level expects its next one and answers where it went.
    template <typename Value>
    Json* Place(Value&& value)
    {
        if (m_levels.empty()) {
            m_root = Json(std::forward<Value>(value));
            return &m_root;
        }
        Level& level = m_levels.back();
        if (level.value->is_array()) {
            auto& array = level.value->get_ref<Json::array_t&>();
            array.emplace_back(std::forward<Value>(value));
            return &array.back();
        }
        level.member->second = Json(std::forward<Value>(value));
        return &level.member->second;
    }

    template <typename Value>
    bool Add(Value&& value)
    {
        Place(std::forward<Value>(value));
        return true;
    }

    bool Open(Json::value_t type)
    {
        // The value stays where it is while it is open: nothing is added beside it.
        m_levels.push_back({Place(type)});
        return true;
    }

    bool Close()
    {
        m_levels.pop_back();
        return true;
    }

    bool Stop(std::string location, std::string reason)
    {
        m_stopLocation = std::move(location);
        m_stopReason = std::move(reason);
        return false;
    }

    // The JSON pointer to the innermost open value or, with next, to the value it is about
    // to take. Every level below the innermost one is reading its last value.
    std::string Pointer(bool next) const
    {
        std::string text;
        const std::size_t count = next ? m_levels.size() : m_levels.size() - 1;
        for (std::size_t i = 0; i < count; ++i) {
            const Level& level = m_levels[i];
            const bool reading = i + 1 < m_levels.size();
            text += level.value->is_array()
                        ? "/" + std::to_string(level.value->size() - (reading ? 1 : 0))
                        : PointerStep(level.member->first);
        }
        return text;
    }

    Json& m_root;
    std::vector<Level> m_levels;
    std::string m_stopLocation;
    std::string m_stopReason;
};

// Reads one manifest, keeping the JSON location of every value it looks at.
class CManifestReader {
public:
    CManifestReader(fs::path manifest, std::string where, LayoutParams* params)
        : m_manifest(std::move(manifest)),
          m_dir(m_manifest.has_parent_path() ? m_manifest.parent_path() : fs::path(".")),
          m_where(std::move(where)),
          m_params(params)
    {
    }

    CardLayout Read()
    {
        const Json json = Parse();
        RequireObject(json, "", kRootKeys);
        const Json& model = *Find(json, kModel, "");
        const bool fits = model.is_number_unsigned() &&
                          model.get<uint64_t>() <= std::numeric_limits<int32_t>::max();
        if (!fits || !IsKnownModel(model.get<int32_t>()))
            Fail(PointerStep(kModel), "expected a known card model (0)");
        CardLayout layout;
        layout.model = model.get<int32_t>();
        m_model = layout.model;
        layout.root.id = ROOT_FOLDER_ID;
        layout.root.folder = true;
        layout.root.size = GetCapacity(m_model);
        ReadFolderFields(json, layout.root, CCardPath(), 1);
        return layout;
    }

private:
    [[noreturn]] void Fail(const std::string& location, const std::string& why) const
    {
        throw CCliError::Failure(m_where + (location.empty() ? "" : ": " + location) + ": " + why);
    }

    // Parsed JSON; a key that appears twice in one object is refused, since a reviewer
    // would read one value and the build would take the other.
    Json Parse() const
    {
        // "-" reads a one-file manifest from standard input.
        const std::vector<uint8_t> bytes =
            ReadInputBytes(DiskFile::Utf8FromPath(m_manifest), std::cin, kMaxManifestBytes, true);
        Json json;
        CJsonBuilder builder(json);
        if (!Json::sax_parse(bytes.begin(), bytes.end(), &builder))
            Fail(builder.GetStopLocation(), builder.GetStopReason());
        return json;
    }

    void RequireObject(const Json& value, const std::string& location,
                       const std::set<std::string>& keys) const
    {
        if (!value.is_object())
            Fail(location, "expected an object");
        for (const auto& item : value.items()) {
            if (!keys.contains(item.key()))
                Fail(location + PointerStep(item.key()), "unknown key");
        }
    }

    const Json* Find(const Json& object, const char* key, const std::string& location,
                     bool required = true) const
    {
        const auto found = object.find(key);
        if (found != object.end())
            return &*found;
        if (required)
            Fail(location, std::string("the key \"") + key + "\" is missing");
        return nullptr;
    }

    uint32_t ReadNumber(const Json& value, const std::string& location) const
    {
        if (!value.is_number_unsigned() ||
            value.get<uint64_t>() > std::numeric_limits<uint32_t>::max())
            Fail(location, "expected a whole number from 0 to 4294967295");
        return value.get<uint32_t>();
    }

    std::string ReadString(const Json& value, const std::string& location) const
    {
        if (!value.is_string())
            Fail(location, "expected a string");
        return value.get<std::string>();
    }

    // The text a template's {"param": "NAME"} stands for in this build: the row's field of
    // that column, or empty text while the names are only collected. Nothing when value is
    // no such object; without parameters to take, it is refused.
    std::optional<std::string> ReadParam(const Json& value, const std::string& location) const
    {
        if (!value.is_object() || value.size() != 1 || !value.contains(kParam))
            return std::nullopt;
        const std::string paramLocation = location + PointerStep(kParam);
        const std::string name = ReadString(value.at(kParam), paramLocation);
        if (!m_params)
            Fail(paramLocation, "the parameter '" + name + "' takes its value from a table; "
                                                           "give --params and --output-dir");
        m_params->used.insert(name);
        if (!m_params->row)
            return std::string();
        const auto found = m_params->row->find(name);
        if (found == m_params->row->end())
            Fail(paramLocation, "the table has no column '" + name + "'");
        return found->second;
    }

    // A password field of length bytes: hexadecimal bytes (zero-filled to the field),
    // {"redacted": true}, {"env": "NAME"} or {"param": "NAME"}.
    LayoutPassword ReadPassword(const Json* value, const std::string& location,
                                uint32_t length) const
    {
        if (!value)
            return {};
        if (value->is_string()) {
            const auto bytes = ParseHexBytes(value->get<std::string>());
            if (!bytes || bytes->size() > length)
                Fail(location, "expected at most " + std::to_string(length) +
                                   " bytes as pairs of hexadecimal digits");
            return {LayoutPassword::Source::BYTES, {bytes->begin(), bytes->end()}};
        }
        if (value->is_object() && value->size() == 1 && value->contains(kRedacted)) {
            if (value->at(kRedacted) != true)
                Fail(location + PointerStep(kRedacted), "expected true");
            return {LayoutPassword::Source::REDACTED, {}};
        }
        if (value->is_object() && value->size() == 1 && value->contains(kEnv)) {
            const std::string name = ReadString(value->at(kEnv), location + PointerStep(kEnv));
            // The system would read the name only up to the NUL, and so another variable.
            if (name.find('\0') != std::string::npos)
                Fail(location + PointerStep(kEnv), "'" + name + "' may not hold a NUL byte");
            const std::optional<std::string> text = ProcessIo::GetEnvironment(name);
            if (!text)
                Fail(location + PointerStep(kEnv),
                     "the environment variable " + name + " is not set");
            return {LayoutPassword::Source::BYTES, *text};
        }
        // A row's text is typed text, as an environment variable's is.
        if (const std::optional<std::string> text = ReadParam(*value, location))
            return {LayoutPassword::Source::BYTES, *text};
        Fail(location, "expected hexadecimal bytes, {\"redacted\": true}, {\"env\": \"NAME\"} "
                       "or {\"param\": \"NAME\"}");
    }

    void ReadFolderFields(const Json& json, LayoutEntry& folder, const CCardPath& path,
                          uint32_t depth) const
    {
        // No card nests folders deeper than it can hold folder headers; this bounds the
        // reader's own recursion. The card's far smaller depth limit is the card's to apply.
        if (depth > GetCapacity(m_model) / GetFolderHeaderCost(m_model))
            Fail(folder.location, "folders nested deeper than any card can hold");
        if (const Json* free = Find(json, kFree, folder.location, false))
            folder.free = ReadNumber(*free, folder.location + PointerStep(kFree));
        folder.userPassword =
            ReadPassword(Find(json, kUserPassword, folder.location, false),
                         folder.location + PointerStep(kUserPassword),
                         GetUserPasswordLength(m_model));
        folder.developerPassword =
            ReadPassword(Find(json, kDeveloperPassword, folder.location, false),
                         folder.location + PointerStep(kDeveloperPassword),
                         GetDeveloperPasswordLength(m_model));
        const Json* children = Find(json, kChildren, folder.location, false);
        if (!children)
            return;
        const std::string location = folder.location + PointerStep(kChildren);
        if (!children->is_array())
            Fail(location, "expected an array");
        for (std::size_t i = 0; i < children->size(); ++i)
            folder.children.push_back(
                ReadEntry((*children)[i], location + "/" + std::to_string(i), path, depth));
    }

    LayoutEntry ReadEntry(const Json& json, const std::string& location,
                          const CCardPath& parent, uint32_t depth) const
    {
        if (!json.is_object())
            Fail(location, "expected an object");
        LayoutEntry entry;
        entry.location = location;
        const std::string kind =
            ReadString(*Find(json, kKind, location), location + PointerStep(kKind));
        if (kind != kFolderKind && kind != kFileKind)
            Fail(location + PointerStep(kKind), "expected \"file\" or \"folder\"");
        entry.folder = kind == kFolderKind;
        RequireObject(json, location, entry.folder ? kFolderKeys : kFileKeys);
        entry.id = ReadId(*Find(json, kId, location), location + PointerStep(kId));
        entry.size = ReadNumber(*Find(json, kSize, location), location + PointerStep(kSize));
        const CCardPath path = parent.GetChild(entry.id);
        if (entry.folder) {
            ReadFolderFields(json, entry, path, depth + 1);
            return entry;
        }

        const std::string typeLocation = location + PointerStep(kType);
        const std::optional<uint8_t> type =
            ParseFileType(ReadString(*Find(json, kType, location), typeLocation));
        if (!type)
            Fail(typeLocation, "expected exec, data, public-key, private-key, internal-exec "
                               "or a number from 0 to 255");
        entry.type = *type;
        const Json* payload = Find(json, kPayload, location, false);
        const Json* zero = Find(json, kZero, location, false);
        if (payload && zero)
            Fail(location, "give either \"payload\" or \"zero\", not both");
        if (!payload && !zero)
            Fail(location, "a file needs \"payload\" or \"zero\": true");
        if (zero && *zero != true)
            Fail(location + PointerStep(kZero), "expected true");
        if (payload)
            entry.data = ReadPayload(*payload, location + PointerStep(kPayload), entry.size);
        return entry;
    }

    // An ID as a card path of one step writes it, without the separators a path may have.
    uint16_t ReadId(const Json& value, const std::string& location) const
    {
        const std::string text = ReadString(value, location);
        if (text.find_first_of("/\\") == std::string::npos) {
            const std::optional<CCardPath> path = CCardPath::Parse(text);
            if (path && !path->IsRoot())
                return path->GetId();
        }
        Fail(location, "expected an ID of 1 to 4 hexadecimal digits");
    }

    // A file's bytes inline: hexadecimal digits in one string or in a list of them, holding
    // exactly size bytes.
    std::vector<uint8_t> ReadInlineBytes(const Json& value, const std::string& location,
                                         uint32_t size) const
    {
        const bool lines = value.is_array();
        std::vector<uint8_t> data;
        for (std::size_t i = 0; i < (lines ? value.size() : 1); ++i) {
            const std::string lineLocation = lines ? location + "/" + std::to_string(i) : location;
            const auto bytes = ParseHexBytes(ReadString(lines ? value[i] : value, lineLocation));
            if (!bytes)
                Fail(lineLocation, "expected pairs of hexadecimal digits");
            if (data.size() + bytes->size() > size)
                Fail(location, "holds more than " + std::to_string(size) + " bytes");
            data.insert(data.end(), bytes->begin(), bytes->end());
        }
        if (data.size() != size)
            Fail(location, "holds " + std::to_string(data.size()) + " bytes, not " +
                               std::to_string(size));
        return data;
    }

    // Exactly size bytes: inline as {"hex": [...]}, or in the payload file named by
    // value, which must lie inside the dump folder; for {"param": "NAME"}, in the file the
    // row names, inside the table's folder.
    std::vector<uint8_t> ReadPayload(const Json& value, const std::string& location,
                                     uint32_t size) const
    {
        if (value.is_object() && value.size() == 1 && value.contains(kHex))
            return ReadInlineBytes(value.at(kHex), location + PointerStep(kHex), size);
        if (const std::optional<std::string> text = ReadParam(value, location)) {
            if (!m_params->row)
                return {};
            return ReadPayloadFile(m_params->folder, "the table's folder", *text, location, size);
        }
        if (!value.is_string())
            Fail(location, "expected a payload file's name, {\"hex\": [...]} or "
                           "{\"param\": \"NAME\"}");
        return ReadPayloadFile(m_dir, "the dump folder", value.get<std::string>(), location,
                               size);
    }

    // The bytes of the file text names relative to base (shown as baseName), which must lie
    // inside base and hold exactly size bytes.
    std::vector<uint8_t> ReadPayloadFile(const fs::path& base, const std::string& baseName,
                                         const std::string& text, const std::string& location,
                                         uint32_t size) const
    {
        // The system would read the name only up to a NUL byte, and so another file.
        if (text.find('\0') != std::string::npos)
            Fail(location, "'" + text + "' may not hold a NUL byte");
        // '/' alone separates folder names, so a manifest means the same on every system.
        const fs::path relative = DiskFile::PathFromUtf8(text);
        if (text.find('\\') != std::string::npos || relative.empty() ||
            relative.has_root_name() || relative.has_root_directory())
            Fail(location, "expected a path relative to " + baseName +
                               ", with '/' between folder names");
        if (std::find(relative.begin(), relative.end(), "..") != relative.end())
            Fail(location, "'" + text + "' may not step up with '..'");

        const fs::path file = base / relative;
        std::error_code error;
        const fs::path real = fs::canonical(file, error);
        if (error)
            Fail(location, "'" + DiskFile::GenericUtf8FromPath(file) + "' is missing");
        const fs::path realDir = fs::canonical(base.empty() ? fs::path(".") : base, error);
        const auto inside = std::mismatch(realDir.begin(), realDir.end(), real.begin(), real.end());
        if (error || inside.first != realDir.end())
            Fail(location, "'" + DiskFile::GenericUtf8FromPath(file) + "' leads out of " +
                               baseName + " through a symbolic link");
        if (!fs::is_regular_file(real, error))
            Fail(location, "'" + DiskFile::GenericUtf8FromPath(file) + "' is not a regular file");
        const uintmax_t length = fs::file_size(real, error);
        if (error || length != size)
            Fail(location, "'" + DiskFile::GenericUtf8FromPath(file) + "' holds " + std::to_string(length) +
                               " bytes, not " + std::to_string(size));
        // A file larger than the whole card is refused by the card before its bytes matter.
        if (size > GetCapacity(m_model))
            return {};
        // The name is a full path, never "-", so standard input is not read.
        return ReadInputBytes(DiskFile::Utf8FromPath(real), std::cin, size, true);
    }

    fs::path m_manifest;
    fs::path m_dir;  // where payload files lie
    std::string m_where;
    LayoutParams* m_params;
    int32_t m_model = 0;
};

}  // namespace

CardLayout LayoutFromCard(const CVirtualFileSystem& vfs)
{
    CardLayout layout;
    layout.model = vfs.GetModel();
    layout.root = EntryFromCard(vfs, vfs.GetRoot());
    return layout;
}

bool HasPayload(const LayoutEntry& file)
{
    return std::any_of(file.data.begin(), file.data.end(), [](uint8_t byte) { return byte != 0; });
}

fs::path PayloadPath(const CCardPath& path)
{
    // ToString() gives "/0001/0010"; its first separator joins it to the folder.
    return fs::path("files" + path.ToString() + ".bin");
}

nlohmann::ordered_json LayoutToJson(const CardLayout& layout, PayloadForm payloads)
{
    nlohmann::ordered_json json{{kModel, layout.model}};
    AddFolderFields(json, layout.root, CCardPath(), payloads);
    return json;
}

fs::path ManifestPathOf(const fs::path& path)
{
    std::error_code error;
    return fs::is_directory(path, error) ? path / kManifestName : path;
}

bool IsManifestFile(const fs::path& path)
{
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return false;
    // Enough for a byte-order mark and the white space a person puts before the '{'.
    constexpr uint64_t kLook = 4096;
    const std::vector<uint8_t> start =
        ReadInputBytes(DiskFile::Utf8FromPath(path), std::cin, kLook, false);
    std::string_view text(reinterpret_cast<const char*>(start.data()), start.size());
    if (text.starts_with(UTF8_BYTE_ORDER_MARK))
        text.remove_prefix(UTF8_BYTE_ORDER_MARK.size());
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '{';
}

CardLayout ReadLayout(const fs::path& path, const std::string& where, LayoutParams* params)
{
    const fs::path manifest = ManifestPathOf(path);
    return CManifestReader(manifest, where, params).Read();
}

}  // namespace RQ540::Cli
