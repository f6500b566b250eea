// GoogleTest entry for the widget tests: one offscreen QApplication for the whole
// program, with the embedded resources of the user interface registered, working in a
// temporary folder.
#include "support/TestSupport.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
// Qt's offscreen platform leaves its screen behind at exit, so a leak report would fail
// every widget program, even one that only lists its cases for CTest. The environment's
// ASAN_OPTIONS still overrides this.
extern "C" __attribute__((used)) const char* __asan_default_options()
{
    return "detect_leaks=0";
}
#endif

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    Q_INIT_RESOURCE(orvane);
    // The main window reads a style-sheet folder beside the working one and writes the
    // combined sheet there: both land in <temp>, never in the build tree.
    const testsupport::ScopedWorkFolder folder;
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
