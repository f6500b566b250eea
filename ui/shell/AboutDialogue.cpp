#include "ui/shell/AboutDialogue.h"

#include <QFile>
#include <QLabel>
#include <QTextStream>
#include <QVBoxLayout>

AboutDialogue::AboutDialogue(QWidget* parent)
    : QDialog(parent), layout_(new QVBoxLayout(this)), label_(new QLabel(this))
{
    label_->setWordWrap(true);
    QFile file(":/Messages/About.txt");
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream stream(&file);
        label_->setText(stream.readAll());
    }
    layout_->addWidget(label_);
    FitToText();
}

void AboutDialogue::FitToText()
{
    // A window manager draws a light resize handle under a window that may be resized; a
    // fixed one it leaves dark to its edges. The sheet's font decides the wrapped height.
    ensurePolished();
    const int width = sizeHint().width();
    setFixedSize(width, heightForWidth(width));
}

QSize AboutDialogue::sizeHint() const
{
    return QSize(600, 400);
}
