// The orvane application: the hub, the Qt application and the main window.
#include "core/ControlAndStatus.h"
#include "core/FrameHeap.h"
#include "ui/shell/ProgramEntry.h"

#include <QApplication>

#include <boost/shared_ptr.hpp>

#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    KeepFrameBuffersInHeap();
    boost::shared_ptr<ControlAndStatus> hub(new ControlAndStatus());
    int result = 0;
    try {
        std::set_terminate(TerminateHandler);
        Q_INIT_RESOURCE(orvane);
        QApplication application(argc, argv);
        // Gives the splitter positions a per-user settings file of their own.
        QCoreApplication::setOrganizationName("Orvane");
        QCoreApplication::setApplicationName("Orvane");
        ParseCommandLine(argc, argv);
        result = RunMainWindow(hub);
    } catch (...) {
        std::cout << "Application crashed!" << std::endl;
    }
    hub.reset();
    return result;
}
