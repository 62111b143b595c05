// One rqfs command as one unit: its name and summary, what it does with the image it names
// (and so whether it takes the image's lock and follows the --force rule), whether a batch
// script may run it, its options and positionals and its work. The runner (CCommandLine)
// does the shared parts once for every unit: the image's argument, the lock, loading or
// making the card, saving it, and the report of a failure.
#pragma once

#include "CardSession.h"
#include "CliError.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace CLI {
class App;
}  // namespace CLI

namespace RQ540::Cli {

inline constexpr const char* kImageHelp = "card image file (.rqfs)";

// What a command does with the image it names.
enum class ImageUse {
    NONE,     // the runner names no image: the work reads what its own arguments name
    READS,    // the image is loaded for the work; no lock, never written
    CHANGES,  // loaded under the image's lock and saved after the work succeeded
    CREATES,  // a fresh card saved under the image's lock; an existing file only with --force
    CHANGES_OR_CREATES,  // CHANGES, or with --new CREATES from a fresh card
};

// What a command's work reaches besides its own options.
class CCommandRun {
public:
    virtual ~CCommandRun() = default;

    virtual std::ostream& Out() = 0;
    virtual std::ostream& Err() = 0;
    // The image's argument as it was given (IMAGE, or OUT for build).
    virtual const std::string& GetImageName() const = 0;
    // Whether the run is a line of a batch script, working on the script's card.
    virtual bool IsScriptLine() const = 0;
    // Whether --force was given, for a run whose work writes files of its own instead of
    // the image (CommandUnit::imageOption).
    virtual bool IsForced() const = 0;
    // The card the command works on: the image as loaded, the batch's card for a line of a
    // script, or for a run that creates its image a fresh card of NEW_CARD_MODEL, unless
    // the work made one with FreshCard.
    virtual CCardSession& Card() = 0;
    // For a run that creates its image: its fresh card, made of model on first use.
    virtual CCardSession& FreshCard(int32_t model) = 0;
    // Up to limit bytes of the disk file name or of standard input ("-"); with whole, a
    // longer input is refused. Standard input that carries the batch script is refused.
    virtual std::vector<uint8_t> ReadInput(const std::string& name, uint64_t limit,
                                           bool whole) = 0;
    // The lines of the batch script name, "-" or empty for standard input, which is then
    // no longer a source for --from.
    virtual std::vector<std::string> ReadScript(const std::string& name) = 0;
    // Runs lines, each a command without IMAGE, on Card(), stopping at the first that
    // fails; answers its status, having reported it with its line number.
    virtual ExitStatus RunScript(std::span<const std::string> lines) = 0;
};

// A command declared on its parser: the options a parse fills and the work over them.
class CDeclaredCommand {
public:
    virtual ~CDeclaredCommand() = default;
    // The options back to their defaults, so that one parser serves every line of a script.
    virtual void Reset() = 0;
    // Reads what the command reads before the image is locked, so that a slow input never
    // holds up other runs.
    virtual void Read(CCommandRun& run) = 0;
    // Answers the exit status; a failure is thrown as a CCliError.
    virtual ExitStatus Work(CCommandRun& run) const = 0;
};

// A command's own part, over its own small options struct. Each function may be left out:
// declare for a command without arguments of its own, read for one that reads nothing
// before the lock, work for one whose card as the runner makes it is the whole result.
template <typename Options>
struct CommandParts {
    void (*declare)(CLI::App& command, Options& options) = nullptr;
    void (*read)(CCommandRun& run, Options& options) = nullptr;
    ExitStatus (*work)(CCommandRun& run, const Options& options) = nullptr;
};

template <typename Options>
class CDeclared final : public CDeclaredCommand {
public:
    explicit CDeclared(const CommandParts<Options>& parts) : m_parts(parts) {}

    Options& GetOptions() { return m_options; }
    void Reset() override { m_options = Options(); }
    void Read(CCommandRun& run) override
    {
        if (m_parts.read)
            m_parts.read(run, m_options);
    }
    ExitStatus Work(CCommandRun& run) const override
    {
        return m_parts.work ? m_parts.work(run, m_options) : STATUS_SUCCESS;
    }

private:
    CommandParts<Options> m_parts;
    Options m_options;
};

// A command's parts with their types taken off, so that the table of units makes no
// allocation and needs no destruction: every run builds the table, and declares one
// command. Declare puts the types back.
class CCommandBody {
public:
    template <typename Options>
    explicit CCommandBody(const CommandParts<Options>& parts)
        : m_declare(reinterpret_cast<Erased>(parts.declare)),
          m_read(reinterpret_cast<Erased>(parts.read)),
          m_work(reinterpret_cast<Erased>(parts.work)),
          m_make(&Make<Options>)
    {
    }

    // Declares the command's options and positionals on command; the result holds them.
    std::unique_ptr<CDeclaredCommand> Declare(CLI::App& command) const
    {
        return m_make(*this, command);
    }

private:
    using Erased = void (*)();

    template <typename Options>
    static std::unique_ptr<CDeclaredCommand> Make(const CCommandBody& body, CLI::App& command)
    {
        using Parts = CommandParts<Options>;
        const Parts parts{
            .declare = reinterpret_cast<decltype(Parts::declare)>(body.m_declare),
            .read = reinterpret_cast<decltype(Parts::read)>(body.m_read),
            .work = reinterpret_cast<decltype(Parts::work)>(body.m_work),
        };
        auto declared = std::make_unique<CDeclared<Options>>(parts);
        if (parts.declare)
            parts.declare(command, declared->GetOptions());
        return declared;
    }

    Erased m_declare;
    Erased m_read;
    Erased m_work;
    std::unique_ptr<CDeclaredCommand> (*m_make)(const CCommandBody& body, CLI::App& command);
};

template <typename Options>
CCommandBody Body(const CommandParts<Options>& parts)
{
    return CCommandBody(parts);
}

struct CommandUnit {
    const char* name;
    const char* summary;
    ImageUse image = ImageUse::NONE;
    // The image's positional, first unless it follows the command's own (build DIR OUT).
    const char* imageName = "IMAGE";
    const char* imageHelp = kImageHelp;
    bool imageLast = false;
    // An option of the command's own that, given, stands in for the image's positional
    // (build --output-dir): the work then writes files of its own, each with the core's
    // atomic save, and the runner takes no lock and loads and saves no image.
    const char* imageOption = nullptr;
    // Whether a line of a batch script may run the command on the script's card.
    bool batchLine = false;
    // The exit status every failure ends with, when not the failure's own (diff: 2).
    std::optional<int> failureStatus = std::nullopt;
    CCommandBody body;
};

}  // namespace RQ540::Cli
