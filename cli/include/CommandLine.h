// The rqfs command line: the runner of the command units (Subcommands.h). It parses an
// invocation with CLI11 and does for every unit what its properties ask, once: the image's
// arguments, the lock, the --force rule, loading or making the card, saving it, the exit
// status and the report of a failure; and it runs batch scripts, line by line, with the
// same units against one card.
#pragma once

#include "CommandUnit.h"

#include <cstddef>
#include <exception>
#include <functional>
#include <istream>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
class ParseError;
}  // namespace CLI

namespace RQ540::Cli {

class CCliError;

class CCommandLine {
public:
    CCommandLine(std::istream& in, std::ostream& out, std::ostream& err);

    // Parses and runs one invocation; answers the process's exit status (0 success,
    // 1 refused or failed, 2 usage error). Every failure is reported on err.
    int Run(int argc, const char* const* argv);

private:
    class CRun;

    // The arguments the runner declares for a command's image, from the shell only.
    struct ImageArguments {
        std::string image;                       // IMAGE, or OUT for build
        std::optional<std::string> lockTimeout;  // seconds a writing command waits
        bool force = false;                      // replace an existing image
        bool fresh = false;                      // --new: create instead of changing
    };
    struct DeclaredUnit {
        CLI::App* parser;
        const CommandUnit* unit;
        std::unique_ptr<CDeclaredCommand> command;
    };
    using Declared = std::vector<DeclaredUnit>;
    // The parsers of a batch's lines, one per command met; the key "" holds the one that
    // knows every command, for a line that starts with an option.
    struct LineParser {
        std::unique_ptr<CLI::App> app;
        Declared declared;
    };
    using LineParsers = std::map<std::string, LineParser, std::less<>>;

    // Adds the units to app: with image, every unit and its image's arguments, as the shell
    // runs them; without, the units a batch line may run, without them. With only, that
    // unit alone.
    static Declared Declare(CLI::App& app, ImageArguments* image, std::string_view only = {});
    // A usage CCliError when word, the first of a command line, names no command that may
    // run there.
    static void RequireKnownCommand(const std::string& word, bool fromShell);
    static const DeclaredUnit& GetSelected(const CLI::App& app, const Declared& declared);

    ExitStatus Execute(const DeclaredUnit& declared, const ImageArguments& image);
    ExitStatus RunScript(CRun& script, std::span<const std::string> lines);
    // Parses line with the parser of its command, declared on first use, and runs it.
    int RunScriptLine(CRun& run, LineParsers& parsers, const std::string& line,
                      std::size_t lineNumber);

    // Help requests print help and succeed; anything else is a usage error.
    int ReportParseError(const CLI::App& app, const CLI::ParseError& error,
                         const std::string& where);
    int Report(const CCliError& error, const std::string& where);
    // A failure that ends unit: a CCliError as above, anything else named by the command
    // and ending it with status 1.
    int Report(const CommandUnit& unit, const std::exception& error);
    // status, unless standard output cannot take what was written to it: then a failure.
    int FlushOutput(int status);

    std::istream& m_in;
    std::ostream& m_out;
    std::ostream& m_err;
};

}  // namespace RQ540::Cli
