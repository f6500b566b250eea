#pragma once
// Editor of a plain integer point: two drag-to-change numbers, "X" and "Y", under the
// setting's label. User input below the given minimums is raised to them; the maximums
// are kept but not applied, as descriptors name no upper bounds (the factory repeats the
// minimums there). Nothing is emitted. The point is not thread-safe: only the GUI thread
// may touch it.

#include "ui/settings/GUISettingItem.h"

#include <opencv2/core.hpp>

class ValueSelector;

class PointSettingItem : public GUISettingItem {
    Q_OBJECT
public:
    PointSettingItem(cv::Point* point, const QString& label, int minimum_x, int minimum_y, int maximum_x,
                     int maximum_y, QWidget* parent);

    ValueSelector* XSelector() const { return x_; }
    ValueSelector* YSelector() const { return y_; }

public slots:
    void UpdateFromVariable();
    void UpdateVariable();

private:
    ValueSelector* MakeSelector();

    cv::Point* point_;  // borrowed
    int minimum_x_;
    int minimum_y_;
    int maximum_x_;
    int maximum_y_;
    ValueSelector* x_;
    ValueSelector* y_;
};
