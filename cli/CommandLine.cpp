#include "CommandLine.h"

#include "ByteFiles.h"
#include "CliError.h"
#include "LayoutBuild.h"
#include "LayoutDiff.h"
#include "LayoutDump.h"
#include "OptionValues.h"
#include "ProgramVersion.h"
#include "ScriptLine.h"

#include "rq540/CardModel.h"
#include "rq540/DiskFile.h"
#include "rq540/HexDigits.h"
#include "rq540/ImageLock.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <chrono>
#include <exception>
#include <string>

namespace RQ540::Cli {

namespace {

// Help texts quote the limits of the card model new images are made for.
std::string Limit(uint32_t value) { return std::to_string(value); }

std::string Description()
{
    return "Builds, inspects and checks RQ540 card images (.rqfs).\n"
           "Card paths are IDs of 1 to " + std::to_string(ID_DIGITS) +
           " hexadecimal digits separated by '/' or '\\', e.g. /0001/0002; '/' alone is the "
           "root.\n"
           "Exit status: 0 success, 1 the card refused or a file could not be read or written, "
           "2 usage error.";
}

// How long a changing command waits, by default, while another program changes the image.
constexpr uint32_t kDefaultLockSeconds = 30;

CLI::Option* AddPositional(CLI::App& command, std::string& target, const char* name,
                           const char* help)
{
    return command.add_option(name, target, help)->type_name("");
}

void AddRequired(CLI::App& command, std::string& target, const char* name, const char* help)
{
    AddPositional(command, target, name, help)->required();
}

void AddJson(CLI::App& command, CommandArguments& args)
{
    command.add_flag("--json", args.json, "print one JSON object instead of text");
}

CLI::Option* AddOptionalText(CLI::App& command, const char* name, const char* valueName,
                             std::optional<std::string>& target, const std::string& help)
{
    return command
        .add_option_function<std::string>(
            name, [&target](const std::string& value) { target = value; }, help)
        ->type_name(valueName);
}

void AddPasswords(CLI::App& command, CommandArguments& args, const char* keeps)
{
    const std::string stored = " (its bytes in a zero-filled field, cut at ";
    AddOptionalText(command, "--user-password", "TEXT", args.passwords.user,
                    "user password" + stored + Limit(GetUserPasswordLength(NEW_CARD_MODEL)) +
                        " bytes); " + keeps);
    AddOptionalText(command, "--developer-password", "TEXT", args.passwords.developer,
                    "developer password" + stored +
                        Limit(GetDeveloperPasswordLength(NEW_CARD_MODEL)) + " bytes); " + keeps);
}

void DeclareNew(CLI::App& command, CommandArguments& args)
{
    command.add_flag("--force", args.force, "replace IMAGE if it exists");
}

void DeclareList(CLI::App& command, CommandArguments& args)
{
    AddPositional(command, args.folder, "FOLDER", "folder to list (default: the root)");
    AddJson(command, args);
}

void DeclareTree(CLI::App& command, CommandArguments& args) { AddJson(command, args); }

void DeclareInfo(CLI::App& command, CommandArguments& args)
{
    AddPositional(command, args.folder, "FOLDER", "folder to sum up (default: the root)");
    AddJson(command, args);
}

void DeclareMakeFolder(CLI::App& command, CommandArguments& args)
{
    AddRequired(command, args.path, "PATH", "the new folder");
    AddOptionalText(command, "--size", "N", args.size,
                    "bytes the folder takes from its parent, its own " +
                        Limit(GetFolderHeaderCost(NEW_CARD_MODEL)) + "-byte header included")
        ->required();
    AddPasswords(command, args, "default if omitted");
}

void DeclareAdd(CLI::App& command, CommandArguments& args)
{
    AddRequired(command, args.path, "PATH", "the new file");
    AddOptionalText(command, "--type", "T", args.type,
                    "file type: exec, data, public-key, private-key, internal-exec, or a "
                    "number from 0 to 255")
        ->required();
    AddOptionalText(command, "--size", "N", args.size,
                    "file size in bytes (default: FILE's length); a shorter FILE leaves "
                    "zeros, a longer one is cut");
    AddOptionalText(command, "--from", "FILE", args.from,
                    "disk file whose bytes fill the file; '-' reads standard input");
}

void DeclareWrite(CLI::App& command, CommandArguments& args)
{
    AddRequired(command, args.path, "PATH", "the file to overwrite; its size never changes");
    AddOptionalText(command, "--from", "FILE", args.from,
                    "disk file with the new bytes; '-' reads standard input")
        ->required();
    AddOptionalText(command, "--offset", "N", args.offset,
                    "where the new bytes start in the file (default: 0)");
}

void DeclareCat(CLI::App& command, CommandArguments& args)
{
    AddRequired(command, args.path, "PATH", "the file to print");
}

void DeclareExport(CLI::App& command, CommandArguments& args)
{
    AddRequired(command, args.path, "PATH", "the file to export");
    AddRequired(command, args.outputFile, "FILE",
                "disk file to create or replace; '-' writes standard output");
}

void DeclareRemove(CLI::App& command, CommandArguments& args)
{
    AddRequired(command, args.path, "PATH", "the file, or the folder with its whole subtree");
}

void DeclareCopy(CLI::App& command, CommandArguments& args)
{
    AddRequired(command, args.path, "SOURCE", "the file or folder to copy");
    AddRequired(command, args.folder, "DEST_FOLDER", "the folder that receives the copy");
}

void DeclarePasswd(CLI::App& command, CommandArguments& args)
{
    AddRequired(command, args.folder, "FOLDER", "the folder, the root ('/') included");
    AddPasswords(command, args, "unchanged if omitted");
}

void DeclareLockTimeout(CLI::App& command, CommandArguments& args)
{
    AddOptionalText(command, "--lock-timeout", "SECONDS", args.lockTimeout,
                    "how long to wait while another rqfs changes IMAGE (default: " +
                        std::to_string(kDefaultLockSeconds) + ")");
}

// Holds the lock of the image from before it is loaded until it is replaced, so that
// concurrent runs queue instead of overwriting each other's changes.
void LockImage(CImageLock& lock, const CommandArguments& args)
{
    uint32_t seconds = kDefaultLockSeconds;
    if (args.lockTimeout) {
        const std::optional<uint32_t> value = ParseUint32(*args.lockTimeout);
        if (!value)
            throw CCliError::Usage("--lock-timeout: '" + *args.lockTimeout +
                                   "' is not a whole number of seconds");
        seconds = *value;
    }
    DiskFile::FileProblem problem = DiskFile::FileProblem::NONE;
    switch (lock.Acquire(DiskPathOf(args.image), std::chrono::seconds(seconds), &problem)) {
    case CImageLock::ACQUIRED:
        return;
    case CImageLock::TIMED_OUT:
        throw CCliError::Failure(args.image + " is being changed by another program; gave up after " +
                                 std::to_string(seconds) + " s (lock file '" +
                                 DiskFile::Utf8FromPath(lock.GetPath()) + "')");
    case CImageLock::FAILED:
        break;
    }
    // Links that lead nowhere give no lock file to name.
    if (lock.GetPath().empty())
        throw CCliError::Failure("lock " + args.image + ": " + DiskFile::DescribeFileProblem(problem));
    std::string message =
        "lock " + args.image + ": cannot create '" + DiskFile::Utf8FromPath(lock.GetPath()) + "'";
    if (problem != DiskFile::FileProblem::NONE)
        message += std::string(": ") + DiskFile::DescribeFileProblem(problem);
    throw CCliError::Failure(message);
}

void DeclareNothing(CLI::App&, CommandArguments&) {}

void DeclareCheck(CLI::App& command, CommandArguments& args) { AddJson(command, args); }

void DeclareBatch(CLI::App& command, CommandArguments& args)
{
    AddPositional(command, args.script, "SCRIPT",
                  "one command per line, without IMAGE; '#' starts a comment "
                  "(default: standard input)");
    CLI::Option* create = command.add_flag(
        "--new", args.create, "start from a fresh card (card model 0) instead of loading IMAGE");
    command.add_flag("--force", args.force, "with --new, replace IMAGE if it exists")
        ->needs(create);
}

void DeclareDump(CLI::App& command, CommandArguments& args)
{
    AddRequired(command, args.layoutDir, "DIR",
                "folder for card.json and files/; created if absent, refused if not empty");
    command.add_flag("--redact-passwords", args.redactPasswords,
                     "write {\"redacted\": true} instead of each password's bytes");
    command.add_flag("--force", args.force,
                     "dump into a folder that is not empty, replacing its card.json and files/");
}

void DeclareBuild(CLI::App& command, CommandArguments& args)
{
    AddRequired(command, args.layoutDir, "DIR", "dump folder holding card.json");
    AddRequired(command, args.outputFile, "OUT", "image file to create or replace");
    command.add_flag("--allow-redacted", args.allowRedacted,
                     "store redacted passwords as zeros instead of refusing them");
}

void DeclareDiff(CLI::App& command, CommandArguments& args)
{
    AddRequired(command, args.compared[0], "A", "image file or dump folder");
    AddRequired(command, args.compared[1], "B", "image file or dump folder");
    AddJson(command, args);
}

}  // namespace

CCommandLine::CCommandLine(std::istream& in, std::ostream& out, std::ostream& err)
    : m_in(in), m_out(out), m_err(err), m_commands(in, out, err)
{
}

std::span<const CCommandLine::CommandInfo> CCommandLine::GetCommands()
{
    static const std::string newDescription =
        "write a fresh card image (card model " + std::to_string(NEW_CARD_MODEL) + ")";
    static const CommandInfo commands[] = {
        {"new", newDescription.c_str(), DeclareNew, &CCommandLine::ExecuteNew, nullptr, true},
        {"ls", "list a folder's entries, head of its list first: ID, type, size, free space",
         DeclareList, &CCommandLine::ExecuteOnImage, &CCommands::List, false},
        {"tree", "list the whole card, indented", DeclareTree, &CCommandLine::ExecuteOnImage,
         &CCommands::Tree, false},
        {"info", "a folder's usage totals", DeclareInfo, &CCommandLine::ExecuteOnImage,
         &CCommands::Info, false},
        {"mkdir", "create a folder", DeclareMakeFolder, &CCommandLine::ExecuteOnImage,
         &CCommands::MakeFolder, true},
        {"add", "create a file and fill it from a disk file", DeclareAdd,
         &CCommandLine::ExecuteOnImage, &CCommands::Add, true},
        {"write", "overwrite part of a file from a disk file", DeclareWrite,
         &CCommandLine::ExecuteOnImage, &CCommands::Write, true},
        {"cat", "print a file's bytes", DeclareCat, &CCommandLine::ExecuteOnImage, &CCommands::Cat,
         false},
        {"export", "copy a file's bytes to a disk file", DeclareExport,
         &CCommandLine::ExecuteOnImage, &CCommands::Export, false},
        {"rm", "delete a file, or a folder with its whole subtree", DeclareRemove,
         &CCommandLine::ExecuteOnImage, &CCommands::Remove, true},
        {"cp", "paste a deep copy of a file or folder into a folder", DeclareCopy,
         &CCommandLine::ExecuteOnImage, &CCommands::Copy, true},
        {"passwd", "set a folder's passwords", DeclarePasswd, &CCommandLine::ExecuteOnImage,
         &CCommands::Passwd, true},
        {"format", "erase the whole card to a fresh root", DeclareNothing,
         &CCommandLine::ExecuteOnImage, &CCommands::Format, true},
        {"check", "validate an image and show where a malformed one goes wrong", DeclareCheck,
         &CCommandLine::ExecuteCheck, nullptr, false},
        {"batch",
         "run a script of commands against one loaded image; write it once, only if every "
         "line succeeded",
         DeclareBatch, &CCommandLine::ExecuteBatch, nullptr, true},
        {"dump", "write the card's layout as reviewable text: DIR/card.json and a payload "
                 "file per card file",
         DeclareDump, &CCommandLine::ExecuteDump, nullptr, false},
        {"build",
         "rebuild an image from a dump folder through the card's own operations, every card "
         "rule applying",
         DeclareBuild, &CCommandLine::ExecuteBuild, nullptr, false, false},
        {"diff",
         "compare two cards, each an image or a dump folder; exit 0 the same, 1 different, "
         "2 trouble",
         DeclareDiff, &CCommandLine::ExecuteDiff, nullptr, false, false},
    };
    return commands;
}

CCommandLine::Declared CCommandLine::Declare(CLI::App& app, CommandArguments& args,
                                             bool fromShell, std::string_view only)
{
    // Card paths begin with '/', which must never be read as a Windows-style option.
    app.allow_windows_style_options(false);
    app.require_subcommand(1);
    Declared declared;
    for (const CommandInfo& command : GetCommands()) {
        if ((!fromShell && !command.run) || (!only.empty() && only != command.name))
            continue;
        CLI::App* sub = app.add_subcommand(command.name, command.description);
        if (fromShell && command.leadingImage)
            AddRequired(*sub, args.image, "IMAGE", "card image file (.rqfs)");
        command.declare(*sub, args);
        if (fromShell && command.changesImage)
            DeclareLockTimeout(*sub, args);
        declared.emplace_back(sub, &command);
    }
    return declared;
}

void CCommandLine::RequireKnownCommand(const std::string& word, bool fromShell)
{
    // Options such as --help come before any command.
    if (word.starts_with('-'))
        return;
    const auto commands = GetCommands();
    const auto found =
        std::find_if(commands.begin(), commands.end(),
                     [&word](const CommandInfo& command) { return word == command.name; });
    if (found == commands.end())
        throw CCliError::Usage("unknown command '" + word + "'");
    if (!fromShell && !found->run)
        throw CCliError::Usage("'" + word + "' cannot run inside a batch script");
}

const CCommandLine::CommandInfo& CCommandLine::GetSelected(const CLI::App& app,
                                                           const Declared& declared)
{
    const CLI::App* selected = app.get_subcommands().front();
    return *std::find_if(declared.begin(), declared.end(),
                         [selected](const auto& pair) { return pair.first == selected; })
                ->second;
}

int CCommandLine::Run(int argc, const char* const* argv)
{
    CommandArguments args;
    CLI::App app(Description(), "rqfs");
    app.set_version_flag("--version", std::string("rqfs ") + PROGRAM_VERSION,
                         "print the version and exit");
    Declared declared;
    try {
        // A run names its command first. Declaring that one alone spares a tenth of a
        // short run; a run that starts with an option (--help) gets every command.
        std::string_view named;
        if (argc > 1) {
            RequireKnownCommand(argv[1], true);
            if (argv[1][0] != '-')
                named = argv[1];
        }
        declared = Declare(app, args, true, named);
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return ReportParseError(app, error, "");
    } catch (const CCliError& error) {
        return Report(error, "");
    }

    const CommandInfo& command = GetSelected(app, declared);
    int status = STATUS_SUCCESS;
    try {
        status = (this->*command.execute)(command, args);
    } catch (const std::exception& error) {
        return Report(command, error);
    }
    return FlushOutput(status);
}

int CCommandLine::ExecuteNew(const CommandInfo&, const CommandArguments& args)
{
    CImageLock lock;
    LockImage(lock, args);
    m_commands.New(args);
    return STATUS_SUCCESS;
}

int CCommandLine::ExecuteCheck(const CommandInfo&, const CommandArguments& args)
{
    return m_commands.Check(args);
}

int CCommandLine::ExecuteOnImage(const CommandInfo& command, const CommandArguments& args)
{
    CImageLock lock;
    if (command.changesImage)
        LockImage(lock, args);
    CCardSession session(DiskPathOf(args.image));
    (m_commands.*command.run)(session, args);
    if (command.changesImage)
        session.Save();
    return STATUS_SUCCESS;
}

int CCommandLine::ExecuteBatch(const CommandInfo&, const CommandArguments& args)
{
    const bool scriptOnStandardInput = args.script.empty() || args.script == "-";
    // The script is read whole before the lock is taken, so a slow writer of standard
    // input never holds up other runs.
    const std::vector<std::string> lines =
        ReadScriptLines(scriptOnStandardInput ? "-" : args.script, m_in);
    CImageLock lock;
    LockImage(lock, args);
    CCardSession session =
        args.create ? m_commands.NewCard(args) : CCardSession(DiskPathOf(args.image));
    m_commands.SetStandardInputTaken(scriptOnStandardInput);

    // A command's parser serves every line of that command: each parse starts from
    // cleared results, and the arguments it fills are reset to their defaults in place.
    CommandArguments lineArgs;
    LineParsers parsers;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        lineArgs = CommandArguments();
        const int status = RunScriptLine(session, parsers, lineArgs, lines[index], index + 1);
        if (status != STATUS_SUCCESS)
            return status;
    }
    session.Save();
    return STATUS_SUCCESS;
}

