#include "ui/shell/ProgramEntry.h"

#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "core/FILELog.h"
#include "core/WorkerPool.h"
#include "ui/shell/MainWindow.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

void TerminateHandler()
{
    // std::cout may be the log view's captured buffer by now; the C stream is not.
    std::fputs("Called to terminate\n", stdout);
    std::fflush(stdout);
    std::abort();
}

void ParseCommandLine(int argc, char** argv)
{
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "-d") == 0) {
            FILE_LOG(logDEBUG1) << "Debug mode";
        }
        // "-l" is accepted and changes nothing.
    }
}

std::string WelcomeText()
{
    return "\n"
           "Welcome to Orvane.\n"
           "Pick an element in the left-hand menu, for example the Camera, then double-click "
           "in the main area to place it.\n"
           "No camera attached? Start from \"Video Read\" or \"Image Read\" and choose a file "
           "in its settings.\n"
           "Add another element and drag from an output port to an input port to connect the "
           "two.\n"
           "A right click deletes a connection or an element.\n"
           "Hold the middle mouse button to move around the editor; the wheel zooms.\n"
           "Each element carries its own controls; the global controls sit at the top of the "
           "window.\n"
           "Experiment, and see what the pictures do.";
}

int RunMainWindow(const boost::shared_ptr<ControlAndStatus>& hub)
{
    // The hub and the commander hold each other; the link goes once the window has gone
    // (it is declared first, so it is destroyed last), even when the window fails. With the
    // commander gone nothing posts to the worker pool any more: its last rescales end before
    // the process's static objects (OpenCV's among them) are destroyed.
    struct BackEndEnd {
        const boost::shared_ptr<ControlAndStatus>& hub;
        ~BackEndEnd()
        {
            hub->SetCommander(nullptr);
            GlobalWorkerPool().Stop();
        }
    } end{hub};
    MainWindow window(hub);
    window.showMaximized();
    return QApplication::exec();
}
