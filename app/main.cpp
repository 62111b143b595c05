#include "ProgramVersion.h"
#include "ZelvoApp.h"

#include "rq540/PendingRemoval.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

constexpr const char* kUsage =
    "Usage: rqvfs-editor [OPTION]... [FILE.rqfs]\n"
    "Edits the file system image of an RQ540 key's card: opens FILE, or starts with a new "
    "image.\n"
    "\n"
    "  --help     print this help and exit\n"
    "  --version  print the version and exit\n"
    "\n"
    "The toolkit's own options, such as -platform NAME, are accepted too.\n";

// --help and --version are answered before the toolkit starts, so they work without a
// display. Answers the exit status when one of them was given; a failed write fails.
std::optional<int> AnswerInformationOption(int argc, const char* const* argv)
{
    for (int index = 1; index < argc; ++index) {
        const std::string_view argument = argv[index];
        if (argument == "--version")
            std::printf("rqvfs-editor %s\n", RQ540::PROGRAM_VERSION);
        else if (argument == "--help")
            std::fputs(kUsage, stdout);
        else
            continue;
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? EXIT_SUCCESS : EXIT_FAILURE;
    }
    return std::nullopt;
}

// On X11 and Wayland systems the toolkit aborts without a display; say so plainly instead.
bool HasDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return true;
    }
    return false;
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char* argv[])
{
    if (const std::optional<int> status = AnswerInformationOption(argc, argv))
        return *status;
    if (!HasDisplay()) {
        std::fputs("rqvfs-editor: no display found; run it on a desktop, or under a virtual one "
                   "with `xvfb-run rqvfs-editor [file.rqfs]`\n",
                   stderr);
        return EXIT_FAILURE;
    }
    // A kill during a save leaves neither a temporary copy of the image nor a lock file behind.
    RQ540::CPendingRemoval::RemoveOnTermination();
    QApplication application(argc, argv);
    CZelvoApp app;
    if (!app.InitInstance(QApplication::arguments()))
        return EXIT_FAILURE;
    return QApplication::exec();
}
