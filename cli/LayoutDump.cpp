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

// Writes the payload files under staging; a failure names the file as it would stand in
// dir.
void WritePayloads(const fs::path& staging, const fs::path& dir, const LayoutEntry& folder,
                   const CCardPath& path, const std::string& operation)
{
    for (const LayoutEntry& child : folder.children) {
        const CCardPath childPath = path.GetChild(child.id);
        if (child.folder) {
            WritePayloads(staging, dir, child, childPath, operation);
        } else if (HasPayload(child)) {
            const fs::path file = staging / PayloadPath(childPath);
            std::error_code error;
            fs::create_directories(file.parent_path(), error);
            if (error)
                throw CCliError::Failure(operation + ": cannot create '" +
                                         DiskFile::Utf8FromPath((dir / PayloadPath(childPath)).parent_path()) +
                                         "': " + error.message());
            WriteOutputBytes(file, child.data, dir / PayloadPath(childPath));
        }
    }
}

// Moves the finished dump from staging into dir, in place of an earlier dump's.
void PutInPlace(const fs::path& staging, const fs::path& dir, const std::string& operation)
{
    std::error_code error;
    fs::remove(dir / kManifestName, error);
    if (!error)
        fs::remove_all(dir / "files", error);
    if (error)
        throw CCliError::Failure(operation + ": cannot clear the earlier dump: " + error.message());
    if (fs::exists(staging / "files", error))
        fs::rename(staging / "files", dir / "files", error);
    if (!error)
        fs::rename(staging / kManifestName, dir / kManifestName, error);
    if (error)
        throw CCliError::Failure(operation + ": cannot move the dump into place: " + error.message());
}

// The layout a dump writes. A root whose ID is not the card's root ID is refused: the
// card's operations could not rebuild it.
CardLayout DumpedLayout(const CVirtualFileSystem& vfs, const DumpOptions& options,
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
    return layout;
}

}  // namespace

void DumpLayout(const CVirtualFileSystem& vfs, const fs::path& dir, const DumpOptions& options,
                const std::string& operation)
{
    const CardLayout layout = DumpedLayout(vfs, options, operation);
    std::ostringstream text;
    WriteJson(text, LayoutToJson(layout, PayloadForm::FILES));
    const std::string manifest = text.str();

    // The dump is written whole into a folder of its own inside dir and moved into place
    // only then, so that a dump that fails (on a full disk) leaves dir as it was.
    const bool created = PrepareOutputFolder(dir, options.force, operation,
                                             "--force replaces its card.json and files/");
    fs::path staging;
    try {
        staging = CreateStagingFolder(dir, "dump", operation);
        WritePayloads(staging, dir, layout.root, CCardPath(), operation);
        WriteOutputBytes(staging / kManifestName,
                         {reinterpret_cast<const uint8_t*>(manifest.data()), manifest.size()},
                         dir / kManifestName);
        PutInPlace(staging, dir, operation);
    } catch (...) {
        std::error_code error;
        if (!staging.empty())
            fs::remove_all(staging, error);
        if (created)
            fs::remove(dir, error);
        throw;
    }
    std::error_code error;
    fs::remove(staging, error);
}

void DumpLayoutAsOneFile(const CVirtualFileSystem& vfs, std::ostream& out,
                         const DumpOptions& options, const std::string& operation)
{
    WriteJson(out, LayoutToJson(DumpedLayout(vfs, options, operation), PayloadForm::INLINE));
}

}  // namespace RQ540::Cli
