// The end of a start probe: the program has its first window once the window is exposed
// and painted whole. The probe then prints its peak resident memory, because the one its
// parent reads when it waits for it also counts the parent's own before the probe started.
#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QDeadlineTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

// Shows window if it is not yet shown, runs the events until it is exposed, paints it
// once and hands the frame on. False when it is not exposed within 10 seconds.
inline bool ShowFirstWindow(QWidget& window)
{
    window.show();
    const QDeadlineTimer deadline(10'000);
    while (!window.windowHandle() || !window.windowHandle()->isExposed()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    window.repaint();
    QCoreApplication::processEvents();
    return true;
}

// Prints the "VmHWM:" line of the process's status, the peak resident memory of the
// program since it was started. False when there is none.
inline bool PrintPeakMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmHWM:"))
            return std::fwrite(line.constData(), 1, line.size(), stdout) ==
                   static_cast<std::size_t>(line.size());
    }
    return false;
}

// Shows window as ShowFirstWindow does, prints the peak memory and ends the process at
// once: the start ends with the first window, and tearing the program down is no part of
// it. Exits 0 when both succeeded, else 1.
[[noreturn]] inline void EndAtFirstWindow(QWidget& window)
{
    const bool shown = ShowFirstWindow(window) && PrintPeakMemory();
    std::fflush(stdout);
    std::_Exit(shown ? 0 : 1);
}
