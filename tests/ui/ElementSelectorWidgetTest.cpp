#include "ui/sidepanel/ElementSelectorWidget.h"

#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "core/NodeControls.h"
#include "WindowTestSupport.h"
#include "support/LogCapture.h"
#include "ui/frame/StyleSheet.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCompleter>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>
#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

QTreeWidgetItem* CategoryRow(QTreeWidget* tree, const QString& name)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (tree->topLevelItem(i)->text(0) == name)
            return tree->topLevelItem(i);
    }
    return nullptr;
}

class ElementSelectorWidgetTest : public ::testing::Test {
protected:
    ElementSelectorWidgetTest()
        : hub_(boost::make_shared<ControlAndStatus>()),
          commander_(boost::make_shared<PowerCommanderTop>(hub_)), selector_(hub_)
    {
        selector_.resize(400, 600);
        selector_.show();
        selector_.ExpandAllBox()->setChecked(true);
    }

    std::string Chosen() { return hub_->GetSharedControl<NodeControls>("")->chosen_element_type.Get(); }
    void Choose(const std::string& type)
    {
        hub_->GetSharedControl<NodeControls>("")->chosen_element_type.Set(type);
    }

    QTreeWidgetItem* Category(const QString& name) { return CategoryRow(selector_.Tree(), name); }

    // A click on the row, as a person makes it.
    void ClickRow(QTreeWidgetItem* item)
    {
        QTreeWidget* tree = selector_.Tree();
        tree->scrollToItem(item);
        // The row is wider than the list, which scrolls sideways: its part on show.
        const QRect rect = tree->visualItemRect(item) & tree->viewport()->rect();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    }

    void Search(const QString& text)
    {
        selector_.SearchLine()->setFocus();
        selector_.SearchLine()->clear();
        QTest::keyClicks(selector_.SearchLine(), text);
        QTest::keyClick(selector_.SearchLine(), Qt::Key_Return);
    }

    testsupport::ScopedHome home_;
    boost::shared_ptr<ControlAndStatus> hub_;
    boost::shared_ptr<PowerCommanderTop> commander_;
    ElementSelectorWidget selector_;
};

}  // namespace

TEST_F(ElementSelectorWidgetTest, CategoriesAscendWithElementsInCatalogueOrder)
{
    const std::vector<std::pair<QString, QStringList>> expected = {
        {"Bluring", {"Blur"}},
        {"Camera", {"Camera"}},
        {"Colour", {"False Colour", "Colour Space Conversion"}},
        {"Contour", {"Contour Detector", "Path Drawer"}},
        {"Edge Detections", {"Canny"}},
        {"Input", {"Video Read", "Image Read"}},
        {"Main Display", {"Main Display"}},
        {"Morphilogical", {"Dilation", "Erosion"}},
        {"Snap Shot", {"Snap Shot"}},
        {"Tees", {"Tee"}},
        {"Thresholding", {"Threshold", "In Range Threshold"}},
        {"Video", {"Video In Video", "Frame Syncronizer"}},
    };
    QTreeWidget* tree = selector_.Tree();
    ASSERT_EQ(tree->topLevelItemCount(), static_cast<int>(expected.size()));
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* category = tree->topLevelItem(i);
        EXPECT_EQ(category->text(0), expected[i].first);
        QStringList names;
        for (int c = 0; c < category->childCount(); ++c)
            names << category->child(c)->text(0);
        EXPECT_EQ(names, expected[i].second) << expected[i].first.toStdString();
    }
    EXPECT_EQ(tree->headerItem()->text(0), "Elements");
    EXPECT_EQ(tree->headerItem()->text(1), "Descriptions");
    EXPECT_EQ(Category("Bluring")->child(0)->text(1), "Basic block blur");
}

TEST_F(ElementSelectorWidgetTest, TheTreeStartsCollapsedAndExpandAllOpensIt)
{
    ElementSelectorWidget fresh(hub_);
    EXPECT_FALSE(fresh.ExpandAllBox()->isChecked());
    for (int i = 0; i < fresh.Tree()->topLevelItemCount(); ++i)
        EXPECT_FALSE(fresh.Tree()->topLevelItem(i)->isExpanded());
    fresh.ExpandAllBox()->setChecked(true);
    for (int i = 0; i < fresh.Tree()->topLevelItemCount(); ++i)
        EXPECT_TRUE(fresh.Tree()->topLevelItem(i)->isExpanded());
}

