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
}

QSize AboutDialogue::sizeHint() const
{
    return QSize(600, 400);
}
