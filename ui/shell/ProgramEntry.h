#pragma once
// The pieces of the program entry that main() strings together: the terminate handler,
// the command-line options and the welcome text written when the window first shows.

#include <boost/shared_ptr.hpp>

#include <string>

class ControlAndStatus;

// Installed with std::set_terminate: says so on the real standard output, then aborts.
[[noreturn]] void TerminateHandler();

// Reads the options "-d" (debug mode, logged at DEBUG1) and "-l" (accepted). Every
// argument, the program name too, is compared exactly; anything else is ignored.
void ParseCommandLine(int argc, char** argv);

// The usage hints printed to standard output (and so into the log view) at start-up.
std::string WelcomeText();

// One run of the main window on the running QApplication: builds it, shows it maximised,
// prints the welcome text and runs the event loop. When it returns the window is gone and
// the hub no longer holds the commander, so the commander's own shutdown has run.
int RunMainWindow(const boost::shared_ptr<ControlAndStatus>& hub);
