// rqfs: builds, inspects and checks RQ540 card images from the shell and from scripts.
#include "CommandLine.h"

#include "rq540/PendingRemoval.h"
#include "rq540/ProcessIo.h"

#include <iostream>

int main(int argc, char** argv)
{
    // File contents pass through standard input and output unchanged, and messages reach
    // a console as the text they are.
    const RQ540::ProcessIo::CStandardStreams streams;
    // Ctrl+C or a kill during a save leaves neither a temporary copy of the image nor a
    // lock file behind.
    RQ540::CPendingRemoval::RemoveOnTermination();
    const std::vector<std::string> arguments = RQ540::ProcessIo::GetArguments(argc, argv);
    std::vector<const char*> words;
    for (const std::string& argument : arguments)
        words.push_back(argument.c_str());
    RQ540::Cli::CCommandLine commandLine(std::cin, std::cout, std::cerr);
    return commandLine.Run(static_cast<int>(words.size()), words.data());
}
