// The index choice box starts on the stored index (none for an index off the list)
// and writes only a person's choice.
#include "ui/settings/IntComboBoxSettingItem.h"

#include <QComboBox>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

const std::vector<std::string> kShapes = {"Rectangle", "Cross", "Ellipse"};

}  // namespace

TEST(IntComboBoxSettingItemTest, StartsOnTheStoredIndexWithoutWriting)
{
    const std::pair<int, QString> cases[] = {{0, "Rectangle"}, {2, "Ellipse"}, {3, ""}, {-1, ""}};
    for (const auto& [stored, shown] : cases) {
        ThreadSafeVariable<int> shape(stored);
        IntComboBoxSettingItem editor(&shape, "Shape", kShapes, nullptr);
        QCoreApplication::processEvents();
        EXPECT_EQ(editor.Box()->currentText(), shown) << stored;
        EXPECT_EQ(shape.Get(), stored);
    }
}

TEST(IntComboBoxSettingItemTest, AChoiceWritesTheIndexThenSignalsThenUpdates)
{
    ThreadSafeVariable<int> shape(7);
    boost::signals2::signal<void()> changed;
    std::vector<std::string> order;
    changed.connect([&] { order.push_back("signal:" + std::to_string(shape.Get())); });
    IntComboBoxSettingItem editor(&shape, "Shape", kShapes, nullptr, &changed);
    QObject::connect(&editor, &GUISettingItem::UpdateSettingsSignal, [&] { order.push_back("update"); });
    editor.Box()->setCurrentIndex(1);
    EXPECT_EQ(shape.Get(), 1);
    EXPECT_EQ(order, (std::vector<std::string>{"signal:1", "update"}));
}
