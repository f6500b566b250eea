#pragma once
// Shows a stored value in a spin box without emitting. A value outside the editor's
// range stretches the box's range so it is shown as it is: a spin box would clamp
// it, and nothing may be written back on display. An unchanged value is left alone
// so a refresh does not disturb someone typing.

#include <QDoubleSpinBox>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>

inline bool ShowsValue(const QSpinBox* box, int value)
{
    return box->value() == value;
}

// The box shows its decimals only, so equal texts are the same value to a person.
inline bool ShowsValue(const QDoubleSpinBox* box, double value)
{
    return box->textFromValue(box->value()) == box->textFromValue(value);
}

template <typename Box, typename T>
void ShowInSpinBox(Box* box, T minimum, T maximum, T value)
{
    const QSignalBlocker blocker(box);
    const T low = std::min(minimum, value);
    const T high = std::max(maximum, value);
    if (box->minimum() != low || box->maximum() != high)
        box->setRange(low, high);
    if (!ShowsValue(box, value))
        box->setValue(value);
}
