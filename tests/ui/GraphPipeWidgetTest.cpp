// The graph widget plots what arrives through its pipe.
#include "ui/display/GraphPipeWidget.h"

#include "PipelineFixture.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>
#include <qcustomplot.h>

using namespace testsupport;

namespace {

class GraphPipeWidgetTest : public ::testing::Test {
protected:
    void Push(std::vector<double> y, bool clear = false)
    {
        auto data = boost::make_shared<GraphData>();
        for (std::size_t i = 0; i < y.size(); ++i)
            data->x.push_back(static_cast<double>(i));
        data->y = std::move(y);
        data->clear = clear;
        pipe_->Push(PassableItem<GraphData>(data));
    }

    // Runs one tick of the widget's timer.
    void Tick() { QMetaObject::invokeMethod(&widget_, "TimerUpdate"); }

    QCustomPlot& Plot() { return *widget_.Plot(); }

    boost::shared_ptr<InternalPipe<GraphData>> pipe_ = boost::make_shared<InternalPipe<GraphData>>();
    GraphPipeWidget widget_{nullptr, pipe_, nullptr};
};

TEST_F(GraphPipeWidgetTest, OneTickTakesEverythingQueuedAndReplotsOnce)
{
    widget_.show();
    int replots = 0;
    QObject::connect(&Plot(), &QCustomPlot::afterReplot, [&] { ++replots; });
    QApplication::processEvents();
    replots = 0;
    Push({1, 2});
    Push({3, 4, 5});
    Push({6});
    Tick();
    QApplication::processEvents();
    EXPECT_EQ(replots, 1);
    EXPECT_FALSE(pipe_->Pop().IsValid());
    ASSERT_EQ(Plot().graphCount(), 3);
    EXPECT_EQ(Plot().graph(1)->data()->size(), 3);
    EXPECT_DOUBLE_EQ(Plot().graph(1)->data()->at(2)->value, 5.0);
    EXPECT_EQ(Plot().xAxis->label(), "x");
    EXPECT_EQ(Plot().yAxis->label(), "y");
    EXPECT_DOUBLE_EQ(Plot().yAxis->range().upper, 6.0);
    EXPECT_GE(widget_.minimumHeight(), 300);
}

TEST_F(GraphPipeWidgetTest, TheClearFlagReplacesEarlierGraphs)
{
    Push({1});
    Push({2});
    Tick();
    EXPECT_EQ(Plot().graphCount(), 2);
    Push({7, 8}, true);
    Tick();
    ASSERT_EQ(Plot().graphCount(), 1);
    EXPECT_DOUBLE_EQ(Plot().graph(0)->data()->at(1)->value, 8.0);
}

TEST_F(GraphPipeWidgetTest, KeepsABoundedNumberOfGraphsDroppingTheOldest)
{
    const int total = GraphPipeWidget::kMaxGraphs + 5;
    for (int i = 0; i < total; ++i) {
        Push({static_cast<double>(i)});
        Tick();
    }
    ASSERT_EQ(Plot().graphCount(), GraphPipeWidget::kMaxGraphs);
    EXPECT_DOUBLE_EQ(Plot().graph(0)->data()->at(0)->value, 5.0);
    EXPECT_DOUBLE_EQ(Plot().graph(GraphPipeWidget::kMaxGraphs - 1)->data()->at(0)->value, total - 1.0);
}

TEST_F(GraphPipeWidgetTest, TheTimerDrainsThePipe)
{
    widget_.show();
    Push({1, 2, 3});
    EXPECT_TRUE(WaitForGui([&] { return Plot().graphCount() == 1; }));
}

}  // namespace
