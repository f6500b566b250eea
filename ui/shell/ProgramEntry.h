#pragma once
// The pieces of the program entry that main() strings together: the terminate handler,
// the command-line options, the welcome text and the run of the main window.

#include <boost/shared_ptr.hpp>

#include <string>

class ControlAndStatus;

// Installed with std::set_terminate: says so on the real standard output, then aborts.
[[noreturn]] void TerminateHandler();

// Reads the options "-d" (debug mode, logged at DEBUG1) and "-l" (accepted). Every
// argument, the program name too, is compared exactly; anything else is ignored.
void ParseCommandLine(int argc, char** argv);

// The usage hints that open the log view.
std::string WelcomeText();

// One run of the main window on the running QApplication: builds it, shows it maximised
// and runs the event loop. When it returns the window is gone, the hub no longer holds the
// commander, so the commander's own shutdown has run, and the global worker pool has
// stopped: what is left is the end of the process.
int RunMainWindow(const boost::shared_ptr<ControlAndStatus>& hub);
