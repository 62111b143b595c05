#include "LayoutBatch.h"

#include "CardSession.h"
#include "CliError.h"
#include "ByteFiles.h"
#include "CsvTable.h"
#include "LayoutBuild.h"
#include "LayoutManifest.h"
#include "Sha256.h"

#include "rq540/DiskFile.h"
#include "rq540/VfsArchive.h"

#include <algorithm>
#include <map>
#include <set>
#include <system_error>

namespace RQ540::Cli {

namespace {

namespace fs = std::filesystem;

// The longest file name the file systems rqfs runs on take: 255 bytes, or on Windows 255
// UTF-16 units, which never outnumber the UTF-8 bytes.
constexpr std::size_t kMaxFileNameBytes = 255;

bool IsUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<uint8_t>(text[i]);
        const std::size_t length = lead < 0x80            ? 1
                                   : (lead >> 5) == 0x06  ? 2
                                   : (lead >> 4) == 0x0E  ? 3
                                   : (lead >> 3) == 0x1E  ? 4
                                                          : 0;
        if (length == 0 || i + length > text.size())
            return false;
        uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<uint8_t>(text[i + k]);
            if ((next >> 6) != 0x2)
                return false;
            code = code << 6 | (next & 0x3F);
        }
        // Overlong forms, UTF-16 surrogates and codes past U+10FFFF are no characters.
        constexpr uint32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kShortest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        i += length;
    }
    return true;
}

std::string AsciiUpper(std::string_view text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return upper;
}

// Windows opens a device for these names, with any extension: CON.rqfs is the console.
bool IsWindowsDeviceName(std::string_view name)
{
    const std::string stem = AsciiUpper(name.substr(0, name.find('.')));
    // Trailing spaces before the extension are dropped by Windows too.
    const std::string trimmed = stem.substr(0, stem.find_last_not_of(' ') + 1);
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (trimmed == device)
            return true;
    if (trimmed.size() == 4 && (trimmed.starts_with("COM") || trimmed.starts_with("LPT")))
        return trimmed[3] >= '0' && trimmed[3] <= '9';
    // COM and LPT with a superscript digit one, two or three.
    if (trimmed.size() == 5 && (trimmed.starts_with("COM") || trimmed.starts_with("LPT")))
        return trimmed.substr(3) == "\xC2\xB9" || trimmed.substr(3) == "\xC2\xB2" ||
               trimmed.substr(3) == "\xC2\xB3";
    return false;
}

std::string Join(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "'" : ", '") + name + "'";
    return text;
}

// Refuses a table whose columns and the template's parameters do not match, by name.
void MatchColumns(const std::vector<std::string>& header, const std::set<std::string>& used,
                  const std::string& where, const std::string& manifest)
{
    std::vector<std::string> missing;
    for (const std::string& name : used)
        if (std::find(header.begin(), header.end(), name) == header.end())
            missing.push_back(name);
    if (!missing.empty())
        throw CCliError::Failure(where + ": " + manifest + " uses the parameters " +
                                 Join(missing) + ", which the table has no columns for");
    std::vector<std::string> unused;
    for (auto column = header.begin() + 1; column != header.end(); ++column)
        if (!used.contains(*column))
            unused.push_back(*column);
    if (!unused.empty())
        throw CCliError::Failure(where + ": the columns " + Join(unused) + " are parameters " +
                                 manifest + " never uses");
}

// Refuses a row whose name is no plain file name or repeats an earlier row's.
void CheckNames(const CCsvTable& table, const std::string& where)
{
    std::map<std::string, std::size_t> lines;  // a name without case -> the line naming it
    for (const CCsvTable::Row& row : table.GetRows()) {
        const std::string& name = row.fields.front();
        const std::string at = where + " line " + std::to_string(row.line) + ": ";
        if (const std::string why = WhyNotPlainFileName(name); !why.empty())
            throw CCliError::Failure(at + "'" + name + "' cannot name an image: " + why);
        const auto [earlier, added] = lines.try_emplace(AsciiUpper(name), row.line);
        if (!added)
            throw CCliError::Failure(at + "the name '" + name + "' repeats the one of line " +
                                     std::to_string(earlier->second));
    }
}

// The images of a run in their staging folder, removed with it unless they were all moved
// into place. Until then nothing of OUT is lost: the files they replace wait in the staging
// folder and go back, and a folder the run made goes too.
class CStagedImages {
public:
    CStagedImages(fs::path out, bool madeOut) : m_out(std::move(out)), m_madeOut(madeOut) {}
    CStagedImages(const CStagedImages&) = delete;
    CStagedImages& operator=(const CStagedImages&) = delete;
    ~CStagedImages()
    {
        std::error_code error;
        if (!m_committed) {
            for (const fs::path& name : m_moved)
                fs::remove(m_out / name, error);
            for (const fs::path& name : m_replaced)
                fs::rename(Replaced() / name, m_out / name, error);
        }
        if (!m_staging.empty())
            fs::remove_all(m_staging, error);
        if (!m_committed && m_madeOut)
            fs::remove(m_out, error);
    }

