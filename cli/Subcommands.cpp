#include "Subcommands.h"

#include "ByteFiles.h"
#include "CliError.h"
#include "LayoutBatch.h"
#include "LayoutBuild.h"
#include "LayoutDiff.h"
#include "LayoutDump.h"
#include "LayoutPlan.h"
#include "Listing.h"
#include "OptionValues.h"
#include "Sha256.h"

#include "rq540/CardModel.h"
#include "rq540/DiskFile.h"
#include "rq540/RQ540Vfs.h"
#include "rq540/VfsArchive.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <optional>

namespace RQ540::Cli {

namespace {

// Help texts quote the limits of the card model new images are made for.
std::string Limit(uint32_t value) { return std::to_string(value); }

// Positionals have no type name; texts stay as given, so that the command itself reports
// a bad number or type.
CLI::Option* AddPositional(CLI::App& command, std::string& target, const char* name,
                           const char* help)
{
    return command.add_option(name, target, help)->type_name("");
}

void AddRequired(CLI::App& command, std::string& target, const char* name, const char* help)
{
    AddPositional(command, target, name, help)->required();
}

void AddJson(CLI::App& command, bool& json)
{
    command.add_flag("--json", json, "print one JSON object instead of text");
}

CLI::Option* AddOptionalText(CLI::App& command, const char* name, const char* valueName,
                             std::optional<std::string>& target, const std::string& help)
{
    return command
        .add_option_function<std::string>(
            name, [&target](const std::string& value) { target = value; }, help)
        ->type_name(valueName);
}

// Passwords typed as texts, or given as the exact bytes of their fields in hexadecimal.
struct PasswordOptions {
    CCardSession::Passwords text;
    std::optional<std::string> userHex;
    std::optional<std::string> developerHex;

