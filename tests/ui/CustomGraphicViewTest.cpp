// The editor's view: zoom steps, fit, the wheel about the pointer, and panning.
#include "FitChecks.h"
#include "ui/editor/CustomGraphicView.h"

#include <QApplication>
#include <QCursor>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <vector>

namespace {

class CustomGraphicViewTest : public ::testing::Test {
protected:
    CustomGraphicViewTest()
    {
        scene.setSceneRect(-50000, -50000, 100000, 100000);
        scene.addRect(0, 0, 400, 300);
        scene.addRect(1000, 800, 200, 100);
        view.setScene(&scene);
        view.resize(800, 600);
        view.show();
        QCoreApplication::processEvents();  // lays out the scroll bars
    }

    void Wheel(const QPoint& at, int delta_y, int delta_x = 0)
    {
        QWheelEvent event(QPointF(at), QPointF(view.viewport()->mapToGlobal(at)), QPoint(),
                          QPoint(delta_x, delta_y), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &event);
    }

    void Mouse(QEvent::Type type, const QPoint& at, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(at), QPointF(view.viewport()->mapToGlobal(at)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &event);
    }

    QGraphicsScene scene;
    CustomGraphicView view{boost::shared_ptr<ControlAndStatus>()};
};

TEST_F(CustomGraphicViewTest, ZoomStepsAreOnePointOneFive)
{
    view.ZoomIn();
    EXPECT_DOUBLE_EQ(1.15, view.transform().m11());
    EXPECT_DOUBLE_EQ(1.15, view.transform().m22());
    view.ZoomOut();
    view.ZoomOut();
    EXPECT_NEAR(1.0 / 1.15, view.transform().m11(), 1e-12);
}

TEST_F(CustomGraphicViewTest, FitShowsEveryItem)
{
    view.ZoomIn();
    view.FitScene();
    const QRectF shown = view.mapToScene(view.viewport()->rect()).boundingRect();
    EXPECT_TRUE(shown.adjusted(-1, -1, 1, 1).contains(scene.itemsBoundingRect()));
    EXPECT_LT(view.transform().m11(), 1.0);
    EXPECT_DOUBLE_EQ(view.transform().m11(), view.transform().m22());
}

// Each rectangle as an item of the check.
fitchecks::NamedRects Items(const std::vector<QRectF>& rects)
{
    fitchecks::NamedRects items;
    for (const QRectF& rect : rects)
        items.emplace_back("an item", rect);
    return items;
}

// The scene's rectangle is the editor's own, the items' extent, or smaller than the
// items; a hidden item (the proxy of a drop-down list that is closed) lies far away.
TEST(CustomGraphicViewFitTest, FitShowsTheVisibleItemsCentredWhateverTheSceneRectangle)
{
    const struct {
        const char* name;
        QRectF scene_rect;  // null: the scene's own growing rectangle
    } cases[] = {
        {"the editor's", QRectF(-50000, -50000, 100000, 100000)},
        {"none set", QRectF()},
        {"smaller than the items", QRectF(0, 0, 500, 400)},
    };
    for (const auto& c : cases) {
        QGraphicsScene scene;
        if (!c.scene_rect.isNull())
            scene.setSceneRect(c.scene_rect);
        const std::vector<QRectF> items = {QRectF(-700, 900, 400, 300), QRectF(900, -400, 400, 200),
                                           QRectF(2600, 1400, 420, 240), QRectF(400, 2000, 400, 190)};
        for (const QRectF& item : items)
            scene.addRect(item);
        scene.addRect(-5000, -4000, 100, 30)->setVisible(false);
        CustomGraphicView view{boost::shared_ptr<ControlAndStatus>()};
        view.setScene(&scene);
        view.resize(1400, 800);
        view.show();
        QCoreApplication::processEvents();
        for (int press = 0; press < 2; ++press) {
            view.FitScene();
            EXPECT_TRUE(fitchecks::ShownAndCentred(view, Items(items))) << c.name << ", press " << press + 1;
        }
    }
}

// Nodes grow after the start's fit when their previews get a first frame.
TEST_F(CustomGraphicViewTest, AStartFitFollowsGrowingNodesUntilAPersonUsesTheView)
{
    const auto shows_everything = [this] {
        const QRectF shown = view.mapToScene(view.viewport()->rect()).boundingRect();
        return shown.adjusted(-1, -1, 1, 1).contains(scene.itemsBoundingRect());
    };
    view.FitSceneWhileItGrows(60000);
    scene.addRect(0, 0, 400, 3000);
    QCoreApplication::processEvents();
    EXPECT_TRUE(shows_everything());

    Mouse(QEvent::MouseButtonPress, QPoint(10, 10), Qt::MiddleButton, Qt::MiddleButton);
    Mouse(QEvent::MouseButtonRelease, QPoint(10, 10), Qt::MiddleButton, Qt::NoButton);
    const QTransform chosen = view.transform();
    scene.addRect(0, 0, 400, 9000);
    QCoreApplication::processEvents();
    EXPECT_EQ(chosen, view.transform());
}

// A panel first laid out wider than its node shrinks to the node's width: the start's
// fit follows it back in, so the pipeline does not sit small in a corner of the view.
TEST_F(CustomGraphicViewTest, AStartFitFollowsNodesThatShrink)
{
    QGraphicsRectItem* node = scene.addRect(0, 0, 4000, 3000);
    view.FitSceneWhileItGrows(60000);
    const double wide = view.transform().m11();
    node->setRect(0, 0, 400, 300);
    QCoreApplication::processEvents();
    const QTransform followed = view.transform();
    EXPECT_GT(followed.m11(), 2 * wide);
    view.FitScene();
    EXPECT_EQ(followed, view.transform());
}

// A window gets its final size after it is shown: the fit follows it while it lasts.
TEST_F(CustomGraphicViewTest, AStartFitFollowsTheViewsSize)
{
    view.FitSceneWhileItGrows(60000);
    EXPECT_TRUE(view.FitsWhileItGrows());
    view.resize(1500, 1100);
    QCoreApplication::processEvents();
    EXPECT_TRUE(fitchecks::ShownAndCentred(view, Items({scene.itemsBoundingRect()})));
    EXPECT_GT(view.mapFromScene(scene.itemsBoundingRect()).boundingRect().width(), 1300);
}

TEST_F(CustomGraphicViewTest, AStartFitStopsFollowingWhenItsTimeIsUp)
{
    view.FitSceneWhileItGrows(0);
    const QTransform fitted = view.transform();
    scene.addRect(0, 0, 400, 9000);
    QCoreApplication::processEvents();
    EXPECT_EQ(fitted, view.transform());
}

TEST_F(CustomGraphicViewTest, TheWheelZoomsAboutThePointer)
{
    const struct {
        int delta;
        double scale;
    } cases[] = {{120, 1.15}, {1, 1.15}, {-120, 1.0 / 1.15}};
    for (const auto& c : cases) {
        view.resetTransform();
        const QPoint pointer(600, 150);
        const QPointF under = view.mapToScene(pointer);
        // The pointer arrives over the view, as the window system would report it; the
        // editor's viewport tracks the mouse (its ports have tool tips).
        view.viewport()->setMouseTracking(true);
        view.setAttribute(Qt::WA_UnderMouse, true);
        QCursor::setPos(view.viewport()->mapToGlobal(pointer));
        QCoreApplication::processEvents();
        Mouse(QEvent::MouseMove, pointer, Qt::NoButton, Qt::NoButton);
        Wheel(pointer, c.delta);
        EXPECT_NEAR(c.scale, view.transform().m11(), 1e-9) << c.delta;
        const QPointF after = view.mapToScene(pointer);
        EXPECT_NEAR(under.x(), after.x(), 2.0 / view.transform().m11()) << c.delta;
        EXPECT_NEAR(under.y(), after.y(), 2.0 / view.transform().m11()) << c.delta;
    }
}

TEST_F(CustomGraphicViewTest, AHorizontalScrollDoesNotZoom)
{
    Wheel(QPoint(400, 300), 0, 120);
    EXPECT_EQ(QTransform(), view.transform());
}

TEST_F(CustomGraphicViewTest, TheMiddleButtonPansWithoutZooming)
{
    view.ZoomIn();
    const int h = view.horizontalScrollBar()->value();
    const int v = view.verticalScrollBar()->value();
    Mouse(QEvent::MouseButtonPress, QPoint(400, 300), Qt::MiddleButton, Qt::MiddleButton);
    Mouse(QEvent::MouseMove, QPoint(350, 280), Qt::NoButton, Qt::MiddleButton);
    Mouse(QEvent::MouseButtonRelease, QPoint(350, 280), Qt::MiddleButton, Qt::NoButton);
    EXPECT_EQ(h + 50, view.horizontalScrollBar()->value());
    EXPECT_EQ(v + 20, view.verticalScrollBar()->value());
    EXPECT_DOUBLE_EQ(1.15, view.transform().m11());
}

TEST_F(CustomGraphicViewTest, ARightDragOnEmptySpaceSelectsByRubberBand)
{
    QGraphicsRectItem* item = scene.addRect(0, 0, 50, 50);
    item->setPos(-2000, -2000);
    item->setFlag(QGraphicsItem::ItemIsSelectable);
    view.centerOn(-1975, -1975);
    const QPoint centre = view.mapFromScene(QPointF(-1975, -1975));
    const QPoint start = centre - QPoint(60, 60);
    const QPoint end = centre + QPoint(60, 60);
    Mouse(QEvent::MouseButtonPress, start, Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(QGraphicsView::RubberBandDrag, view.dragMode());
    Mouse(QEvent::MouseMove, centre, Qt::NoButton, Qt::RightButton);
    Mouse(QEvent::MouseMove, end, Qt::NoButton, Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, end, Qt::RightButton, Qt::NoButton);
    EXPECT_TRUE(item->isSelected());
    EXPECT_EQ(QGraphicsView::NoDrag, view.dragMode());
}

}  // namespace

// The pure magenta pixels of the view, sampled every third pixel.
static int MagentaPixels(QGraphicsView& view)
{
    const QImage image = view.viewport()->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            count += image.pixelColor(x, y) == QColor("#ff00ff");
    return count;
}

TEST_F(CustomGraphicViewTest, TheBackgroundCoversTheWholeViewWhereverTheOriginIs)
{
    // A view colour no picture pixel has, set from outside as the window's sheet does:
    // wherever it showed, the picture would not.
    view.setBackgroundBrush(Qt::NoBrush);
    QPalette palette = view.viewport()->palette();
    palette.setColor(QPalette::Base, QColor("#ff00ff"));
    view.viewport()->setPalette(palette);
    for (const QPointF& centre : {QPointF(0, 0), QPointF(-3000, -2000), QPointF(5000, 700)}) {
        view.centerOn(centre);
        EXPECT_EQ(0, MagentaPixels(view)) << "centred on " << centre.x() << ", " << centre.y();
    }
}

TEST_F(CustomGraphicViewTest, AViewWithABackgroundOfItsOwnShowsItAroundThePicture)
{
    view.setStyleSheet("background-color: #ff00ff;");
    view.centerOn(0, 0);
    const QImage image = view.viewport()->grab().toImage();
    const QPoint origin = view.mapFromScene(QPointF(0, 0));
    EXPECT_EQ(QColor("#ff00ff"), image.pixelColor(origin.x() - 20, origin.y() - 20));
    EXPECT_NE(QColor("#ff00ff"), image.pixelColor(origin.x() + 20, origin.y() + 20));
}

TEST_F(CustomGraphicViewTest, TheRepeatAboveTheOriginMirrorsThePictureWithoutASeam)
{
    view.centerOn(0, 0);
    const QImage image = view.viewport()->grab().toImage();
    const QPoint origin = view.mapFromScene(QPointF(0, 0));
    for (int k : {1, 5, 40}) {
        const QColor above = image.pixelColor(origin.x() + 50, origin.y() - k);
        const QColor below = image.pixelColor(origin.x() + 50, origin.y() + k - 1);
        EXPECT_NEAR(above.red(), below.red(), 2) << k;
        EXPECT_NEAR(above.blue(), below.blue(), 2) << k;
    }
}
