#include "core/SharedGUI.h"

#include <QCoreApplication>

SharedGUI::SharedGUI() : QObject(nullptr), ControlBaseClass("shared gui")
{
    // Whichever thread asks first (an element test, say), the record lives on the GUI thread.
    if (QCoreApplication* application = QCoreApplication::instance())
        moveToThread(application->thread());
}

SharedGUI::~SharedGUI() = default;
