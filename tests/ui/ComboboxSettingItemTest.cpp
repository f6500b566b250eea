// The text choice box starts on the stored text and never writes it on its own; a
// choice writes, fires the back-end signal, then emits UpdateSettingsSignal().
#include "ui/settings/ComboboxSettingItem.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

const std::vector<std::string> kItems = {"BGR", "RGB", "HSV"};

}  // namespace

TEST(ComboboxSettingItemTest, StartsOnTheStoredTextWithoutWriting)
{
    struct Case {
        std::string stored;
        QString shown;
        int count;
    };
    const Case cases[] = {{"HSV", "HSV", 3}, {"BGR", "BGR", 3}, {"Grey", "Grey", 4}, {"", "", 3}};
    for (const Case& c : cases) {
        ThreadSafeVariable<std::string> space(c.stored);
        ComboboxSettingItem editor(&space, "Colour Space", kItems, nullptr);
        QCoreApplication::processEvents();
        EXPECT_EQ(editor.Box()->currentText(), c.shown) << c.stored;
        EXPECT_EQ(editor.Box()->count(), c.count) << c.stored;
        EXPECT_EQ(space.Get(), c.stored);
    }
}

TEST(ComboboxSettingItemTest, AChoiceWritesThenSignalsThenUpdates)
{
    ThreadSafeVariable<std::string> space("BGR");
    boost::signals2::signal<void()> changed;
    std::vector<std::string> order;
    changed.connect([&] { order.push_back("signal:" + space.Get()); });
    ComboboxSettingItem editor(&space, "Colour Space", kItems, nullptr, &changed);
    QObject::connect(&editor, &GUISettingItem::UpdateSettingsSignal, [&] { order.push_back("update"); });
    editor.Box()->setCurrentIndex(2);
    EXPECT_EQ(space.Get(), "HSV");
    EXPECT_EQ(order, (std::vector<std::string>{"signal:HSV", "update"}));
}

TEST(ComboboxSettingItemTest, AHandlerMayQueueTheEditorsDeletion)
{
    ThreadSafeVariable<std::string> space("BGR");
    boost::signals2::signal<void()> reset;
    auto* editor = new ComboboxSettingItem(&space, "Colour Space", kItems, nullptr, &reset);
    QPointer<ComboboxSettingItem> watch(editor);
    reset.connect([editor] { editor->deleteLater(); });
    editor->Box()->setCurrentIndex(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return watch.isNull(); }, 5000));
    EXPECT_EQ(space.Get(), "RGB");
}