TEST_F(ElementSelectorWidgetTest, GroupingIsStableWithinACategory)
{
    const std::vector<CatalogueEntry> entries = {
        {"b", "Z", ""}, {"a", "Y", ""}, {"c", "Z", ""}, {"d", "Y", ""}, {"e", "A", ""}};
    const auto runs = ElementSelectorWidget::GroupByCategory(entries);
    std::vector<std::vector<std::string>> names;
    for (const auto& run : runs) {
        names.emplace_back();
        for (const CatalogueEntry& entry : run)
            names.back().push_back(entry.name);
    }
    const std::vector<std::vector<std::string>> expected = {{"e"}, {"a", "d"}, {"b", "c"}};
    EXPECT_EQ(names, expected);
    EXPECT_TRUE(ElementSelectorWidget::GroupByCategory({}).empty());
}

TEST_F(ElementSelectorWidgetTest, TheCompleterOffersBlurForBlu)
{
    QCompleter* completer = selector_.SearchLine()->completer();
    ASSERT_NE(completer, nullptr);
    selector_.SearchLine()->setFocus();
    QTest::keyClicks(selector_.SearchLine(), "Blu");
    QAbstractItemModel* offered = completer->completionModel();
    ASSERT_EQ(offered->rowCount(), 1);
    EXPECT_EQ(offered->index(0, 0).data().toString(), "Blur");
    EXPECT_TRUE(completer->popup()->isVisible());
    completer->setCompletionPrefix("blu");
    EXPECT_EQ(completer->currentCompletion(), "Blur");
}

TEST_F(ElementSelectorWidgetTest, EnterOnAnExactNameChoosesThatElementRow)
{
    struct Case {
        QString typed;
        std::string chosen;
    };
    // Camera, Snap Shot and Main Display are also category names: the element row wins.
    const std::vector<Case> cases = {
        {"Blur", "Blur"}, {"Camera", "Camera"}, {"Snap Shot", "Snap Shot"}, {"Main Display", "Main Display"}};
    for (const Case& c : cases) {
        Choose("");
        Search(c.typed);
        EXPECT_EQ(Chosen(), c.chosen) << c.typed.toStdString();
        QTreeWidgetItem* current = selector_.Tree()->currentItem();
        ASSERT_NE(current, nullptr);
        EXPECT_EQ(current->text(0), c.typed);
        EXPECT_NE(current->parent(), nullptr) << c.typed.toStdString();
    }
}

TEST_F(ElementSelectorWidgetTest, NamesThatMatchNoElementRowChooseNothing)
{
    for (const QString& typed : QStringList{"blur", "Blu", "Bluring", "Colour", "nothing at all", ""}) {
        Choose("Tee");
        Search(typed);
        EXPECT_EQ(Chosen(), "Tee") << typed.toStdString();
    }
}

// Otherwise the next double-click places the earlier element without a word.
TEST_F(ElementSelectorWidgetTest, EnterOnANameThatIsNoElementWarnsOnceNamingTheText)
{
    for (const QString& typed : QStringList{"blur", "Bluring", "nothing at all"}) {
        Choose("Tee");
        LogCapture log;
        Search(typed);
        selector_.SearchLine()->clearFocus();  // leaving the line finishes the same edit again
        EXPECT_EQ(1, log.LinesWith("[WARNING]")) << log.Text();
        EXPECT_EQ(1, log.LinesWith("\"" + typed.toStdString() + "\"")) << log.Text();
        EXPECT_TRUE(log.Contains("\"Tee\"")) << "what a double-click places: " << log.Text();
    }
    Choose("Tee");
    LogCapture log;
    Search("");
    Search("Blur");
    EXPECT_EQ(0, log.LinesWith("[WARNING]")) << log.Text();
}

TEST_F(ElementSelectorWidgetTest, ClickingAnElementRowChoosesItAndACategoryRowNothing)
{
    ClickRow(Category("Bluring")->child(0));
    EXPECT_EQ(Chosen(), "Blur");
    for (const QString& category : QStringList{"Camera", "Snap Shot", "Input"}) {
        ClickRow(Category(category));
        EXPECT_EQ(Chosen(), "Blur") << category.toStdString();
    }
    ClickRow(Category("Camera")->child(0));
    EXPECT_EQ(Chosen(), "Camera");
}

namespace {

// The selector inside a window with the application's style sheet, as the side panel
// holds it, at the width it has there.
class StyledSelectorTest : public ::testing::Test {
protected:
    StyledSelectorTest()
        : hub_(boost::make_shared<ControlAndStatus>()),
          commander_(boost::make_shared<PowerCommanderTop>(hub_)), window_(MakeStyled())
    {
        selector_ = new ElementSelectorWidget(hub_, window_.get());
        window_->resize(300, 700);
        selector_->resize(window_->size());
        window_->show();
        selector_->ExpandAllBox()->setChecked(true);
        QCoreApplication::processEvents();
    }

