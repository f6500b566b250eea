#pragma once
// A label that reports left-button presses (the numeric editors flip their mode on it).

#include <QLabel>

class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget* parent = nullptr);

signals:
    void Clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
