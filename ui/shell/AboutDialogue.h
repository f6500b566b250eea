#pragma once
// Help > About...: the product's name, release notes and credits, read from the embedded
// resource ":/Messages/About.txt". The label is a child of the dialogue.

#include <QDialog>

class QLabel;
class QVBoxLayout;

class AboutDialogue : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialogue(QWidget* parent);

    QSize sizeHint() const override;

private:
    QVBoxLayout* layout_;
    QLabel* label_;
};
