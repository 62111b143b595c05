#include "CommandLine.h"

#include "ByteFiles.h"
#include "CliError.h"
#include "OptionValues.h"
#include "ProgramVersion.h"
#include "ScriptLine.h"
#include "Subcommands.h"

#include "rq540/CardModel.h"
#include "rq540/DiskFile.h"
#include "rq540/HexDigits.h"
#include "rq540/ImageLock.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>

namespace RQ540::Cli {

namespace {

std::string Description()
{
    return "Builds, inspects and checks RQ540 card images (.rqfs).\n"
           "Card paths are IDs of 1 to " + std::to_string(ID_DIGITS) +
           " hexadecimal digits separated by '/' or '\\', e.g. /0001/0002; '/' alone is the "
           "root.\n"
           "Exit status: 0 success, 1 the card refused or a file could not be read or written, "
           "2 usage error.";
}

// How long a writing command waits, by default, while another program changes the image.
constexpr uint32_t kDefaultLockSeconds = 30;

bool WritesImage(ImageUse use)
{
    return use == ImageUse::CHANGES || use == ImageUse::CREATES ||
           use == ImageUse::CHANGES_OR_CREATES;
}

}  // namespace

// A run of one command: from the shell on the image it names, or as a line of a batch
// script on the script's card.
class CCommandLine::CRun final : public CCommandRun {
public:
    // card: the script's card, for a line of it; null for a run from the shell.
    CRun(CCommandLine& commandLine, const std::string& image, CCardSession* card,
         bool standardInputTaken, bool force = false)
        : m_commandLine(commandLine),
          m_image(image),
          m_card(card),
          m_scriptLine(card != nullptr),
          m_standardInputTaken(standardInputTaken),
          m_force(force)
    {
    }

    void Load() { m_card = &m_own.emplace(DiskPathOf(m_image)); }

    std::ostream& Out() override { return m_commandLine.m_out; }
    std::ostream& Err() override { return m_commandLine.m_err; }
    const std::string& GetImageName() const override { return m_image; }
    bool IsScriptLine() const override { return m_scriptLine; }
    bool IsForced() const override { return m_force; }
    CCardSession& Card() override { return m_card ? *m_card : FreshCard(NEW_CARD_MODEL); }
    CCardSession& FreshCard(int32_t model) override
    {
        if (!m_card)
            m_card = &m_own.emplace(DiskPathOf(m_image), model);
        return *m_card;
    }
    std::vector<uint8_t> ReadInput(const std::string& name, uint64_t limit, bool whole) override
    {
        if (name == "-" && m_standardInputTaken)
            throw CCliError::Usage("--from -: standard input already carries the batch script");
        return ReadInputBytes(name, m_commandLine.m_in, limit, whole);
    }
    std::vector<std::string> ReadScript(const std::string& name) override
    {
        const bool standardInput = name.empty() || name == "-";
        std::vector<std::string> lines =
            ReadScriptLines(standardInput ? "-" : name, m_commandLine.m_in);
        m_standardInputTaken = m_standardInputTaken || standardInput;
        return lines;
    }
    ExitStatus RunScript(std::span<const std::string> lines) override
    {
        return m_commandLine.RunScript(*this, lines);
    }

