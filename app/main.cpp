#include "ZelvoApp.h"

#include "rq540/PendingRemoval.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

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
