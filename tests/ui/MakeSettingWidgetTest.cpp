// The setting-widget factory: which editor each held type and descriptor gets, and that
// building (and the editors' refresh timers afterwards) never writes the variable.
#include "ui/settings/panels/MakeSettingWidget.h"

#include "core/ControlAndStatus.h"
#include "core/FrameNumber.h"
#include "core/MainDisplayControls.h"
#include "core/ParameterItem.h"
#include "core/PreviewControls.h"
#include "core/SubImageControls.h"
#include "core/ThreadSafeVariable.h"
#include "core/VideoFormat.h"
#include "support/TestSupport.h"
#include "ui/TimerTicks.h"
#include "ui/display/MainDisplayWidget.h"
#include "ui/settings/GUISettingItem.h"

#include <QApplication>
#include <QCheckBox>
#include <QPointer>
#include <QSpinBox>
#include <boost/make_shared.hpp>
#include <gtest/gtest.h>
#include <opencv2/core.hpp>

#include <sstream>
#include <string>
#include <vector>

namespace {

// Every kind of variable a setting can hold, with values that a careless editor would
// change: more decimals than a spin box shows, values outside the range, an even value
// for an odd-only editor, a choice index past the items, a text that is no item.
struct Variables {
    explicit Variables(boost::shared_ptr<ControlAndStatus> hub) : preview(hub)
    {
        frame_number.SetFrameCount(100);
        frame_number.SetFrame(42);
    }

    std::string Snapshot()
    {
        std::ostringstream text;
        text.precision(17);
        text << fraction.Get() << ' ' << above_max.Get() << ' ' << negative.Get() << ' ' << colour.Get()
             << ' ' << frame_number.GetFrame() << ' ' << frame_number.GetFrameCount() << ' '
             << sub_image.box.Get() << ' ' << point << ' ' << flag.Get() << ' ' << choice.Get() << ' '
             << big.Get() << ' ' << even.Get() << ' ' << below_zero.Get() << ' ' << text_value.Get() << ' '
             << plain_text << ' ' << plain_int << ' ' << colour_space << ' ' << rectangle.Get() << ' '
             << display->window_exists.Get();
        return text.str();
    }

    ThreadSafeVariable<double> fraction{0.50196};
    ThreadSafeVariable<double> above_max{5000.0};
    ThreadSafeVariable<double> negative{-3.25};
    ThreadSafeVariable<cv::Scalar> colour{cv::Scalar(10, 20, 30, 0)};
    FrameNumber frame_number;
    SubImageControls sub_image;
    cv::Point point{3, 4};
    ThreadSafeVariable<bool> flag{true};
    ThreadSafeVariable<int> choice{7};
    ThreadSafeVariable<int> big{5000};
    ThreadSafeVariable<int> even{4};
    ThreadSafeVariable<int> below_zero{-5000};
    boost::shared_ptr<MainDisplayControls> display = boost::make_shared<MainDisplayControls>();
    boost::shared_ptr<MainDisplayControls> no_display;
    PreviewControls preview;
    ThreadSafeVariable<std::string> text_value{"not an item"};
    std::string plain_text = "plain";
    int plain_int = 12;
    VideoFormat::ColourSpace colour_space = VideoFormat::HSV;
    ThreadSafeVariable<cv::Rect> rectangle{cv::Rect(1, 2, 3, 4)};
    ThreadSafeVariable<double>* null_variable = nullptr;
};

std::string KindOf(QWidget* widget)
{
    return widget ? widget->metaObject()->className() : "none";
}

std::vector<QWidget*> DirectChildWidgets(QWidget& parent)
{
    const QList<QWidget*> children = parent.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    return std::vector<QWidget*>(children.begin(), children.end());
}

class MakeSettingWidgetTest : public ::testing::Test {
protected:
    GUISettingItem* Make(const std::string& name, boost::any value, const std::string& descriptor)
    {
        return MakeSettingWidget(ParameterItem(name, value, descriptor), hub_, &parent_);
    }

    testsupport::ScopedHome home_;
    boost::shared_ptr<ControlAndStatus> hub_ = boost::make_shared<ControlAndStatus>();
    Variables variables_{hub_};
    QWidget parent_;
};

}  // namespace

