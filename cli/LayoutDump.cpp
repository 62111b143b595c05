#include "LayoutDump.h"

#include "ByteFiles.h"
#include "CliError.h"
#include "LayoutManifest.h"
#include "Listing.h"

#include "rq540/CardModel.h"
#include "rq540/DiskFile.h"
#include "rq540/HexDigits.h"

#include <sstream>
#include <system_error>

namespace RQ540::Cli {

namespace {

namespace fs = std::filesystem;

void Redact(LayoutEntry& folder)
{
    folder.userPassword = {LayoutPassword::Source::REDACTED, {}};
    folder.developerPassword = {LayoutPassword::Source::REDACTED, {}};
    for (LayoutEntry& child : folder.children) {
        if (child.folder)
            Redact(child);
    }
}

// An absent folder is created; an empty one is used as it is; one that is not empty only
// with force, which removes what an earlier dump left there and nothing else.
void PrepareFolder(const fs::path& dir, bool force, const std::string& operation)
{
    std::error_code error;
    const fs::file_status status = fs::status(dir, error);
    if (!fs::exists(status)) {
        if (!fs::create_directories(dir, error) && error)
            throw CCliError::Failure(operation + ": cannot create the folder: " + error.message());
        return;
    }
    if (!fs::is_directory(status))
        throw CCliError::Failure(operation + ": not a folder");
    const bool empty = fs::is_empty(dir, error);
    if (error)
        throw CCliError::Failure(operation + ": cannot read the folder: " + error.message());
    if (empty)
        return;
    if (!force)
        throw CCliError::Failure(operation +
                                 ": the folder is not empty; --force replaces its card.json "
                                 "and files/");
    fs::remove(dir / kManifestName, error);
    if (!error)
        fs::remove_all(dir / "files", error);
    if (error)
        throw CCliError::Failure(operation + ": cannot clear the earlier dump: " + error.message());
}

void WritePayloads(const fs::path& dir, const LayoutEntry& folder, const CCardPath& path,
                   const std::string& operation)
{
    for (const LayoutEntry& child : folder.children) {
        const CCardPath childPath = path.GetChild(child.id);
        if (child.folder) {
            WritePayloads(dir, child, childPath, operation);
        } else if (HasPayload(child)) {
            const fs::path file = dir / PayloadPath(childPath);
            std::error_code error;
            fs::create_directories(file.parent_path(), error);
            if (error)
                throw CCliError::Failure(operation + ": cannot create '" +
                                         DiskFile::Utf8FromPath(file.parent_path()) + "': " + error.message());
            WriteOutputBytes(file, child.data);
        }
    }
}

}  // namespace

void DumpLayout(const CVirtualFileSystem& vfs, const fs::path& dir, const DumpOptions& options,
                const std::string& operation)
{
    if (vfs.GetRoot()->GetId() != ROOT_FOLDER_ID)
        throw CCliError::Failure(operation + ": the root folder's ID is " +
                                 FormatId(vfs.GetRoot()->GetId()) +
                                 ", not " + FormatId(ROOT_FOLDER_ID) +
                                 "; the card's operations cannot rebuild it");
    CardLayout layout = LayoutFromCard(vfs);
    if (options.redactPasswords)
        Redact(layout.root);

    PrepareFolder(dir, options.force, operation);
    WritePayloads(dir, layout.root, CCardPath(), operation);
    std::ostringstream text;
    WriteJson(text, LayoutToJson(layout));
    const std::string manifest = text.str();
    WriteOutputBytes(dir / kManifestName, {reinterpret_cast<const uint8_t*>(manifest.data()),
                                           manifest.size()});
}

}  // namespace RQ540::Cli