    bool IsStandardInputTaken() const { return m_standardInputTaken; }

private:
    CCommandLine& m_commandLine;
    const std::string& m_image;
    std::optional<CCardSession> m_own;
    CCardSession* m_card;
    bool m_scriptLine;
    bool m_standardInputTaken;
    bool m_force;
};

namespace {

// The option that stands in for unit's image positional, when given; null otherwise.
const CLI::Option* GivenImageOption(const CLI::App& command, const CommandUnit& unit)
{
    if (!unit.imageOption)
        return nullptr;
    const CLI::Option* option = command.get_option(unit.imageOption);
    return option->count() > 0 ? option : nullptr;
}

// The image's arguments of a command that writes it, after the command's own: the flags of
// the --force rule and how long to wait for the lock.
void DeclareWriting(CLI::App& command, const CommandUnit& unit,
                    std::optional<std::string>& lockTimeout, bool& force, bool& fresh)
{
    const std::string image = unit.imageName;
    if (unit.image == ImageUse::CHANGES_OR_CREATES) {
        CLI::Option* create = command.add_flag(
            "--new", fresh,
            "start from a fresh card (card model " + std::to_string(NEW_CARD_MODEL) +
                ") instead of loading " + image);
        command.add_flag("--force", force, "with --new, replace " + image + " if it exists")
            ->needs(create);
    } else if (unit.image == ImageUse::CREATES) {
        std::string help = "replace " + image + " if it exists";
        if (unit.imageOption)
            help += std::string("; with ") + unit.imageOption +
                    ", write into a folder that is not empty";
        command.add_flag("--force", force, help);
    }
    CLI::Option* timeout =
        command
            .add_option_function<std::string>(
                "--lock-timeout", [&lockTimeout](const std::string& value) { lockTimeout = value; },
                "how long to wait while another rqfs changes " + image + " (default: " +
                    std::to_string(kDefaultLockSeconds) + ")")
            ->type_name("SECONDS");
    // Files a command writes in the image's stead are written without a lock.
    if (unit.imageOption)
        timeout->excludes(command.get_option(unit.imageOption));
}

}  // namespace

CCommandLine::CCommandLine(std::istream& in, std::ostream& out, std::ostream& err)
    : m_in(in), m_out(out), m_err(err)
{
}

CCommandLine::Declared CCommandLine::Declare(CLI::App& app, ImageArguments* image,
                                             std::string_view only)
{
    // Card paths begin with '/', which must never be read as a Windows-style option.
    app.allow_windows_style_options(false);
    app.require_subcommand(1);
    Declared declared;
    for (const CommandUnit& unit : GetSubcommands()) {
        if ((!image && !unit.batchLine) || (!only.empty() && only != unit.name))
            continue;
        CLI::App* sub = app.add_subcommand(unit.name, unit.summary);
        const bool named = image && unit.image != ImageUse::NONE;
        const auto declareImage = [&] {
            sub->add_option(unit.imageName, image->image, unit.imageHelp)
                ->type_name("")
                ->required();
        };
        if (named && !unit.imageLast)
            declareImage();
        std::unique_ptr<CDeclaredCommand> command = unit.body.Declare(*sub);
        if (named && unit.imageLast)
            declareImage();
        // The image's positional then goes only without the option that stands in for it.
        if (named && unit.imageOption)
            sub->get_option(unit.imageName)
                ->required(false)
                ->excludes(sub->get_option(unit.imageOption));
        if (image && WritesImage(unit.image))
            DeclareWriting(*sub, unit, image->lockTimeout, image->force, image->fresh);
        declared.push_back({sub, &unit, std::move(command)});
    }
    return declared;
}

void CCommandLine::RequireKnownCommand(const std::string& word, bool fromShell)
{
    // Options such as --help come before any command.
    if (word.starts_with('-'))
        return;
    const CommandUnit* unit = FindSubcommand(word);
    if (!unit)
        throw CCliError::Usage("unknown command '" + word + "'");
    if (!fromShell && !unit->batchLine)
        throw CCliError::Usage("'" + word + "' cannot run inside a batch script");
}

const CCommandLine::DeclaredUnit& CCommandLine::GetSelected(const CLI::App& app,
                                                            const Declared& declared)
{
    const CLI::App* selected = app.get_subcommands().front();
    return *std::find_if(declared.begin(), declared.end(), [selected](const DeclaredUnit& unit) {
        return unit.parser == selected;
    });
}

int CCommandLine::Run(int argc, const char* const* argv)
{
    ImageArguments image;
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
        declared = Declare(app, &image, named);
        app.parse(argc, argv);
        const DeclaredUnit& chosen = GetSelected(app, declared);
        if (chosen.unit->imageOption && !GivenImageOption(*chosen.parser, *chosen.unit) &&
            chosen.parser->get_option(chosen.unit->imageName)->count() == 0)
            throw CLI::RequiredError(chosen.unit->imageName);
    } catch (const CLI::ParseError& error) {
        return ReportParseError(app, error, "");
    } catch (const CCliError& error) {
        return Report(error, "");
    }

    const DeclaredUnit& selected = GetSelected(app, declared);
    ExitStatus status = STATUS_SUCCESS;
    try {
        status = Execute(selected, image);
    } catch (const std::exception& error) {
        const int reported = Report(*selected.unit, error);
        return selected.unit->failureStatus.value_or(reported);
    }
    return FlushOutput(status);
}

