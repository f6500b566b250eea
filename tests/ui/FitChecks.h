// The check of a view's fit that the view's and the main window's tests share: every
// named scene rectangle shows whole in the viewport, and together they sit in its middle
// along the axis with room to spare.
#pragma once

#include <QGraphicsView>
#include <QRect>
#include <QRectF>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace fitchecks {

using NamedRects = std::vector<std::pair<std::string, QRectF>>;

inline ::testing::AssertionResult ShownAndCentred(const QGraphicsView& view, const NamedRects& items)
{
    const QRect viewport = view.viewport()->rect();
    QRect extent;
    for (const auto& item : items) {
        const QRect shown = view.mapFromScene(item.second).boundingRect();
        if (!viewport.contains(shown))
            return ::testing::AssertionFailure()
                   << item.first << " is cut off at " << shown.x() << ", " << shown.y() << " size "
                   << shown.width() << " x " << shown.height();
        extent |= shown;
    }
    if (extent.isEmpty())
        return ::testing::AssertionFailure() << "nothing shown";
    const int left = extent.left() - viewport.left();
    const int right = viewport.right() - extent.right();
    const int top = extent.top() - viewport.top();
    const int bottom = viewport.bottom() - extent.bottom();
    if (std::abs(left - right) > 3 || std::abs(top - bottom) > 3)
        return ::testing::AssertionFailure() << "off centre: margins left " << left << ", right " << right
                                             << ", top " << top << ", bottom " << bottom;
    return ::testing::AssertionSuccess();
}

}  // namespace fitchecks
