// The main window's Qt slots, in the order of its meta-object, without building a window:
// the form slots include the load slot that no action calls.
#include "ui/shell/MainWindow.h"

#include <QMetaMethod>
#include <gtest/gtest.h>

TEST(MainWindowSlotsTest, TheSlotsComeInTheirOrder)
{
    const QMetaObject& meta = MainWindow::staticMetaObject;
    QStringList slots_in_order;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        if (meta.method(i).methodType() == QMetaMethod::Slot)
            slots_in_order << QString::fromLatin1(meta.method(i).methodSignature());
    }
    const QStringList expected = {"SideBarChanged(QString)",          "OnOneSecondTick()",
                                  "on_actionLoad_triggered()",        "on_actionAbout_triggered()",
                                  "on_actionZoom_to_Fit_triggered()", "on_actionZoom_In_triggered()",
                                  "on_actionZoom_Out_triggered()",    "on_actionExit_triggered()",
                                  "on_actionClear_triggered()",       "on_actionRestart_triggered()",
                                  "on_actionNew_View_triggered()"};
    ASSERT_GE(slots_in_order.size(), expected.size());
    EXPECT_EQ(slots_in_order.mid(0, expected.size()), expected);
}