    void Open(const std::string& shown)
    {
        m_staging = CreateStagingFolder(m_out, "build", "build " + shown);
    }
    const fs::path& GetFolder() const { return m_staging; }

    // Moves the staged files, in order, over those of their names in OUT.
    void Commit(const std::vector<fs::path>& names, const std::string& shown)
    {
        std::error_code error;
        fs::create_directory(Replaced(), error);
        for (const fs::path& name : names) {
            const auto fail = [&](const std::string& why) {
                throw CCliError::Failure("build " + shown + ": cannot move '" +
                                         DiskFile::Utf8FromPath(name) + "' into place: " + why);
            };
            std::error_code absent;
            const fs::file_status target = fs::symlink_status(m_out / name, absent);
            // Only a file is replaced; a folder of that name is the user's, never moved.
            if (fs::is_directory(target))
                fail("a folder has its name");
            if (!error && fs::exists(target)) {
                fs::rename(m_out / name, Replaced() / name, error);
                if (!error)
                    m_replaced.push_back(name);
            }
            if (!error)
                fs::rename(m_staging / name, m_out / name, error);
            if (error)
                fail(error.message());
            m_moved.push_back(name);
        }
        m_committed = true;
    }

private:
    // Where the files the run replaces wait; no image name or SHA256SUMS can be its name.
    fs::path Replaced() const { return m_staging / ".replaced"; }

    fs::path m_out;
    fs::path m_staging;
    bool m_madeOut;
    bool m_committed = false;
    std::vector<fs::path> m_moved;
    std::vector<fs::path> m_replaced;
};

}  // namespace

std::string WhyNotPlainFileName(std::string_view name)
{
    if (name.empty())
        return "it is empty";
    if (name == "." || name == "..")
        return "it names a folder";
    if (name.find_first_of("/\\") != std::string_view::npos)
        return "it holds a folder separator";
    if (name.find('\0') != std::string_view::npos)
        return "it holds a NUL byte";
    if (std::any_of(name.begin(), name.end(),
                    [](char c) { return static_cast<uint8_t>(c) < 0x20 || c == 0x7F; }))
        return "it holds a control character";
    if (name.find_first_of("<>:\"|?*") != std::string_view::npos)
        return "it holds one of < > : \" | ? *, which Windows refuses";
    if (!IsUtf8(name))
        return "it is not UTF-8 text";
    if (IsWindowsDeviceName(name))
        return "Windows keeps the name for a device";
    if (name.size() + std::string_view(kImageExtension).size() > kMaxFileNameBytes)
        return "with " + std::string(kImageExtension) + " it is longer than " +
               std::to_string(kMaxFileNameBytes) + " bytes";
    return {};
}

void BuildBatch(const BatchRequest& request)
{
    const std::string where = "build " + request.table;
    const std::string manifest = DiskFile::GenericUtf8FromPath(ManifestPathOf(request.dir));
    const CCsvTable table = CCsvTable::Parse(
        std::string_view(reinterpret_cast<const char*>(request.text.data()), request.text.size()),
        where);

    LayoutParams params;
    params.folder = DiskPathOf(request.table).parent_path();
    ReadLayout(request.dir, "build " + manifest, &params);
    MatchColumns(table.GetHeader(), params.used, where, manifest);
    CheckNames(table, where);

    const fs::path out = DiskPathOf(request.outputDir);
    const bool madeOut = PrepareOutputFolder(out, request.force, "build " + request.outputDir,
                                             "--force builds into it");
    CStagedImages images(out, madeOut);
    images.Open(request.outputDir);
    std::vector<fs::path> names;
    std::string sums;
    for (const CCsvTable::Row& row : table.GetRows()) {
        std::map<std::string, std::string> fields;
        for (std::size_t i = 0; i < row.fields.size(); ++i)
            fields.emplace(table.GetHeader()[i], row.fields[i]);
        params.row = &fields;
        const std::string at = where + " line " + std::to_string(row.line) + ": " + manifest;
        const CardLayout layout = ReadLayout(request.dir, at, &params);

        const std::string name = row.fields.front() + kImageExtension;
        const fs::path file = DiskFile::PathFromUtf8(name);
        CCardSession card(images.GetFolder() / file, layout.model);
        CLayoutBuilder(card, at, request.allowRedacted).Build(layout.root);
        const std::vector<uint8_t> bytes =
            VfsArchive::SerializeImage(card.GetVfs().GetRoot(), layout.model);
        WriteOutputBytes(images.GetFolder() / file, bytes, out / file);
        sums += CSha256::Hex(bytes) + "  " + name + "\n";
        names.push_back(file);
    }
    const fs::path checksums(kChecksumsName);
    WriteOutputBytes(images.GetFolder() / checksums,
                     std::vector<uint8_t>(sums.begin(), sums.end()), out / checksums);
    names.push_back(checksums);
    images.Commit(names, request.outputDir);
}

}  // namespace RQ540::Cli
