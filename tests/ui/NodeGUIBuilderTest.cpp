// An element's node panel, built through a real commander: what it shows, and that an
// edit reaches the element as its settings-changed signal and flag.
#include "ui/settings/panels/NodeGUIBuilder.h"

#include "PanelFixture.h"
#include "support/LogCapture.h"
#include "engine/ElementBase.h"
#include "ui/settings/GUISettingItem.h"

#include <QImage>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <set>
#include <string>

namespace {

// Whether the widget, grabbed as a person would see it, shows more than one colour.
bool ShowsSomething(QWidget& widget)
{
    const QImage image = widget.grab().toImage();
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    }
    return colours.size() > 1;
}

class NodeGUIBuilderTest : public PanelFixture {
protected:
    boost::shared_ptr<ElementBase> Element(const std::string& id) { return commander_->GetElement(id); }
};

}  // namespace

TEST_F(NodeGUIBuilderTest, BlurPanelShowsWidthAndHeightAndAnEditReachesTheElement)
{
    const std::string id = commander_->MakeElement("Blur", "");
    const boost::shared_ptr<ElementBase> blur = Element(id);
    NodeGUIBuilder panel(hub_, id);
    panel.resize(400, 700);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));

    for (const QString& text : {QString("Width"), QString("Height")}) {
        QLabel* label = FindLabel(panel, text);
        ASSERT_NE(label, nullptr) << text.toStdString();
        EXPECT_TRUE(ShowsSomething(*label)) << text.toStdString();
    }

    blur->settings_changed_flag.Set(false);
    int signals_fired = 0;
    boost::signals2::scoped_connection counter =
        blur->settings_changed_signal.connect([&] { ++signals_fired; });
    GUISettingItem* width = EditorWithLabel<GUISettingItem>(panel, "Width");
    ASSERT_NE(width, nullptr);
    width->findChild<QSpinBox*>()->setValue(7);

    EXPECT_EQ(blur->settings.GetValueAsString("_width"), "7");
    EXPECT_EQ(blur->settings.GetValueAsString("_height"), "3");
    EXPECT_TRUE(blur->settings_changed_flag.Get());
    EXPECT_EQ(signals_fired, 1);
}

TEST_F(NodeGUIBuilderTest, SignalButtonFiresOnPress)
{
    const std::string id = commander_->MakeElement("Snap Shot", "");
    const SignalContainer::NamedSignal take_image = Element(id)->signal_container.GetSignals().at(0);
    int fired = 0;
    boost::signals2::scoped_connection counter = take_image.first->connect([&] { ++fired; });
    NodeGUIBuilder panel(hub_, id);
    panel.show();

    QPushButton* button = nullptr;
    for (QPushButton* candidate : panel.findChildren<QPushButton*>()) {
        if (candidate->text() == "Take Image")
            button = candidate;
    }
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(ShowsSomething(*button));
    QTest::mousePress(button, Qt::LeftButton);
    EXPECT_EQ(fired, 1);
    QTest::mouseRelease(button, Qt::LeftButton);
    EXPECT_EQ(fired, 1);
}

TEST_F(NodeGUIBuilderTest, PanelThatCannotBeBuiltIsLoggedWithTheElementId)
{
    LogCapture log;
    NodeGUIBuilder panel(hub_, "Missing_3");
    panel.show();
    EXPECT_TRUE(log.Contains("WARNING")) << log.Text();
    EXPECT_TRUE(log.Contains("Missing_3")) << log.Text();
    EXPECT_TRUE(panel.findChildren<GUISettingItem*>().isEmpty());
}
