#pragma once
// Editor of a colour setting: a button that opens the colour dialogue on the stored
// colour. A chosen colour is written; a cancelled dialogue changes nothing. Nothing is
// emitted: the elements read the colour when they draw.

#include "ui/settings/GUISettingItem.h"

#include "core/ThreadSafeVariable.h"

#include <opencv2/core.hpp>

class QPushButton;

class ThreadColourSettingItem : public GUISettingItem {
    Q_OBJECT
public:
    ThreadColourSettingItem(ThreadSafeVariable<cv::Scalar>* variable, const QString& label, QWidget* parent);

    QPushButton* Button() const { return button_; }

public slots:
    void PickColour();

private:
    ThreadSafeVariable<cv::Scalar>* variable_;  // borrowed
    QPushButton* button_;
};