    static std::unique_ptr<QWidget> MakeStyled()
    {
        ReadStyleSheet("/no/such/style/folder");
        auto window = std::make_unique<QWidget>();
        ApplyStyleSheet(window.get());
        return window;
    }

    std::vector<QTreeWidgetItem*> ElementRows() const
    {
        std::vector<QTreeWidgetItem*> rows;
        for (int i = 0; i < selector_->Tree()->topLevelItemCount(); ++i)
            for (int c = 0; c < selector_->Tree()->topLevelItem(i)->childCount(); ++c)
                rows.push_back(selector_->Tree()->topLevelItem(i)->child(c));
        return rows;
    }

    // Where the cell shows in the list's viewport, scrolled into view.
    QRect Cell(QTreeWidgetItem* item, int column)
    {
        QTreeWidget* tree = selector_->Tree();
        tree->scrollToItem(item);
        const QRect row = tree->visualItemRect(item);
        const QRect cell(tree->columnViewportPosition(column), row.top(), tree->columnWidth(column),
                         row.height());
        return cell & tree->viewport()->rect();
    }

    // How wide the light pixels of the cell's text spread, as drawn.
    int DrawnTextWidth(QTreeWidgetItem* item, int column)
    {
        QTreeWidget* tree = selector_->Tree();
        const QRect cell = Cell(item, column);
        const QImage shown = tree->viewport()->grab().toImage();
        int left = cell.right() + 1, right = cell.left() - 1;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                if (qGray(shown.pixel(x, y)) > 120) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        return right - left + 1;
    }

    testsupport::ScopedHome home_;
    boost::shared_ptr<ControlAndStatus> hub_;
    boost::shared_ptr<PowerCommanderTop> commander_;
    std::unique_ptr<QWidget> window_;
    ElementSelectorWidget* selector_ = nullptr;
};

}  // namespace

TEST_F(StyledSelectorTest, EveryNameShowsWholeAndEveryDescriptionHasRoom)
{
    QTreeWidget* tree = selector_->Tree();
    const QFontMetrics metrics(tree->font());
    for (QTreeWidgetItem* row : ElementRows()) {
        const QString name = row->text(0);
        // Drawn to its last letter: an ellipsis would end it early.
        EXPECT_GE(DrawnTextWidth(row, 0), metrics.horizontalAdvance(name) - 3) << name.toStdString();
        EXPECT_GE(tree->columnWidth(1), metrics.horizontalAdvance(row->text(1))) << name.toStdString();
    }
}

TEST_F(StyledSelectorTest, TheHeaderStaysDarkBeyondNarrowColumns)
{
    selector_->ExpandAllBox()->setChecked(false);
    selector_->resize(420, 700);
    QCoreApplication::processEvents();
    QHeaderView* header = selector_->Tree()->header();
    const int columns = header->sectionViewportPosition(1) + header->sectionSize(1);
    ASSERT_LT(columns, header->width() - 10) << "the collapsed list's columns fill it";
    const QImage shown = header->grab().toImage();
    EXPECT_LT(qGray(shown.pixel(header->width() - 5, header->height() / 2)), 80);
}

TEST_F(StyledSelectorTest, HoveringACellShowsItsWholeTextAsAToolTip)
{
    QTreeWidget* tree = selector_->Tree();
    QTreeWidgetItem* row = CategoryRow(tree, "Thresholding")->child(1);
    ASSERT_EQ(row->text(0), "In Range Threshold");
    for (int column : {0, 1}) {
        const QRect cell = Cell(row, column);
        ASSERT_FALSE(cell.isEmpty()) << column;
        windowtest::HoverForToolTip(tree->viewport(), cell.center());
        auto* tip = qobject_cast<QLabel*>(windowtest::ShownToolTip());
        ASSERT_NE(tip, nullptr) << column;
        EXPECT_EQ(tip->text(), row->text(column));
        EXPECT_TRUE(windowtest::IsLightTextOnDark(tip->grab().toImage())) << column;
        QToolTip::hideText();
    }
}

TEST_F(StyledSelectorTest, TheCompletionsAreLightOnDark)
{
    QCompleter* completer = selector_->SearchLine()->completer();
    selector_->SearchLine()->setFocus();
    QTest::keyClicks(selector_->SearchLine(), "C");
    ASSERT_TRUE(completer->popup()->isVisible());
    EXPECT_TRUE(completer->popup()->isWindow());
    EXPECT_TRUE(windowtest::IsLightTextOnDark(completer->popup()->grab().toImage()));
    completer->popup()->hide();
}
