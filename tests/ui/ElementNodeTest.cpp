// Element nodes made by the factory for elements of a real commander: port rows, the
// outline and its fill as drawn, the position settings, and the preview item.
#include "EditorFixture.h"

#include "core/VideoFrame.h"
#include "engine/BoltOnSink.h"
#include "engine/BoltOnSource.h"
#include "engine/MakeUnownedPtr.h"
#include "ui/editor/ElementNodeFactory.h"
#include "ui/editor/PreviewGraphicsItem.h"
#include "ui/frame/StyleSheet.h"

#include <QFontMetrics>
#include <QGraphicsView>
#include <QGraphicsProxyWidget>
#include <QSpinBox>
#include <QGraphicsSceneMouseEvent>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// An element with any number of video pads.
class PadsElement : public ElementBase {
public:
    PadsElement(boost::shared_ptr<ControlAndStatus> hub, int inputs, int outputs)
        : ElementBase(std::move(hub)), sinks_(inputs), sources_(outputs)
    {
        for (auto& sink : sinks_)
            AddInput(MakeUnownedPtr<Sink<VideoFrame>>(&sink), "");
        for (auto& source : sources_)
            AddOutput(MakeUnownedPtr<Source<VideoFrame>>(&source), "");
    }

private:
    std::vector<BoltOnSink<VideoFrame>> sinks_;
    std::vector<BoltOnSource<VideoFrame>> sources_;
};

// An element with forty numeric settings: a panel far taller than any node may be.
class ManySettingsElement : public ElementBase {
public:
    explicit ManySettingsElement(boost::shared_ptr<ControlAndStatus> hub) : ElementBase(std::move(hub))
    {
        for (int i = 0; i < kCount; ++i)
            settings.AddSetting("_value_" + std::to_string(i), &values_[i], "min=0, max=100");
    }

private:
    static constexpr int kCount = 40;
    ThreadSafeVariable<int> values_[kCount];
};

class ElementNodeTest : public ::testing::Test {
protected:
    ElementNodeBase* NodeFor(const std::string& id) { return factory.MakeNode(id); }

    std::string AddPadsElement(int inputs, int outputs)
    {
        auto element = boost::make_shared<PadsElement>(f.hub, inputs, outputs);
        const std::string id = "Pads " + std::to_string(inputs) + "/" + std::to_string(outputs);
        element->SetId(id);
        element->SetType("Pads");
        f.commander->GetElementTable()->AddElement(element);
        return id;
    }

