#pragma once
// Layout helper for widgets; header-only so that the core library needs no Qt Widgets.

#include <QtWidgets/QLayout>

// No margins and no spacing, for panels that sit flush inside their parents.
inline void SetZeroMargins(QLayout* layout)
{
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
}