namespace {

// Holds the lock of the image from before it is loaded until it is replaced, so that
// concurrent runs queue instead of overwriting each other's changes.
void LockImage(CImageLock& lock, const std::string& image,
               const std::optional<std::string>& lockTimeout)
{
    uint32_t seconds = kDefaultLockSeconds;
    if (lockTimeout) {
        const std::optional<uint32_t> value = ParseUint32(*lockTimeout);
        if (!value)
            throw CCliError::Usage("--lock-timeout: '" + *lockTimeout +
                                   "' is not a whole number of seconds");
        seconds = *value;
    }
    DiskFile::FileProblem problem = DiskFile::FileProblem::NONE;
    switch (lock.Acquire(DiskPathOf(image), std::chrono::seconds(seconds), &problem)) {
    case CImageLock::ACQUIRED:
        return;
    case CImageLock::TIMED_OUT:
        throw CCliError::Failure(image + " is being changed by another program; gave up after " +
                                 std::to_string(seconds) + " s (lock file '" +
                                 DiskFile::Utf8FromPath(lock.GetPath()) + "')");
    case CImageLock::FAILED:
        break;
    }
    // Links that lead nowhere give no lock file to name.
    if (lock.GetPath().empty())
        throw CCliError::Failure("lock " + image + ": " + DiskFile::DescribeFileProblem(problem));
    std::string message =
        "lock " + image + ": cannot create '" + DiskFile::Utf8FromPath(lock.GetPath()) + "'";
    if (problem != DiskFile::FileProblem::NONE)
        message += std::string(": ") + DiskFile::DescribeFileProblem(problem);
    throw CCliError::Failure(message);
}

// The --force rule of a command that creates its image; operation names the command.
void RequireNewImage(const std::string& operation, const std::string& image, bool force)
{
    std::error_code error;
    if (!force && std::filesystem::exists(DiskPathOf(image), error))
        throw CCliError::Failure(operation + " " + image +
                                 ": the file already exists; --force replaces it");
}

}  // namespace

ExitStatus CCommandLine::Execute(const DeclaredUnit& declared, const ImageArguments& image)
{
    const CommandUnit& unit = *declared.unit;
    // A command that writes its own files instead of the image has none for the runner.
    const ImageUse use =
        GivenImageOption(*declared.parser, unit) ? ImageUse::NONE : unit.image;
    const bool creates = use == ImageUse::CREATES ||
                         (use == ImageUse::CHANGES_OR_CREATES && image.fresh);
    CRun run(*this, image.image, nullptr, false, image.force);
    declared.command->Read(run);
    CImageLock lock;
    if (WritesImage(use))
        LockImage(lock, image.image, image.lockTimeout);
    // batch --new refuses an existing image in the words of new.
    if (creates)
        RequireNewImage(image.fresh ? "new" : unit.name, image.image, image.force);
    else if (use != ImageUse::NONE)
        run.Load();
    const ExitStatus status = declared.command->Work(run);
    if (status == STATUS_SUCCESS && WritesImage(use))
        run.Card().Save();
    return status;
}

ExitStatus CCommandLine::RunScript(CRun& script, std::span<const std::string> lines)
{
    CRun run(*this, script.GetImageName(), &script.Card(), script.IsStandardInputTaken());
    LineParsers parsers;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const int status = RunScriptLine(run, parsers, lines[index], index + 1);
        if (status != STATUS_SUCCESS)
            return static_cast<ExitStatus>(status);
    }
    return STATUS_SUCCESS;
}

int CCommandLine::RunScriptLine(CRun& run, LineParsers& parsers, const std::string& line,
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
            parser.declared = Declare(*parser.app, nullptr, named);
            found = parsers.emplace(std::string(named), std::move(parser)).first;
        }
        // A command's parser serves every line of that command: each parse starts from
        // cleared results, and the options it fills are reset to their defaults in place.
        for (const DeclaredUnit& declared : found->second.declared)
            declared.command->Reset();
        CLI::App& app = *found->second.app;
        parsing = &app;
        // CLI11 takes its arguments last one first.
        std::reverse(words.begin(), words.end());
        app.parse(words);
        const DeclaredUnit& selected = GetSelected(app, found->second.declared);
        selected.command->Read(run);
        return selected.command->Work(run);
    } catch (const CLI::ParseError& error) {
        return ReportParseError(*parsing, error, where());
    } catch (const CCliError& error) {
        return Report(error, where());
    }
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

int CCommandLine::Report(const CommandUnit& unit, const std::exception& error)
{
    if (const auto* failure = dynamic_cast<const CCliError*>(&error))
        return Report(*failure, "");
    WriteReport(m_err, std::string(unit.name) + ": " + error.what());
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
