// Presses on a node's embedded panel, through the real view: a control takes its press,
// an empty part of the panel lets the node be dragged.
#include "EditorFixture.h"

#include "ui/editor/CustomGraphicView.h"

#include <QGraphicsProxyWidget>
#include <QMouseEvent>
#include <QSlider>

#include <gtest/gtest.h>

namespace {

class GraphicsWidgetProxyCustomTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        id = f.Make("Blur", 0, 0);
        f.MakeEditor();
        f.editor->show();
        f.editor->View()->centerOn(200, 50);
        QCoreApplication::processEvents();
        node = f.Node(id);
        for (QGraphicsItem* child : node->childItems()) {
            if (auto* item = dynamic_cast<QGraphicsProxyWidget*>(child))
                proxy = item;
        }
        ASSERT_NE(nullptr, proxy);
    }

    // A point of the panel, in the view's viewport.
    QPoint ViewPoint(const QPoint& panel_point) const
    {
        return f.editor->View()->mapFromScene(proxy->mapToScene(QPointF(panel_point)));
    }

    void Mouse(QEvent::Type type, const QPoint& at, Qt::MouseButtons buttons)
    {
        QWidget* viewport = f.editor->View()->viewport();
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), QPointF(viewport->mapToGlobal(at)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }

    void Drag(const QPoint& from, const QPoint& to)
    {
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        Mouse(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
        Mouse(QEvent::MouseMove, to, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }

    EditorFixture f;
    std::string id;
    ElementNodeBase* node = nullptr;
    QGraphicsProxyWidget* proxy = nullptr;
};

TEST_F(GraphicsWidgetProxyCustomTest, AControlTakesItsPressAndTheNodeStays)
{
    auto* slider = proxy->widget()->findChild<QSlider*>();
    ASSERT_NE(nullptr, slider);
    const int before = slider->value();
    const QPoint handle = slider->mapTo(proxy->widget(), QPoint(slider->width() / 4, slider->height() / 2));
    const QPoint far = slider->mapTo(proxy->widget(), QPoint(slider->width() - 4, slider->height() / 2));
    Drag(ViewPoint(handle), ViewPoint(far));
    EXPECT_NE(before, slider->value());
    EXPECT_EQ(QPointF(0, 0), node->pos());
}

TEST_F(GraphicsWidgetProxyCustomTest, DraggingAnEmptyPartOfThePanelMovesTheNode)
{
    const QPoint empty = ViewPoint(QPoint(395, 3));
    Drag(empty, empty + QPoint(60, 40));
    const double scale = f.editor->View()->transform().m11();
    EXPECT_NEAR(60 / scale, node->pos().x(), 1.0);
    EXPECT_NEAR(40 / scale, node->pos().y(), 1.0);
    EXPECT_EQ(static_cast<int>(node->pos().x()), f.commander->GetElement(id)->position_x.Get());
}

}  // namespace
