// The editor's start as its main() does it, ending once the first window is on screen:
// the measured side of the start rows of gui_bench.
#include "FirstWindow.h"

#include "MainFrame.h"
#include "ZelvoApp.h"

#include "rq540/PendingRemoval.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    RQ540::CPendingRemoval::RemoveOnTermination();
    QApplication application(argc, argv);
    CZelvoApp app;
    if (!app.InitInstance(QApplication::arguments()))
        return 1;
    EndAtFirstWindow(*app.GetMainFrame());
}
