#include "Commands.h"

#include "ByteFiles.h"
#include "CliError.h"
#include "Listing.h"
#include "OptionValues.h"

#include "rq540/DiskFile.h"
#include "rq540/RQ540Vfs.h"

#include <algorithm>
#include <system_error>

namespace RQ540::Cli {

namespace {


std::string Operation(const char* command, const CCardPath& path)
{
    return std::string(command) + " " + path.ToString();
}

// A path that names an entry, which the root is not.
CCardPath EntryPath(const std::string& text)
{
    CCardPath path = ParseCardPath(text);
    if (path.IsRoot())
        throw CCliError::Usage("'" + text + "' is the root folder; name an entry below it");
    return path;
}

uint32_t RequireUint32(const std::string& text, const char* option)
{
    const std::optional<uint32_t> value = ParseUint32(text);
    if (!value)
        throw CCliError::Usage(std::string(option) + ": '" + text +
                               "' is not a whole number from 0 to 4294967295");
    return *value;
}

uint8_t RequireFileType(const std::string& text)
{
    const std::optional<uint8_t> type = ParseFileType(text);
    if (!type)
        throw CCliError::Usage("--type: '" + text +
                               "' is neither a type name (exec, data, public-key, private-key, "
                               "internal-exec) nor a number from 0 to 255");
    return *type;
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

void WriteDiagnostic(std::ostream& err, const VfsArchive::ImageDiagnostic& diagnostic)
{
    err << "  rule:     " << diagnostic.rule << '\n'
        << "  problem:  " << diagnostic.message << '\n'
        << "  offset:   " << diagnostic.offset << '\n'
        << "  record:   " << diagnostic.path << '\n';
    if (diagnostic.expected != 0 || diagnostic.actual != 0) {
        err << "  expected: " << diagnostic.expected << '\n'
            << "  actual:   " << diagnostic.actual << '\n';
    }
}

}  // namespace

CCommands::CCommands(std::istream& in, std::ostream& out, std::ostream& err)
    : m_in(in), m_out(out), m_err(err)
{
}

std::vector<uint8_t> CCommands::ReadInput(const std::string& name, uint64_t limit,
                                          bool whole) const
{
    if (name == "-" && m_standardInputTaken)
        throw CCliError::Usage("--from -: standard input already carries the batch script");
    return ReadInputBytes(name, m_in, limit, whole);
}

CCardSession CCommands::NewCard(const CommandArguments& args)
{
    std::error_code error;
    const std::filesystem::path image = DiskPathOf(args.image);
    if (!args.force && std::filesystem::exists(image, error))
        throw CCliError::Failure("new " + args.image +
                                 ": the file already exists; --force replaces it");
    return CCardSession(image, NEW_CARD_MODEL);
}

void CCommands::New(const CommandArguments& args) { NewCard(args).Save(); }

int CCommands::Check(const CommandArguments& args)
{
    CRQ540Vfs vfs;
    const int32_t result = vfs.LoadImage(DiskPathOf(args.image));
    if (result == RESULT_SUCCESS) {
        FolderUsage usage;
        vfs.GetFolderUsage(vfs.GetRoot(), usage);
        if (args.json) {
            WriteJson(m_out,
                      {{"valid", true}, {"model", vfs.GetModel()}, {"usage", UsageToJson(usage)}});
        } else {
            m_out << "valid image of card model " << vfs.GetModel() << '\n';
            WriteUsage(m_out, usage);
        }
        return STATUS_SUCCESS;
    }

    // The reader locates what it found only for an image it rejects as malformed.
    const bool malformed = vfs.GetLastDetail() == DETAIL_INVALID_FORMAT;
    if (args.json) {
        nlohmann::ordered_json verdict{{"valid", false},
                               {"result", result},
                               {"detail", vfs.GetLastDetail()},
                               {"message", vfs.GetErrorText(result)}};
        if (malformed)
            verdict["diagnostic"] = DiagnosticToJson(vfs.GetLastImageDiagnostic());
        WriteJson(m_out, verdict);
    } else {
        WriteReport(m_err, CCliError::FormatRefusal(CCliError::FileOperation("check " + args.image, vfs),
                                                    vfs, result));
        if (malformed)
            WriteDiagnostic(m_err, vfs.GetLastImageDiagnostic());
    }
    return STATUS_FAILURE;
}

void CCommands::List(CCardSession& session, const CommandArguments& args)
{
    const CCardPath folder = ParseCardPath(args.folder);
    const CFolderHeader* entered = session.EnterFolder(folder, Operation("ls", folder));
    if (args.json)
        WriteJson(m_out, EntriesToJson(session.GetVfs(), entered, folder));
    else
        WriteEntries(m_out, session.GetVfs(), entered);
}

void CCommands::Tree(CCardSession& session, const CommandArguments& args)
{
    if (args.json)
        WriteJson(m_out, TreeToJson(session.GetVfs()));
    else
        WriteTree(m_out, session.GetVfs());
}

void CCommands::Info(CCardSession& session, const CommandArguments& args)
{
    const CCardPath folder = ParseCardPath(args.folder);
    const FolderUsage usage =
        session.GetUsage(session.EnterFolder(folder, Operation("info", folder)));
    if (args.json) {
        nlohmann::ordered_json json = UsageToJson(usage);
        json["path"] = folder.ToString();
        WriteJson(m_out, json);
    } else {
        WriteUsage(m_out, usage);
    }
}

void CCommands::MakeFolder(CCardSession& session, const CommandArguments& args)
{
    const CCardPath path = EntryPath(args.path);
    const uint32_t size = RequireUint32(args.size.value_or(""), "--size");
    session.MakeFolder(path, size, args.passwords, Operation("mkdir", path));
}

void CCommands::Add(CCardSession& session, const CommandArguments& args)
{
    const CCardPath path = EntryPath(args.path);
    const uint8_t type = RequireFileType(args.type.value_or(""));
    std::optional<uint32_t> size;
    if (args.size)
        size = RequireUint32(*args.size, "--size");
    if (!size && !args.from)
        throw CCliError::Usage("add: give --size, --from or both");

    // With a size, a longer input is cut there; without one, the input's length is the
    // size. Either way no more is read than the card can hold.
    const uint64_t capacity = GetCapacity(session.GetVfs().GetModel());
    std::vector<uint8_t> bytes;
    if (args.from)
        bytes = ReadInput(*args.from, size ? std::min<uint64_t>(*size, capacity) : capacity, !size);
    session.AddFile(path, type, size.value_or(static_cast<uint32_t>(bytes.size())), bytes,
                    Operation("add", path));
}

void CCommands::Write(CCardSession& session, const CommandArguments& args)
{
    const CCardPath path = EntryPath(args.path);
    const uint32_t offset = args.offset ? RequireUint32(*args.offset, "--offset") : 0;
    const std::vector<uint8_t> bytes =
        ReadInput(args.from.value_or(""), GetCapacity(session.GetVfs().GetModel()), true);
    session.WriteFile(path, offset, bytes, Operation("write", path));
}

void CCommands::Cat(CCardSession& session, const CommandArguments& args)
{
    const CCardPath path = EntryPath(args.path);
    const std::vector<uint8_t> bytes = session.ReadFile(path, Operation("cat", path));
    m_out.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
}

void CCommands::Export(CCardSession& session, const CommandArguments& args)
{
    const CCardPath path = EntryPath(args.path);
    const std::vector<uint8_t> bytes = session.ReadFile(path, Operation("export", path));
    // "-" is standard output, as for cat.
    if (args.outputFile == "-")
        m_out.write(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<std::streamsize>(bytes.size()));
    else
        WriteOutputBytes(DiskPathOf(args.outputFile), bytes);
}

void CCommands::Remove(CCardSession& session, const CommandArguments& args)
{
    const CCardPath path = EntryPath(args.path);
    session.Remove(path, Operation("rm", path));
}

void CCommands::Copy(CCardSession& session, const CommandArguments& args)
{
    const CCardPath source = ParseCardPath(args.path);
    const CCardPath destination = ParseCardPath(args.folder);
    session.Copy(source, destination, "cp " + source.ToString() + " " + destination.ToString());
}

void CCommands::Passwd(CCardSession& session, const CommandArguments& args)
{
    const CCardPath folder = ParseCardPath(args.folder);
    if (!args.passwords.user && !args.passwords.developer)
        throw CCliError::Usage("passwd: give --user-password, --developer-password or both");
    session.SetPasswords(folder, args.passwords, Operation("passwd", folder));
}

void CCommands::Format(CCardSession& session, const CommandArguments&) { session.Format(); }

}  // namespace RQ540::Cli
