#include "ui/panels/VariableViewer.h"

#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "engine/ElementBase.h"
#include "TimerTicks.h"
#include "WindowTestSupport.h"

#include <QCheckBox>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using windowtest::WaitForGui;

namespace {

class VariableViewerTest : public ::testing::Test {
protected:
    VariableViewerTest()
        : hub_(boost::make_shared<ControlAndStatus>()),
          commander_(boost::make_shared<PowerCommanderTop>(hub_)), viewer_(hub_)
    {
        hub_->SetCommander(commander_);
        viewer_.show();
    }
    ~VariableViewerTest() override { hub_->SetCommander(nullptr); }

    QStandardItemModel* Model() { return viewer_.Model(); }
    void ClickRead() { viewer_.findChild<QPushButton*>()->click(); }

    // The texts of the row whose setting name (column 2) is the given one; empty if none.
    std::vector<std::string> RowOf(const std::string& id, const std::string& setting)
    {
        for (int row = 0; row < Model()->rowCount(); ++row) {
            if (Model()->item(row, 1)->text().toStdString() != id ||
                Model()->item(row, 2)->text().toStdString() != setting)
                continue;
            std::vector<std::string> texts;
            for (int column = 0; column < Model()->columnCount(); ++column)
                texts.push_back(Model()->item(row, column)->text().toStdString());
            return texts;
        }
        return {};
    }

    int Row(const std::string& id, const std::string& setting)
    {
        for (int row = 0; row < Model()->rowCount(); ++row) {
            if (Model()->item(row, 1)->text().toStdString() == id &&
                Model()->item(row, 2)->text().toStdString() == setting)
                return row;
        }
        return -1;
    }

    testsupport::ScopedHome home_;
    boost::shared_ptr<ControlAndStatus> hub_;
    boost::shared_ptr<PowerCommanderTop> commander_;
    VariableViewer viewer_;
};

}  // namespace

TEST_F(VariableViewerTest, ReadVariablesFillsOneRowPerSetting)
{
    const std::string id = commander_->MakeElement("Blur", "");
    ClickRead();
    EXPECT_EQ(Model()->columnCount(), 5);
    EXPECT_EQ(static_cast<std::size_t>(Model()->rowCount()),
              commander_->GetElementTable()->GetParameterStore().GetTable().size());
    const std::vector<std::string> width = RowOf(id, "_width");
    ASSERT_EQ(width.size(), 5u);
    EXPECT_EQ(width[0], "Blur");
    EXPECT_EQ(width[1], id);
    EXPECT_EQ(width[3], commander_->GetElement(id)->settings.GetValueAsString("_width"));
    EXPECT_FALSE(width[4].empty());
}

TEST_F(VariableViewerTest, CellsAreReadOnly)
{
    commander_->MakeElement("Blur", "");
    ClickRead();
    auto* table = viewer_.findChild<QTableView*>();
    EXPECT_EQ(table->editTriggers(), QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < Model()->rowCount(); ++row) {
        for (int column = 0; column < Model()->columnCount(); ++column)
            EXPECT_FALSE(Model()->item(row, column)->flags() & Qt::ItemIsEditable);
    }
}

TEST_F(VariableViewerTest, ARefreshChangesTheTextOfTheCellsItKeeps)
{
    const std::string id = commander_->MakeElement("Blur", "");
    ClickRead();
    const int row = Row(id, "_width");
    ASSERT_GE(row, 0);
    QStandardItem* value_cell = Model()->item(row, 3);
    commander_->GetElement(id)->settings.SetValue("_width", "7", "");
    ClickRead();
    EXPECT_EQ(Model()->item(row, 3), value_cell);
    EXPECT_EQ(value_cell->text(), "7");
}

TEST_F(VariableViewerTest, TheTimerFollowsNewAndRemovedElements)
{
    const std::string blur = commander_->MakeElement("Blur", "");
    viewer_.findChild<QCheckBox*>()->click();
    ASSERT_TRUE(WaitForGui([&] { return Row(blur, "_width") >= 0; }));
    const int rows_with_blur = Model()->rowCount();

    const std::string tee = commander_->MakeElement("Tee", "");
    ASSERT_TRUE(WaitForGui([&] { return Model()->rowCount() > rows_with_blur; }));
    commander_->RemoveElement(tee);
    ASSERT_TRUE(WaitForGui([&] { return Model()->rowCount() == rows_with_blur; }));
    commander_->RemoveElement(blur);
    EXPECT_TRUE(WaitForGui([&] { return Model()->rowCount() == 0; }));

    viewer_.findChild<QCheckBox*>()->click();
    EXPECT_FALSE(viewer_.findChild<QTimer*>()->isActive());
    commander_->MakeElement("Blur", "");
    // Three of the timer's 100 ms intervals, in which a timer left running would refresh.
    ASSERT_TRUE(windowtest::WaitIntervals(std::chrono::milliseconds(100), 3));
    EXPECT_EQ(Model()->rowCount(), 0);
}
