// Ports and lines as items, without an editor: colours, labels, the lines a port owns.
#include "ui/editor/QNEConnection.h"
#include "ui/editor/QNEPort.h"

#include <QApplication>
#include <QBrush>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QPen>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(QNEPortTest, ColoursAndToolTipFollowThePayloadTypeName)
{
    const struct {
        const char* type;
        QColor pen;
        QColor brush;
    } cases[] = {
        {"2D Info", Qt::darkRed, Qt::red},     {"Path", Qt::darkGreen, Qt::blue},
        {"Audio", Qt::yellow, Qt::darkYellow}, {"Keypoint", Qt::darkGreen, Qt::green},
        {"", Qt::darkGreen, Qt::green},
    };
    QGraphicsScene scene;
    auto* parent = new QGraphicsRectItem();
    scene.addItem(parent);
    for (const auto& c : cases) {
        QNEPort port(parent);
        port.SetTypeName(c.type);
        EXPECT_EQ(c.pen, port.pen().color()) << c.type;
        EXPECT_EQ(c.brush, port.brush().color()) << c.type;
        EXPECT_EQ(QString(c.type), port.toolTip());
        EXPECT_EQ(c.type, port.TypeName());
    }
}

TEST(QNEPortTest, TheLabelSitsInsideTheNodeOnEitherSide)
{
    QGraphicsScene scene;
    auto* parent = new QGraphicsRectItem();
    scene.addItem(parent);
    QNEPort port(parent);
    port.SetName("second input");
    port.SetIsOutput(false);
    ASSERT_EQ(1, port.childItems().size());
    const QGraphicsItem* label = port.childItems().front();
    EXPECT_EQ(13.0, label->pos().x());
    EXPECT_DOUBLE_EQ(-label->boundingRect().height() / 2, label->pos().y());
    port.SetIsOutput(true);
    EXPECT_DOUBLE_EQ(-13.0 - label->boundingRect().width(), label->pos().x());
    EXPECT_EQ(QRectF(-10, -10, 20, 20), port.path().boundingRect());
}

TEST(QNEPortTest, APortOutsideASceneTakesTheApplicationFont)
{
    QNEPort port(nullptr);
    port.SetName("input");
    port.SetIsOutput(false);
    const auto* label = static_cast<QGraphicsTextItem*>(port.childItems().front());
    EXPECT_EQ(QApplication::font().family(), label->font().family());
    EXPECT_TRUE(label->font().bold());
}

// Two ports on two parents, both in a scene.
struct TwoPorts {
    TwoPorts()
    {
        scene.addItem(left);
        scene.addItem(right);
        output = new QNEPort(left);
        output->SetIsOutput(true);
        input = new QNEPort(right);
        input->SetIsOutput(false);
        right->setPos(500, 100);
    }

    QNEConnection* Link(QNEPort* first, QNEPort* second)
    {
        auto* line = new QNEConnection();
        scene.addItem(line);
        line->SetPort1(first);
        line->SetPort2(second);
        line->Disconnected.connect([this](QNEPort* out, QNEPort* in) {
            ++disconnects;
            EXPECT_TRUE(out->IsOutput());
            EXPECT_FALSE(in->IsOutput());
        });
        return line;
    }

    QGraphicsScene scene;
    QGraphicsRectItem* left = new QGraphicsRectItem();
    QGraphicsRectItem* right = new QGraphicsRectItem();
    QNEPort* output;
    QNEPort* input;
    int disconnects = 0;
};

TEST(QNEPortTest, SetPort2AnnouncesOutputThenInputWhicheverEndCameFirst)
{
    TwoPorts p;
    for (bool from_input : {false, true}) {
        QNEPort* announced_output = nullptr;
        QNEPort* announced_input = nullptr;
        auto* line = new QNEConnection();
        p.scene.addItem(line);
        line->Connected.connect([&](QNEPort* out, QNEPort* in) {
            announced_output = out;
            announced_input = in;
        });
        line->SetPort1(from_input ? p.input : p.output);
        line->SetPort2(from_input ? p.output : p.input);
        EXPECT_EQ(p.output, announced_output);
        EXPECT_EQ(p.input, announced_input);
        delete line;
    }
}

TEST(QNEPortTest, APortHoldingTwoLinesDeletesBothAndEachTellsOnce)
{
    TwoPorts p;
    auto* other = new QNEPort(p.right);
    other->SetIsOutput(false);
    p.Link(p.output, p.input);
    p.Link(other, p.output);
    ASSERT_EQ(2, p.output->Connections().size());
    EXPECT_TRUE(p.output->IsConnected(p.input));
    EXPECT_TRUE(p.output->IsConnected(other));

    delete p.output;
    EXPECT_EQ(2, p.disconnects);
    EXPECT_TRUE(p.input->Connections().isEmpty());
    EXPECT_TRUE(other->Connections().isEmpty());
}

TEST(QNEPortTest, ASuppressedPortsLinesTellNobody)
{
    TwoPorts p;
    p.Link(p.output, p.input);
    p.input->SetSuppressDisconnect(true);
    delete p.input;
    EXPECT_EQ(0, p.disconnects);
    EXPECT_TRUE(p.output->Connections().isEmpty());
}

TEST(QNEPortTest, MovingANodeMovesTheEndsOfItsLines)
{
    TwoPorts p;
    QNEConnection* line = p.Link(p.output, p.input);
    p.left->setPos(-200, 50);
    EXPECT_EQ(QPointF(-200, 50), line->path().pointAtPercent(0));
    EXPECT_EQ(QPointF(500, 100), line->path().pointAtPercent(1));
}

TEST(QNEPortTest, MovingTheStartOfADraggedLineKeepsItsLooseEnd)
{
    TwoPorts p;
    auto* line = new QNEConnection();
    p.scene.addItem(line);
    line->SetPort1(p.output);
    line->SetPos1(p.output->scenePos());
    line->SetPos2(QPointF(300, 300));
    line->UpdatePath();
    p.left->setPos(40, 0);
    EXPECT_EQ(QPointF(40, 0), line->path().pointAtPercent(0));
    EXPECT_EQ(QPointF(300, 300), line->path().pointAtPercent(1));
    delete line;
    EXPECT_TRUE(p.output->Connections().isEmpty());
}

TEST(QNEPortTest, TheCurveBendsThroughItsControlPoints)
{
    QNEConnection line;
    line.SetPos1(QPointF(0, 0));
    line.SetPos2(QPointF(100, 200));
    line.UpdatePath();
    const QPainterPath path = line.path();
    ASSERT_EQ(4, path.elementCount());
    EXPECT_EQ(QPointF(25, 20), QPointF(path.elementAt(1)));
    EXPECT_EQ(QPointF(75, 180), QPointF(path.elementAt(2)));
    EXPECT_EQ(QPointF(100, 200), QPointF(path.elementAt(3)));
    EXPECT_EQ(-1.0, line.zValue());
    EXPECT_EQ(13.0, line.pen().widthF());
}

}  // namespace
