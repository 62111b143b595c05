// The rqfs command line: its commands and options (CLI11), the exit status of each run,
// and batch scripts that run many commands against one loaded card.
#pragma once

#include "Commands.h"

#include <exception>
#include <functional>
#include <istream>
#include <map>
#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <utility>
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
    struct CommandInfo {
        const char* name;
        const char* description;
        void (*declare)(CLI::App& command, CommandArguments& args);
        // How an invocation from the shell runs the command.
        int (CCommandLine::*execute)(const CommandInfo& command, const CommandArguments& args);
        // The work on a loaded card; set for the commands a batch script may use.
        void (CCommands::*run)(CCardSession& session, const CommandArguments& args);
        bool changesImage;
        // Whether the command's first argument is the IMAGE it works on.
        bool leadingImage = true;
    };
    using Declared = std::vector<std::pair<CLI::App*, const CommandInfo*>>;

    static std::span<const CommandInfo> GetCommands();
    // Adds the commands to app: every command with a leading IMAGE from the shell, only
    // the batch-able ones without IMAGE for a script line; with only, that command alone.
    static Declared Declare(CLI::App& app, CommandArguments& args, bool fromShell,
                            std::string_view only = {});
    // A usage CCliError when word, the first of a command line, names no command that may
    // run there.
    static void RequireKnownCommand(const std::string& word, bool fromShell);
    static const CommandInfo& GetSelected(const CLI::App& app, const Declared& declared);

    int ExecuteNew(const CommandInfo& command, const CommandArguments& args);
    int ExecuteCheck(const CommandInfo& command, const CommandArguments& args);
    int ExecuteOnImage(const CommandInfo& command, const CommandArguments& args);
    int ExecuteBatch(const CommandInfo& command, const CommandArguments& args);
    int ExecuteDump(const CommandInfo& command, const CommandArguments& args);
    int ExecuteBuild(const CommandInfo& command, const CommandArguments& args);
    // Exits like diff: 0 the same, 1 different, 2 trouble of any kind.
    int ExecuteDiff(const CommandInfo& command, const CommandArguments& args);
    // The parsers of a batch's lines, one per command met, all declared over the same
    // arguments; the key "" holds the one that knows every command, for a line that
    // starts with an option.
    struct LineParser {
        std::unique_ptr<CLI::App> app;
        Declared declared;
    };
    using LineParsers = std::map<std::string, LineParser, std::less<>>;

    // Parses line with the parser of its command, declared over args on first use, and
    // runs it on session.
    int RunScriptLine(CCardSession& session, LineParsers& parsers, CommandArguments& args,
                      const std::string& line, std::size_t lineNumber);

    // Help requests print help and succeed; anything else is a usage error.
    int ReportParseError(const CLI::App& app, const CLI::ParseError& error,
                         const std::string& where);
    int Report(const CCliError& error, const std::string& where);
    // A failure that ends command: a CCliError as above, anything else named by the
    // command and ending it with status 1.
    int Report(const CommandInfo& command, const std::exception& error);
    // status, unless standard output cannot take what was written to it: then a failure.
    int FlushOutput(int status);

    std::istream& m_in;
    std::ostream& m_out;
    std::ostream& m_err;
    CCommands m_commands;
};

}  // namespace RQ540::Cli
