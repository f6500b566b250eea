#include "ui/settings/DialogueParent.h"

#include <QApplication>
#include <QWidget>

QWidget* DialogueParent(QWidget* editor)
{
    QWidget* window = editor->window();
    return window->graphicsProxyWidget() ? QApplication::activeWindow() : window;
}
