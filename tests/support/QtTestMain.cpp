// GoogleTest entry for the widget tests: one offscreen QApplication for the whole
// program, with the embedded resources of the user interface registered.
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
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