int CCommandLine::ExecuteDump(const CommandInfo&, const CommandArguments& args)
{
    const CCardSession session(DiskPathOf(args.image));
    DumpLayout(session.GetVfs(), DiskPathOf(args.layoutDir),
               {.redactPasswords = args.redactPasswords, .force = args.force},
               "dump " + args.image + " " + args.layoutDir);
    return STATUS_SUCCESS;
}

int CCommandLine::ExecuteBuild(const CommandInfo&, const CommandArguments& args)
{
    BuildLayoutImage(DiskPathOf(args.layoutDir), DiskPathOf(args.outputFile),
                     args.allowRedacted);
    return STATUS_SUCCESS;
}

int CCommandLine::ExecuteDiff(const CommandInfo& command, const CommandArguments& args)
{
    // Every failure is trouble here, whatever status it ends other commands with.
    try {
        return PrintDiff(DiskPathOf(args.compared[0]),
                         DiskPathOf(args.compared[1]), args.json, m_out);
    } catch (const std::exception& error) {
        Report(command, error);
    }
    return STATUS_USAGE;
}

int CCommandLine::RunScriptLine(CCardSession& session, LineParsers& parsers,
                                CommandArguments& args, const std::string& line,
                                std::size_t lineNumber)
{
    // The line number is spelt out only for a report.
    const auto where = [lineNumber] { return "line " + std::to_string(lineNumber) + ": "; };
    const CLI::App* parsing = nullptr;
    try {
        std::vector<std::string> words = SplitScriptLine(line);
        if (words.empty())
            return STATUS_SUCCESS;
        RequireKnownCommand(words.front(), false);
        const std::string_view named =
            words.front().starts_with('-') ? std::string_view() : std::string_view(words.front());
        auto found = parsers.find(named);
        if (found == parsers.end()) {
            LineParser parser{
                std::make_unique<CLI::App>("A line of a batch script: an rqfs command without IMAGE.", ""),
                {}};
            parser.declared = Declare(*parser.app, args, false, named);
            found = parsers.emplace(std::string(named), std::move(parser)).first;
        }
        CLI::App& app = *found->second.app;
        parsing = &app;
        // CLI11 takes its arguments last one first.
        std::reverse(words.begin(), words.end());
        app.parse(words);
        const CommandInfo& command = GetSelected(app, found->second.declared);
        (m_commands.*command.run)(session, args);
    } catch (const CLI::ParseError& error) {
        return ReportParseError(*parsing, error, where());
    } catch (const CCliError& error) {
        return Report(error, where());
    }
    return STATUS_SUCCESS;
}

int CCommandLine::ReportParseError(const CLI::App& app, const CLI::ParseError& error,
                                   const std::string& where)
{
    if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success))
        return FlushOutput(app.exit(error, m_out, m_err));
    WriteReport(m_err, where + error.what());
    return STATUS_USAGE;
}

int CCommandLine::Report(const CCliError& error, const std::string& where)
{
    WriteReport(m_err, where + error.GetMessage());
    return error.GetExitStatus();
}

int CCommandLine::Report(const CommandInfo& command, const std::exception& error)
{
    if (const auto* failure = dynamic_cast<const CCliError*>(&error))
        return Report(*failure, "");
    WriteReport(m_err, std::string(command.name) + ": " + error.what());
    return STATUS_FAILURE;
}

int CCommandLine::FlushOutput(int status)
{
    if (!m_out.flush()) {
        WriteReport(m_err, "cannot write standard output");
        return STATUS_FAILURE;
    }
    return status;
}

}  // namespace RQ540::Cli