TEST_F(MakeSettingWidgetTest, EachHeldTypeAndDescriptorGetsItsEditorAndKeepsItsValue)
{
    Variables& v = variables_;
    struct Case {
        const char* what;
        boost::any value;
        std::string descriptor;
        std::string kind;
    };
    const std::vector<Case> cases = {
        {"double", &v.fraction, "min=0, max=1", "ThreadDoubleSettingItem"},
        {"double above its range", &v.above_max, "", "ThreadDoubleSettingItem"},
        {"double without limits", &v.negative, "other=no-limits", "ThreadDoubleSettingItem"},
        {"double that follows", &v.fraction, "min=0, max=1, update=true", "ThreadDoubleSettingItem"},
        {"hidden double", &v.fraction, "type=hidden", "none"},
        {"colour", &v.colour, "", "ThreadColourSettingItem"},
        {"frame number", &v.frame_number, "", "PlaybackControlWidget"},
        {"sub-image box", &v.sub_image, "", "SubImageSelectorWidget"},
        {"point", &v.point, "min-x=0, min-y=-5", "PointSettingItem"},
        {"point without bounds", &v.point, "", "none"},
        {"point with one bound", &v.point, "min-x=0", "none"},
        {"point with a word bound", &v.point, "min-x=left, min-y=0", "none"},
        {"point with a fraction bound", &v.point, "min-x=1.5, min-y=0", "none"},
        {"point with a bound past int", &v.point, "min-x=99999999999, min-y=0", "none"},
        {"yes/no", &v.flag, "", "ThreadBoolSettingItem"},
        {"yes/no that resets", &v.flag, "signal=reset-pipeline", "ThreadBoolSettingItem"},
        {"hidden yes/no", &v.flag, "type=hidden", "none"},
        {"choice by index", &v.choice, "items=[a][b][c]", "IntComboBoxSettingItem"},
        {"integer above its range", &v.big, "", "ThreadIntSettingItem"},
        {"odd integer", &v.even, "min=0, max=10, other=odd", "ThreadIntSettingItem"},
        {"integer without limits", &v.below_zero, "other=no-limits", "ThreadIntSettingItem"},
        {"integer that follows", &v.big, "min=1.9, max=7.9, update=true", "ThreadIntSettingItem"},
        {"integer with a range past int", &v.big, "min=-1e12, max=1e12", "ThreadIntSettingItem"},
        {"integer with unreadable range", &v.big, "min=low, max=high", "ThreadIntSettingItem"},
        {"main display with no record", &v.no_display, "", "none"},
        {"preview", &v.preview, "", "PreviewWidget"},
        {"folder", &v.text_value, "type=dir_path", "FileSelectWidget"},
        {"file", &v.text_value, "type=file_path", "FileSelectWidget"},
        {"file to save", &v.text_value, "type=save_path", "FileSelectWidget"},
        {"label", &v.text_value, "type=label", "StringLabelSettingItem"},
        {"label in capitals", &v.text_value, "type = Label", "StringLabelSettingItem"},
        {"line edit", &v.text_value, "type=edit", "TextEditSettingItem"},
        {"choice by text", &v.text_value, "items=[first][second]", "ComboboxSettingItem"},
        {"text without items", &v.text_value, "", "ComboboxSettingItem"},
        {"plain text", &v.plain_text, "type=label", "none"},
        {"plain integer", &v.plain_int, "min=0, max=100", "none"},
        {"colour space", &v.colour_space, "items=[BGR][RGB]", "none"},
        {"rectangle", &v.rectangle, "", "none"},
        {"null variable", v.null_variable, "", "none"},
        {"nothing held", boost::any(), "", "none"},
    };
    parent_.show();
    const std::string before = v.Snapshot();
    const int windows_before = QApplication::topLevelWidgets().size();
    for (const Case& c : cases) {
        GUISettingItem* editor = Make("_some_setting", c.value, c.descriptor);
        EXPECT_EQ(KindOf(editor), c.kind) << c.what;
        // Nothing else was built, kept or thrown away on the side.
        const std::vector<QWidget*> expected_children =
            editor ? std::vector<QWidget*>{editor} : std::vector<QWidget*>{};
        EXPECT_EQ(DirectChildWidgets(parent_), expected_children) << c.what;
        EXPECT_EQ(QApplication::topLevelWidgets().size(), windows_before) << c.what;
        if (editor) {
            editor->show();
            EXPECT_TRUE(windowtest::TimerTicks(editor).WaitForEachRunning(3)) << c.what;
        }
        EXPECT_EQ(v.Snapshot(), before) << c.what;
        delete editor;
    }
}

