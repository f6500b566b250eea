// The frame's cursor: the splitter shape within five pixels of the bottom edge or while
// the edge is dragged, the arrow elsewhere.
#include "ui/editor/ElementWidgetBase.h"

#include "MouseEvents.h"

#include <QCursor>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

class ElementWidgetBaseTest : public ::testing::Test {
protected:
    ElementWidgetBaseTest()
    {
        frame_.setGeometry(100, 100, 200, 120);
        frame_.show();
    }

    // Puts the mouse at the point of the frame and lets the frame look.
    Qt::CursorShape ShapeWithMouseAt(const QPoint& point)
    {
        QCursor::setPos(frame_.mapToGlobal(point));
        frame_.CheckMouse();
        return frame_.cursor().shape();
    }

    ElementWidgetBase frame_;
};

}  // namespace

TEST_F(ElementWidgetBaseTest, TheSplitterShapeShowsOnlyNearTheBottomEdge)
{
    struct Case {
        QPoint point;
        Qt::CursorShape shape;
    };
    const Case cases[] = {
        {{100, 120}, Qt::SplitHCursor}, {{100, 115}, Qt::SplitHCursor}, {{100, 125}, Qt::SplitHCursor},
        {{0, 117}, Qt::SplitHCursor},   {{100, 114}, Qt::ArrowCursor},  {{100, 126}, Qt::ArrowCursor},
        {{100, 60}, Qt::ArrowCursor},   {{100, 0}, Qt::ArrowCursor},    {{250, 119}, Qt::ArrowCursor},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShapeWithMouseAt(c.point), c.shape) << c.point.x() << ", " << c.point.y();
}

TEST_F(ElementWidgetBaseTest, DraggingTheEdgeKeepsTheShapeAndSetsTheHeight)
{
    Press(&frame_, QPoint(100, 118));
    ASSERT_TRUE(frame_.IsResizing());
    Move(&frame_, QPoint(100, 60));
    EXPECT_EQ(frame_.height(), 60);
    EXPECT_EQ(ShapeWithMouseAt(QPoint(100, 20)), Qt::SplitHCursor);
    Release(&frame_, QPoint(100, 60));
    EXPECT_FALSE(frame_.IsResizing());
    EXPECT_EQ(ShapeWithMouseAt(QPoint(100, 20)), Qt::ArrowCursor);
}

TEST_F(ElementWidgetBaseTest, APressAwayFromTheEdgeStartsNoDrag)
{
    Press(&frame_, QPoint(100, 50));
    EXPECT_FALSE(frame_.IsResizing());
    Move(&frame_, QPoint(100, 80));
    EXPECT_EQ(frame_.height(), 120);
    Release(&frame_, QPoint(100, 80));
}
