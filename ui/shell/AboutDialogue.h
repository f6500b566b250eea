#pragma once
// Help > About...: the product's name, release notes and credits, read from the embedded
// resource ":/Messages/About.txt". The label is a child of the dialogue. Its size is fixed
// to the text wrapped at the hinted width.

#include <QDialog>

class QLabel;
class QVBoxLayout;

class AboutDialogue : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialogue(QWidget* parent);

    QSize sizeHint() const override;

private:
    void FitToText();

    QVBoxLayout* layout_;
    QLabel* label_;
};
