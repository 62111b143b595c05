// rqfs: builds, inspects and checks RQ540 card images from the shell and from scripts.
#include "CommandLine.h"

#include "rq540/PendingRemoval.h"

#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv)
{
#ifdef _WIN32
    // File contents pass through standard input and output unchanged.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    // Ctrl+C or a kill during a save leaves neither a temporary copy of the image nor a
    // lock file behind.
    RQ540::CPendingRemoval::RemoveOnTermination();
    RQ540::Cli::CCommandLine commandLine(std::cin, std::cout, std::cerr);
    return commandLine.Run(argc, argv);
}
