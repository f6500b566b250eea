// GoogleTest entry for the widget tests: one offscreen QApplication for the whole
// program, with the embedded resources of the user interface registered.
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    Q_INIT_RESOURCE(orvane);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