    // The scene as drawn, one pixel per scene unit, with its top-left at the given point.
    QImage Render(const QRectF& area)
    {
        QImage image(area.size().toSize(), QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        scene.render(&painter, QRectF(image.rect()), area);
        return image;
    }

    EditorFixture f;
    QGraphicsScene scene;
    ElementNodeFactory factory{f.hub, &scene};
};

TEST_F(ElementNodeTest, PortsSitInRowsWithPortZeroOnTop)
{
    const double step = std::max(22.0, static_cast<double>(QFontMetrics(scene.font()).height()));
    const struct {
        int inputs;
        int outputs;
    } cases[] = {{0, 0}, {1, 1}, {2, 3}};
    for (const auto& c : cases) {
        ElementNodeBase* node = NodeFor(AddPadsElement(c.inputs, c.outputs));
        ASSERT_EQ(static_cast<size_t>(c.inputs), node->SinkPorts().size());
        ASSERT_EQ(static_cast<size_t>(c.outputs), node->SourcePorts().size());
        const int rows = std::max(c.inputs, c.outputs);
        for (int i = 0; i < c.inputs; ++i)
            EXPECT_EQ(QPointF(-10, -(rows - i) * step), node->SinkPorts()[i]->pos())
                << c.inputs << "/" << c.outputs;
        for (int i = 0; i < c.outputs; ++i)
            EXPECT_EQ(QPointF(410, -(rows - i) * step), node->SourcePorts()[i]->pos())
                << c.inputs << "/" << c.outputs;
        // The title area covers every row.
        EXPECT_LT(node->path().boundingRect().top(), -(rows + 1) * step);
        delete node;
    }
}

TEST_F(ElementNodeTest, TeesOutputsShareTheRowsOfItsInputAndTakeTheirTypes)
{
    ElementNodeBase* node = NodeFor(f.Make("Tee", 0, 0));
    ASSERT_EQ(1u, node->SinkPorts().size());
    ASSERT_EQ(5u, node->SourcePorts().size());
    EXPECT_EQ(node->SinkPorts()[0]->pos().y(), node->SourcePorts()[0]->pos().y());
    EXPECT_EQ("output", node->SourcePorts()[0]->Name().toStdString());
    EXPECT_EQ("cloned output 3", node->SourcePorts()[4]->Name().toStdString());
    for (QNEPort* port : node->GetPorts())
        EXPECT_EQ("2D Info", port->TypeName());
    EXPECT_LT(node->SourcePorts()[0]->pos().y(), node->SourcePorts()[4]->pos().y());
}

TEST_F(ElementNodeTest, APathPortIsDrawnBlue)
{
    ElementNodeBase* node = NodeFor(f.Make("Path Drawer", 0, 0));
    ASSERT_EQ(2u, node->SinkPorts().size());
    EXPECT_EQ("Path", node->SinkPorts()[1]->TypeName());
    EXPECT_EQ(QColor(Qt::blue), node->SinkPorts()[1]->brush().color());
}

TEST_F(ElementNodeTest, TheFillShowsWhetherTheNodeIsSelected)
{
    ElementNodeBase* node = NodeFor(f.Make("Blur", 0, 0));
    const QRectF outline = node->path().boundingRect();
    // Right of the title and description texts, inside the rounded corners.
    const QPointF spot(380, outline.top() + 12);
    const QRectF area(outline.topLeft() - QPointF(20, 20), outline.size() + QSizeF(40, 40));
    const QPoint pixel = (spot - area.topLeft()).toPoint();
    EXPECT_EQ(QColor(40, 40, 40), Render(area).pixelColor(pixel));
    node->setSelected(true);
    EXPECT_EQ(QColor(40, 40, 90), Render(area).pixelColor(pixel));
}

TEST_F(ElementNodeTest, TheEmbeddedSheetGivesThePanelTheNodesDarkBackground)
{
    ReadStyleSheet(f.home.Path() + "/no style folder");
    ElementNodeBase* node = NodeFor(f.Make("Blur", 0, 0));
    const QRectF outline = node->path().boundingRect();
    ASSERT_GT(outline.bottom(), 100.0) << "the panel hangs below the title area";
    const QImage image = Render(QRectF(0, 0, 400, outline.bottom()));
    // Between the editors, right of their labels.
    const QColor panel = image.pixelColor(395, 4);
    EXPECT_LT(panel.lightness(), 80) << panel.name().toStdString();
}

TEST_F(ElementNodeTest, AnEditInThePanelShowsInTheScene)
{
    ElementNodeBase* node = NodeFor(f.Make("Blur", 0, 0));
    QSpinBox* box = nullptr;
    for (QGraphicsItem* child : node->childItems()) {
        if (auto* proxy = dynamic_cast<QGraphicsProxyWidget*>(child))
            box = proxy->widget()->findChild<QSpinBox*>();
    }
    ASSERT_NE(nullptr, box);
    QGraphicsView view(&scene);
    view.resize(600, 500);
    view.show();
    view.centerOn(node);
    QCoreApplication::processEvents();
    const QImage before = view.viewport()->grab().toImage();
    box->setValue(box->value() + 4);
    QCoreApplication::processEvents();
    EXPECT_NE(before, view.viewport()->grab().toImage()) << "the panel's picture in the view is stale";
}

TEST_F(ElementNodeTest, ATallPanelIsCutAtAThousand)
{
    auto element = boost::make_shared<ManySettingsElement>(f.hub);
    element->SetId("Many_0");
    element->SetType("Many");
    f.commander->GetElementTable()->AddElement(element);
    ElementNodeBase* node = NodeFor("Many_0");
    node->RefreshNode();
    EXPECT_EQ(1000.0, node->path().boundingRect().bottom());
}

TEST_F(ElementNodeTest, MovingANodeWritesItsPositionTruncatedTowardZero)
{
    const std::string id = f.Make("Blur", 30, -40);
    ElementNodeBase* node = NodeFor(id);
    EXPECT_EQ(QPointF(30, -40), node->pos());
    const boost::shared_ptr<ElementBase> element = f.commander->GetElement(id);
    const struct {
        QPointF place;
        int x;
        int y;
    } cases[] = {{{-10.7, 5.9}, -10, 5}, {{250.2, -0.5}, 250, 0}, {{-0.9, -99.99}, 0, -99}};
    for (const auto& c : cases) {
        node->setPos(c.place);
        EXPECT_EQ(c.x, element->position_x.Get());
        EXPECT_EQ(c.y, element->position_y.Get());
    }
}

TEST_F(ElementNodeTest, BringToFrontLiftsTheNodeAboveEveryItem)
{
    ElementNodeBase* first = NodeFor(f.Make("Blur", 0, 0));
    ElementNodeBase* second = NodeFor(f.Make("Blur", 100, 0));
    second->setZValue(7);
    first->BringToFront();
    EXPECT_EQ(8.0, first->zValue());
}

TEST_F(ElementNodeTest, ANodeOfAnUnknownIdIsRefused)
{
    EXPECT_ANY_THROW(NodeFor("Nothing_0"));
    EXPECT_TRUE(scene.items().isEmpty());
}

TEST_F(ElementNodeTest, APreviewNodeShowsTitleOnly)
{
    const std::string id = f.Make("Blur", 0, 0);
    f.commander->GetElement(id)->SetType("Preview");
    ElementNodeBase* node = NodeFor(id);
    const QRectF outline = node->path().boundingRect();
    EXPECT_EQ(0.0, outline.bottom());
    EXPECT_EQ(400.0, outline.width());
}

TEST_F(ElementNodeTest, NoKindOfNodeIsCollapsible)
{
    for (const std::string type : {"Blur", "Preview"}) {
        const std::string id = f.Make("Blur", 0, 0);
        f.commander->GetElement(id)->SetType(type);
        EXPECT_FALSE(NodeFor(id)->IsCollapsible()) << type;
    }
}

TEST(PreviewGraphicsItemTest, KeepsTheAspectRatioAndItsWidthSteps)
{
    PreviewGraphicsItem item(boost::shared_ptr<ControlAndStatus>(), nullptr);
    item.SetImage(PassableItem<QImage>(boost::make_shared<QImage>(640, 480, QImage::Format_RGB888)));
    item.SetWidth(400);
    EXPECT_EQ(QRectF(0, 0, 400, 300), item.boundingRect());

    QGraphicsScene scene;
    scene.addItem(&item);
    const auto double_click = [&](Qt::MouseButton button) {
        QGraphicsSceneMouseEvent event(QEvent::GraphicsSceneMouseDoubleClick);
        event.setButton(button);
        event.setScenePos(QPointF(10, 10));
        scene.sendEvent(&item, &event);
    };
    double_click(Qt::LeftButton);
    EXPECT_EQ(500.0, item.Width());
    for (int i = 0; i < 6; ++i)
        double_click(Qt::RightButton);
    EXPECT_EQ(100.0, item.Width());
    scene.removeItem(&item);
}

TEST(PreviewGraphicsItemTest, InvalidAndEmptyImagesAreIgnored)
{
    PreviewGraphicsItem item(boost::shared_ptr<ControlAndStatus>(), nullptr);
    item.SetImage(PassableItem<QImage>(boost::make_shared<QImage>(200, 100, QImage::Format_RGB888)));
    item.SetImage(PassableItem<QImage>());
    item.SetImage(PassableItem<QImage>(boost::make_shared<QImage>()));
    item.SetImage(PassableItem<QImage>(boost::make_shared<QImage>(0, 0, QImage::Format_RGB888)));
    EXPECT_EQ(QRectF(0, 0, 300, 150), item.boundingRect());
}

}  // namespace