    bool Any() const { return text.user || text.developer || userHex || developerHex; }
};

// --user-password, --developer-password and their -hex forms, each form excluding the
// other; keeps says what an omitted password means.
void AddPasswords(CLI::App& command, PasswordOptions& passwords, const char* keeps)
{
    const std::string stored = " (its bytes in a zero-filled field, cut at ";
    const std::string exact = " as the exact bytes of its field in hexadecimal, NUL bytes "
                              "included (zero-filled, at most ";
    const std::string user = Limit(GetUserPasswordLength(NEW_CARD_MODEL));
    const std::string developer = Limit(GetDeveloperPasswordLength(NEW_CARD_MODEL));
    CLI::Option* userText = AddOptionalText(command, "--user-password", "TEXT", passwords.text.user,
                                            "user password" + stored + user + " bytes); " + keeps);
    CLI::Option* developerText =
        AddOptionalText(command, "--developer-password", "TEXT", passwords.text.developer,
                        "developer password" + stored + developer + " bytes); " + keeps);
    AddOptionalText(command, "--user-password-hex", "HEX", passwords.userHex,
                    "user password" + exact + user + " bytes)")
        ->excludes(userText);
    AddOptionalText(command, "--developer-password-hex", "HEX", passwords.developerHex,
                    "developer password" + exact + developer + " bytes)")
        ->excludes(developerText);
}

// A password given in hexadecimal as the bytes it stores; longer than the field is refused,
// since those bytes could not all be stored.
std::optional<std::string> HexPassword(const std::optional<std::string>& hex, const char* option,
                                       uint32_t length)
{
    if (!hex)
        return std::nullopt;
    const std::vector<uint8_t> bytes = RequireHexBytes(*hex, option);
    if (bytes.size() > length)
        throw CCliError::Usage(std::string(option) + ": " +
                               Limit(static_cast<uint32_t>(bytes.size())) +
                               " bytes, but the field holds " + Limit(length));
    return std::string(bytes.begin(), bytes.end());
}

// The passwords as the card session takes them, for the card of vfs.
CCardSession::Passwords TakePasswords(const PasswordOptions& options, const CVirtualFileSystem& vfs)
{
    CCardSession::Passwords passwords = options.text;
    if (options.userHex)
        passwords.user =
            HexPassword(options.userHex, "--user-password-hex", vfs.GetUserPasswordLength());
    if (options.developerHex)
        passwords.developer = HexPassword(options.developerHex, "--developer-password-hex",
                                          vfs.GetDeveloperPasswordLength());
    return passwords;
}

// The bytes --from names or --hex gives, at most limit of them; with whole, more is refused.
std::vector<uint8_t> TakeBytes(CCommandRun& run, const std::optional<std::string>& from,
                               const std::optional<std::string>& hex, uint64_t limit, bool whole)
{
    if (from)
        return run.ReadInput(*from, limit, whole);
    std::vector<uint8_t> bytes = RequireHexBytes(hex.value_or(""), "--hex");
    if (bytes.size() > limit) {
        if (whole)
            throw CCliError::Usage("--hex: " + Limit(static_cast<uint32_t>(bytes.size())) +
                                   " bytes, more than the card holds");
        bytes.resize(limit);
    }
    return bytes;
}

std::string Operation(const char* command, const CCardPath& path)
{
    return std::string(command) + " " + path.ToString();
}

void WriteBytes(std::ostream& out, const std::vector<uint8_t>& bytes)
{
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The SHA-256 of the image file as it lies on disk, as sha256sum gives it; nothing when it
// cannot be read.
std::optional<std::string> ImageFileSha256(const std::filesystem::path& image)
{
    std::vector<uint8_t> bytes;
    // No image is longer than a file the card's size fields can describe.
    if (DiskFile::ReadBounded(image, std::numeric_limits<uint32_t>::max(), bytes) !=
        DiskFile::FileProblem::NONE)
        return std::nullopt;
    return CSha256::Hex(bytes);
}

// The SHA-256 info reports: of the image file from the shell; on a batch line, of the
// card as the batch would write it were the script to end there.
std::string InfoSha256(CCommandRun& run)
{
    const CVirtualFileSystem& vfs = run.Card().GetVfs();
    if (run.IsScriptLine())
        return CSha256::Hex(VfsArchive::SerializeImage(vfs.GetRoot(), vfs.GetModel()));
    const std::optional<std::string> sha = ImageFileSha256(DiskPathOf(run.GetImageName()));
    if (!sha)
        throw CCliError::Failure("info: cannot read " + run.GetImageName() + " again");
    return *sha;
}

void WriteSha256(std::ostream& out, const std::string& sha)
{
    out << "sha256          " << sha << '\n';
}

struct NoOptions {};

struct FolderOptions {
    std::string folder = "/";
    bool json = false;
};

struct JsonOptions {
    bool json = false;
};

struct MakeFolderOptions {
    std::string path;
    std::optional<std::string> size;
    PasswordOptions passwords;
};

struct AddOptions {
    std::string path;
    std::optional<std::string> type;
    std::optional<std::string> size;
    std::optional<std::string> from;
    std::optional<std::string> hex;
};

struct WriteOptions {
    std::string path;
    std::optional<std::string> from;
    std::optional<std::string> hex;
    std::optional<std::string> offset;
};

struct PathOptions {
    std::string path;
};

struct ExportOptions {
    std::string path;
    std::string file;
};

struct CopyOptions {
    std::string source;
    std::string destination;
};

struct PasswdOptions {
    std::string folder;
    PasswordOptions passwords;
};

struct CheckOptions {
    std::string image;
    bool json = false;
};

struct BatchOptions {
    std::string script;
    std::vector<std::string> lines;  // read before the image is locked
};

struct DumpFolderOptions {
    std::string dir;
    bool redactPasswords = false;
    bool force = false;
};

struct BuildOptions {
    std::string dir;
    bool allowRedacted = false;
    std::optional<std::string> params;     // a table: one image per row into outputDir
    std::optional<std::string> outputDir;
    std::string where;   // "build DIR/card.json", which begins every refusal
    CardLayout layout;   // read before the image is locked
    std::vector<uint8_t> table;  // the bytes of params, read with the layout
};

// A table of parameters far beyond any batch of keys is not read into memory.
constexpr uint64_t kMaxTableBytes = 64 * 1024 * 1024;

struct DiffOptions {
    std::string a;
    std::string b;
    bool json = false;
};

ExitStatus Check(CCommandRun& run, const CheckOptions& options)
{
    CRQ540Vfs vfs;
    const int32_t result = vfs.LoadImage(DiskPathOf(options.image));
    // A verdict names the bytes it is about, when they can be read.
    const std::optional<std::string> sha = ImageFileSha256(DiskPathOf(options.image));
    if (result == RESULT_SUCCESS) {
        FolderUsage usage;
        vfs.GetFolderUsage(vfs.GetRoot(), usage);
        if (options.json) {
            WriteJson(run.Out(), {{"valid", true},
                                  {"model", vfs.GetModel()},
                                  {"usage", UsageToJson(usage)},
                                  {"sha256", sha.value_or("")}});
        } else {
            run.Out() << "valid image of card model " << vfs.GetModel() << '\n';
            WriteUsage(run.Out(), usage);
            WriteSha256(run.Out(), sha.value_or(""));
        }
        return STATUS_SUCCESS;
    }

    // The reader locates what it found only for an image it rejects as malformed.
    const bool malformed = vfs.GetLastDetail() == DETAIL_INVALID_FORMAT;
    if (options.json) {
        nlohmann::ordered_json verdict{{"valid", false},
                                       {"result", result},
                                       {"detail", vfs.GetLastDetail()},
                                       {"message", vfs.GetErrorText(result)}};
        if (malformed)
            verdict["diagnostic"] = DiagnosticToJson(vfs.GetLastImageDiagnostic());
        if (sha)
            verdict["sha256"] = *sha;
        WriteJson(run.Out(), verdict);
    } else {
        WriteReport(run.Err(), CCliError::FormatRefusal(
                                   CCliError::FileOperation("check " + options.image, vfs), vfs,
                                   result));
        if (malformed)
            WriteDiagnostic(run.Err(), vfs.GetLastImageDiagnostic());
    }
    return STATUS_FAILURE;
}

}  // namespace

std::span<const CommandUnit> GetSubcommands()
{
    static const std::string newSummary =
        "write a fresh card image (card model " + Limit(NEW_CARD_MODEL) + ")";
    static const CommandUnit units[] = {
        {
            .name = "new",
            .summary = newSummary.c_str(),
            .image = ImageUse::CREATES,
            // The fresh card as the runner makes and saves it is the whole result.
            .body = Body<NoOptions>({}),
        },
        {
            .name = "ls",
            .summary = "list a folder's entries, head of its list first: ID, type, size, free space",
            .image = ImageUse::READS,
            .batchLine = true,
            .body = Body<FolderOptions>({
                .declare = [](CLI::App& command, FolderOptions& options) {
                    AddPositional(command, options.folder, "FOLDER", "folder to list (default: the root)");
                    AddJson(command, options.json);
                },
                .work = [](CCommandRun& run, const FolderOptions& options) {
                    const CCardPath folder = ParseCardPath(options.folder);
                    CCardSession& card = run.Card();
                    const CFolderHeader* entered = card.EnterFolder(folder, Operation("ls", folder));
                    if (options.json)
                        WriteJson(run.Out(), EntriesToJson(card.GetVfs(), entered, folder));
                    else
                        WriteEntries(run.Out(), card.GetVfs(), entered);
                    return STATUS_SUCCESS;
                },
            }),
        },
        {
            .name = "tree",
            .summary = "list the whole card, indented",
            .image = ImageUse::READS,
            .batchLine = true,
            .body = Body<JsonOptions>({
                .declare = [](CLI::App& command, JsonOptions& options) { AddJson(command, options.json); },
                .work = [](CCommandRun& run, const JsonOptions& options) {
                    if (options.json)
                        WriteJson(run.Out(), TreeToJson(run.Card().GetVfs()));
                    else
                        WriteTree(run.Out(), run.Card().GetVfs());
                    return STATUS_SUCCESS;
                },
            }),
        },
        {
            .name = "info",
            .summary = "a folder's usage totals and the image's SHA-256 (on a batch line, of the "
                       "card as the batch would write it there)",
            .image = ImageUse::READS,
            .batchLine = true,
            .body = Body<FolderOptions>({
                .declare = [](CLI::App& command, FolderOptions& options) {
                    AddPositional(command, options.folder, "FOLDER", "folder to sum up (default: the root)");
                    AddJson(command, options.json);
                },
                .work = [](CCommandRun& run, const FolderOptions& options) {
                    const CCardPath folder = ParseCardPath(options.folder);
                    CCardSession& card = run.Card();
                    const FolderUsage usage =
                        card.GetUsage(card.EnterFolder(folder, Operation("info", folder)));
                    const std::string sha = InfoSha256(run);
                    if (options.json) {
                        nlohmann::ordered_json json = UsageToJson(usage);
                        json["path"] = folder.ToString();
                        json["sha256"] = sha;
                        WriteJson(run.Out(), json);
                    } else {
                        WriteUsage(run.Out(), usage);
                        WriteSha256(run.Out(), sha);
                    }
                    return STATUS_SUCCESS;
                },
            }),
        },
        {
            .name = "mkdir",
            .summary = "create a folder",
            .image = ImageUse::CHANGES,
            .batchLine = true,
            .body = Body<MakeFolderOptions>({
                .declare = [](CLI::App& command, MakeFolderOptions& options) {
                    AddRequired(command, options.path, "PATH", "the new folder");
                    AddOptionalText(command, "--size", "N", options.size,
                                    "bytes the folder takes from its parent, its own " +
                                        Limit(GetFolderHeaderCost(NEW_CARD_MODEL)) +
                                        "-byte header included")
                        ->required();
                    AddPasswords(command, options.passwords, "default if omitted");
                },
                .work = [](CCommandRun& run, const MakeFolderOptions& options) {
                    const CCardPath path = ParseEntryPath(options.path);
                    const uint32_t size = RequireUint32(options.size.value_or(""), "--size");
                    CCardSession& card = run.Card();
                    card.MakeFolder(path, size, TakePasswords(options.passwords, card.GetVfs()),
                                    Operation("mkdir", path));
                    return STATUS_SUCCESS;
                },
            }),
        },
        {
            .name = "add",
            .summary = "create a file and fill it from a disk file or hexadecimal bytes",
            .image = ImageUse::CHANGES,
            .batchLine = true,
            .body = Body<AddOptions>({
                .declare = [](CLI::App& command, AddOptions& options) {
                    AddRequired(command, options.path, "PATH", "the new file");
                    AddOptionalText(command, "--type", "T", options.type,
                                    "file type: exec, data, public-key, private-key, "
                                    "internal-exec, or a number from 0 to 255")
                        ->required();
                    AddOptionalText(command, "--size", "N", options.size,
                                    "file size in bytes (default: the length of the bytes given); "
                                    "fewer bytes leave zeros, more are cut");
                    CLI::Option* from = AddOptionalText(
                        command, "--from", "FILE", options.from,
                        "disk file whose bytes fill the file; '-' reads standard input");
                    AddOptionalText(command, "--hex", "HEX", options.hex,
                                    "the bytes that fill the file, as pairs of hexadecimal digits")
                        ->excludes(from);
                },
                .work = [](CCommandRun& run, const AddOptions& options) {
                    const CCardPath path = ParseEntryPath(options.path);
                    const uint8_t type = RequireFileType(options.type.value_or(""));
                    std::optional<uint32_t> size;
                    if (options.size)
                        size = RequireUint32(*options.size, "--size");
                    if (!size && !options.from && !options.hex)
                        throw CCliError::Usage("add: give --size, --from, --hex, or --size with "
                                               "one of the others");

                    // With a size, a longer input is cut there; without one, the input's
                    // length is the size. Either way no more is read than the card can hold.
                    CCardSession& card = run.Card();
                    const uint64_t capacity = GetCapacity(card.GetVfs().GetModel());
                    std::vector<uint8_t> bytes;
                    if (options.from || options.hex)
                        bytes = TakeBytes(run, options.from, options.hex,
                                          size ? std::min<uint64_t>(*size, capacity) : capacity,
                                          !size);
                    card.AddFile(path, type, size.value_or(static_cast<uint32_t>(bytes.size())),
                                 bytes, Operation("add", path));
                    return STATUS_SUCCESS;
                },
            }),
        },
        {
            .name = "write",
            .summary = "overwrite part of a file from a disk file or hexadecimal bytes",
            .image = ImageUse::CHANGES,
            .batchLine = true,
            .body = Body<WriteOptions>({
                .declare = [](CLI::App& command, WriteOptions& options) {
                    AddRequired(command, options.path, "PATH",
                                "the file to overwrite; its size never changes");
                    CLI::Option* from = AddOptionalText(
                        command, "--from", "FILE", options.from,
                        "disk file with the new bytes; '-' reads standard input");
                    AddOptionalText(command, "--hex", "HEX", options.hex,
                                    "the new bytes as pairs of hexadecimal digits")
                        ->excludes(from);
                    AddOptionalText(command, "--offset", "N", options.offset,
                                    "where the new bytes start in the file (default: 0)");
                },
                .work = [](CCommandRun& run, const WriteOptions& options) {
                    const CCardPath path = ParseEntryPath(options.path);
                    const uint32_t offset =
                        options.offset ? RequireUint32(*options.offset, "--offset") : 0;
                    if (!options.from && !options.hex)
                        throw CCliError::Usage("write: give --from or --hex");
                    CCardSession& card = run.Card();
                    const std::vector<uint8_t> bytes =
                        TakeBytes(run, options.from, options.hex,
                                  GetCapacity(card.GetVfs().GetModel()), true);
                    card.WriteFile(path, offset, bytes, Operation("write", path));
                    return STATUS_SUCCESS;
                },
            }),
        },
        {
            .name = "cat",
            .summary = "print a file's bytes",
            .image = ImageUse::READS,
            .batchLine = true,
            .body = Body<PathOptions>({
                .declare = [](CLI::App& command, PathOptions& options) {
                    AddRequired(command, options.path, "PATH", "the file to print");
                },
                .work = [](CCommandRun& run, const PathOptions& options) {
                    const CCardPath path = ParseEntryPath(options.path);
                    WriteBytes(run.Out(), run.Card().ReadFile(path, Operation("cat", path)));
                    return STATUS_SUCCESS;
                },
            }),
        },
        {
            .name = "export",
            .summary = "copy a file's bytes to a disk file",
            .image = ImageUse::READS,
            .batchLine = true,
            .body = Body<ExportOptions>({
                .declare = [](CLI::App& command, ExportOptions& options) {
                    AddRequired(command, options.path, "PATH", "the file to export");
                    AddRequired(command, options.file, "FILE",
                                "disk file to create or replace; '-' writes standard output");
                },
                .work = [](CCommandRun& run, const ExportOptions& options) {
                    const CCardPath path = ParseEntryPath(options.path);
                    const std::vector<uint8_t> bytes =
                        run.Card().ReadFile(path, Operation("export", path));
                    // "-" is standard output, as for cat.
                    if (options.file == "-")
                        WriteBytes(run.Out(), bytes);
                    else
                        WriteOutputBytes(DiskPathOf(options.file), bytes);
                    return STATUS_SUCCESS;
                },
            }),
        },
        {
            .name = "rm",
            .summary = "delete a file, or a folder with its whole subtree",
            .image = ImageUse::CHANGES,
            .batchLine = true,
            .body = Body<PathOptions>({
                .declare = [](CLI::App& command, PathOptions& options) {
                    AddRequired(command, options.path, "PATH",
                                "the file, or the folder with its whole subtree");
                },
                .work = [](CCommandRun& run, const PathOptions& options) {
                    const CCardPath path = ParseEntryPath(options.path);
                    run.Card().Remove(path, Operation("rm", path));
                    return STATUS_SUCCESS;
                },
            }),
        },
        {
            .name = "cp",
            .summary = "paste a deep copy of a file or folder into a folder",
            .image = ImageUse::CHANGES,
            .batchLine = true,
            .body = Body<CopyOptions>({
                .declare = [](CLI::App& command, CopyOptions& options) {
                    AddRequired(command, options.source, "SOURCE", "the file or folder to copy");
                    AddRequired(command, options.destination, "DEST_FOLDER",
                                "the folder that receives the copy");
                },
                .work = [](CCommandRun& run, const CopyOptions& options) {
                    const CCardPath source = ParseCardPath(options.source);
                    const CCardPath destination = ParseCardPath(options.destination);
                    run.Card().Copy(source, destination,
                                    "cp " + source.ToString() + " " + destination.ToString());
                    return STATUS_SUCCESS;
                },
            }),
        },
        {
            .name = "passwd",
            .summary = "set a folder's passwords",
            .image = ImageUse::CHANGES,
            .batchLine = true,
            .body = Body<PasswdOptions>({
                .declare = [](CLI::App& command, PasswdOptions& options) {
                    AddRequired(command, options.folder, "FOLDER",
                                "the folder, the root ('/') included");
                    AddPasswords(command, options.passwords, "unchanged if omitted");
                },
                .work = [](CCommandRun& run, const PasswdOptions& options) {
                    const CCardPath folder = ParseCardPath(options.folder);
                    if (!options.passwords.Any())
                        throw CCliError::Usage("passwd: give a user password, a developer "
                                               "password or both");
                    CCardSession& card = run.Card();
                    card.SetPasswords(folder, TakePasswords(options.passwords, card.GetVfs()),
                                      Operation("passwd", folder));
                    return STATUS_SUCCESS;
                },
            }),
        },
        {
            .name = "format",
            .summary = "erase the whole card to a fresh root",
            .image = ImageUse::CHANGES,
            .batchLine = true,
            .body = Body<NoOptions>({
                .work = [](CCommandRun& run, const NoOptions&) {
                    run.Card().Format();
                    return STATUS_SUCCESS;
                },
            }),
        },
        {
            .name = "check",
            .summary = "validate an image and show where a malformed one goes wrong; a valid "
                       "one's usage and SHA-256",
            // The image is read here, so that a malformed one can be diagnosed.
            .image = ImageUse::NONE,
            .body = Body<CheckOptions>({
                .declare = [](CLI::App& command, CheckOptions& options) {
                    AddRequired(command, options.image, "IMAGE", kImageHelp);
                    AddJson(command, options.json);
                },
                .work = Check,
            }),
        },
        {
            .name = "batch",
            .summary = "run a script of commands against one loaded image; write it once, only "
                       "if every line succeeded",
            .image = ImageUse::CHANGES_OR_CREATES,
            .body = Body<BatchOptions>({
                .declare = [](CLI::App& command, BatchOptions& options) {
                    AddPositional(command, options.script, "SCRIPT",
                                  "one command per line, without IMAGE; '#' starts a comment "
                                  "(default: standard input)");
                },
                .read = [](CCommandRun& run, BatchOptions& options) {
                    options.lines = run.ReadScript(options.script);
                },
                .work = [](CCommandRun& run, const BatchOptions& options) {
                    return run.RunScript(options.lines);
                },
            }),
        },
        {
            .name = "dump",
            .summary = "write the card's layout as reviewable text: DIR/card.json and a payload "
                       "file per card file",
            .image = ImageUse::READS,
            .body = Body<DumpFolderOptions>({
                .declare = [](CLI::App& command, DumpFolderOptions& options) {
                    AddRequired(command, options.dir, "DIR",
                                "folder for card.json and files/; created if absent, refused if "
                                "not empty; '-' writes one JSON document with the bytes inline "
                                "to standard output");
                    command.add_flag("--redact-passwords", options.redactPasswords,
                                     "write {\"redacted\": true} instead of each password's bytes");
                    command.add_flag("--force", options.force,
                                     "dump into a folder that is not empty, replacing its "
                                     "card.json and files/");
                },
                .work = [](CCommandRun& run, const DumpFolderOptions& options) {
                    const DumpOptions dump{.redactPasswords = options.redactPasswords,
                                           .force = options.force};
                    const std::string operation = "dump " + run.GetImageName() + " " + options.dir;
                    if (options.dir == "-")
                        DumpLayoutAsOneFile(run.Card().GetVfs(), run.Out(), dump, operation);
                    else
                        DumpLayout(run.Card().GetVfs(), DiskPathOf(options.dir), dump, operation);
                    return STATUS_SUCCESS;
                },
            }),
        },
        {
            .name = "build",
            .summary = "rebuild an image from a dump folder through the card's own operations, "
                       "every card rule applying",
            .image = ImageUse::CREATES,
            .imageName = "OUT",
            .imageHelp = "image file to create or replace",
            .imageLast = true,
            .imageOption = "--output-dir",
            .body = Body<BuildOptions>({
                .declare = [](CLI::App& command, BuildOptions& options) {
                    AddRequired(command, options.dir, "DIR",
                                "dump folder holding card.json, or a one-file manifest; '-' "
                                "reads one from standard input");
                    command.add_flag("--allow-redacted", options.allowRedacted,
                                     "store redacted passwords as zeros instead of refusing them");
                    CLI::Option* params = AddOptionalText(
                        command, "--params", "TABLE", options.params,
                        "CSV table with a header row: one image per row, its {\"param\": "
                        "\"NAME\"} values from the row's columns, named by the first column; "
                        "payload files relative to the table's folder");
                    CLI::Option* outputDir = AddOptionalText(
                        command, "--output-dir", "FOLDER", options.outputDir,
                        "with --params, instead of OUT: the folder for NAME.rqfs of every row "
                        "and SHA256SUMS; refused if not empty, unless --force");
                    params->needs(outputDir);
                    outputDir->needs(params);
                },
                .read = [](CCommandRun& run, BuildOptions& options) {
                    const std::filesystem::path dir = DiskPathOf(options.dir);
                    options.where = "build " + DiskFile::GenericUtf8FromPath(ManifestPathOf(dir));
                    // A template is read once per row, when the table has been checked.
                    if (!options.params) {
                        options.layout = ReadLayout(dir, options.where);
                        return;
                    }
                    if (options.dir == "-")
                        throw CCliError::Usage("build -: a template is read once per row of "
                                               "--params; give its folder or file");
                    options.table = run.ReadInput(*options.params, kMaxTableBytes, true);
                },
                .work = [](CCommandRun& run, const BuildOptions& options) {
                    if (options.params) {
                        BuildBatch({.dir = DiskPathOf(options.dir),
                                    .table = *options.params,
                                    .text = options.table,
                                    .outputDir = options.outputDir.value_or(""),
                                    .force = run.IsForced(),
                                    .allowRedacted = options.allowRedacted});
                        return STATUS_SUCCESS;
                    }
                    CLayoutBuilder(run.FreshCard(options.layout.model), options.where,
                                   options.allowRedacted)
                        .Build(options.layout.root);
                    return STATUS_SUCCESS;
                },
            }),
        },
        {
            .name = "diff",
            .summary = "compare two cards, each an image, a dump folder or a one-file manifest; "
                       "exit 0 the same, 1 different, 2 trouble",
            .image = ImageUse::NONE,
            // Every failure is trouble here, whatever status it ends other commands with.
            .failureStatus = STATUS_USAGE,
            .body = Body<DiffOptions>({
                .declare = [](CLI::App& command, DiffOptions& options) {
                    AddRequired(command, options.a, "A", "image file, dump folder or one-file manifest");
                    AddRequired(command, options.b, "B", "image file, dump folder or one-file manifest");
                    AddJson(command, options.json);
                },
                .work = [](CCommandRun& run, const DiffOptions& options) {
                    return PrintDiff(DiskPathOf(options.a), DiskPathOf(options.b), options.json,
                                     run.Out());
                },
            }),
        },
        {
            .name = "plan",
            .summary = "write the batch script that turns one card into another (each an image, "
                       "a dump folder or a one-file manifest), writing only what differs",
            .image = ImageUse::NONE,
            .body = Body<PlanRequest>({
                .declare = [](CLI::App& command, PlanRequest& options) {
                    AddRequired(command, options.from, "OLD",
                                "image file, dump folder or one-file manifest the script is "
                                "applied to");
                    AddRequired(command, options.to, "NEW",
                                "image file, dump folder or one-file manifest the script makes "
                                "of OLD");
                    // One path per --keep, so that OLD and NEW may follow it.
                    command
                        .add_option("--keep", options.keep,
                                    "an entry that, with everything in it, is never deleted, "
                                    "written or given passwords; a NEW that needs that is "
                                    "refused (repeatable)")
                        ->type_name("PATH")
                        ->allow_extra_args(false);
                    AddOptionalText(command, "--output", "FILE", options.output,
                                    "write the plan to FILE instead of standard output");
                    command.add_flag("--json", options.json,
                                     "print the plan as one JSON object of operations instead of "
                                     "a script");
                },
                .work = [](CCommandRun& run, const PlanRequest& options) {
                    return PrintPlan(options, run.Out());
                },
            }),
        },
    };
    return units;
}

const CommandUnit* FindSubcommand(std::string_view name)
{
    const auto units = GetSubcommands();
    const auto found = std::find_if(units.begin(), units.end(),
                                    [name](const CommandUnit& unit) { return name == unit.name; });
    return found == units.end() ? nullptr : &*found;
}

}  // namespace RQ540::Cli