TEST_F(MakeSettingWidgetTest, IntegerRangeIsTruncatedTowardZero)
{
    struct Case {
        std::string descriptor;
        int minimum;
        int maximum;
        int value;  // inside the range, which the editor widens to show any other
    };
    const std::vector<Case> cases = {
        {"min=1.9, max=7.9", 1, 7, 3},
        {"", 0, 1000, 3},
        {"min=-2.5, max=-0.5", -2, 0, -1},
        {"min=low, max=high", 0, 1000, 3},
    };
    ThreadSafeVariable<int> value;
    for (const Case& c : cases) {
        value.Set(c.value);
        GUISettingItem* editor = Make("_value", &value, c.descriptor);
        ASSERT_NE(editor, nullptr) << c.descriptor;
        auto* spin_box = editor->findChild<QSpinBox*>();
        ASSERT_NE(spin_box, nullptr) << c.descriptor;
        EXPECT_EQ(spin_box->minimum(), c.minimum) << c.descriptor;
        EXPECT_EQ(spin_box->maximum(), c.maximum) << c.descriptor;
        delete editor;
    }
}

TEST_F(MakeSettingWidgetTest, MainDisplayOpensOneWindowAndShowsNoRow)
{
    variables_.display->element_alive.Set(true);
    auto windows = [] {
        std::vector<MainDisplayWidget*> found;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<MainDisplayWidget*>(widget))
                found.push_back(window);
        }
        return found;
    };
    EXPECT_EQ(Make("_controls", &variables_.display, ""), nullptr);
    ASSERT_EQ(windows().size(), 1u);
    const QPointer<MainDisplayWidget> window = windows().front();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(variables_.display->window_exists.Get());

    // The panel is built again while the window is on screen: no second window.
    EXPECT_EQ(Make("_controls", &variables_.display, ""), nullptr);
    EXPECT_EQ(windows(), std::vector<MainDisplayWidget*>{window.data()});

    // The user closed it: opening the panel brings the same window back.
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Make("_controls", &variables_.display, ""), nullptr);
    EXPECT_EQ(windows(), std::vector<MainDisplayWidget*>{window.data()});
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(DirectChildWidgets(parent_).empty());
    delete window.data();
}

TEST_F(MakeSettingWidgetTest, ResettingYesNoEmitsTheHubSignalAfterItsWrite)
{
    ThreadSafeVariable<bool> flag{false};
    int resets = 0;
    bool written_before_reset = false;
    boost::signals2::scoped_connection reset = hub_->reset_pipeline_signal.connect([&] {
        ++resets;
        written_before_reset = flag.Get();
    });
    const QPointer<GUISettingItem> editor = Make("_rebuild", &flag, "signal=reset-pipeline");
    ASSERT_FALSE(editor.isNull());
    int updates = 0;
    QObject::connect(editor.data(), &GUISettingItem::UpdateSettingsSignal, [&] { ++updates; });
    EXPECT_EQ(resets, 0);

    editor->findChild<QCheckBox*>()->click();
    EXPECT_TRUE(flag.Get());
    EXPECT_EQ(resets, 1);
    EXPECT_TRUE(written_before_reset);
    EXPECT_EQ(updates, 1);
    EXPECT_FALSE(editor.isNull());

    // Without the key the same editor fires nothing on the hub.
    GUISettingItem* plain = Make("_plain", &flag, "");
    plain->findChild<QCheckBox*>()->click();
    EXPECT_FALSE(flag.Get());
    EXPECT_EQ(resets, 1);
}
