// The contract every setting editor keeps, as one table: building and refreshing
// show the variable and never write it or emit; a person's change writes the
// variable at once and emits UpdateSettingsSignal() as often as the editor promises.
#include "support/TestSupport.h"
#include "ui/ModalDialogues.h"
#include "ui/TimerTicks.h"
#include "ui/MouseEvents.h"

#include "ui/controls/BetterSlider.h"
#include "ui/controls/NumberSelector.h"
#include "ui/controls/ValueSelector.h"
#include "ui/settings/ComboboxSettingItem.h"
#include "ui/settings/FileSelectWidget.h"
#include "ui/settings/IntComboBoxSettingItem.h"
#include "ui/settings/PointSettingItem.h"
#include "ui/settings/StringLabelSettingItem.h"
#include "ui/settings/TextEditSettingItem.h"
#include "ui/settings/ThreadBoolSettingItem.h"
#include "ui/settings/ThreadColourSettingItem.h"
#include "ui/settings/ThreadDoubleSettingItem.h"
#include "ui/settings/ThreadIntSettingItem.h"

#include "core/ValueText.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>

namespace {

// The live variables, as an element would own them; the starting values lie outside
// the editors' ranges or off their lists where that can be, so a clamp would show.
struct Variables {
    testsupport::TempDir dir;
    ThreadSafeVariable<double> real{5000.0};
    ThreadSafeVariable<int> integer{5000};
    ThreadSafeVariable<bool> flag{true};
    ThreadSafeVariable<std::string> path{""};
    ThreadSafeVariable<std::string> choice{"beta"};
    ThreadSafeVariable<int> index{2};
    ThreadSafeVariable<std::string> text{"snap"};
    ThreadSafeVariable<cv::Scalar> colour{cv::Scalar(1, 2, 3, 0)};
    cv::Point point{3, 4};
};

std::string ColourText(const cv::Scalar& c)
{
    return ValueToText(c[0]) + "," + ValueToText(c[1]) + "," + ValueToText(c[2]);
}

struct EditorCase {
    const char* name;
    std::function<GUISettingItem*(Variables&)> make;
    // The edited variable as text.
    std::function<std::string(Variables&)> value;
    // What a person reads in the editor.
    std::function<QString(GUISettingItem*)> shown;
    QString shown_at_start;
    // A change made by the back end and the editor's refresh; null when it has none.
    std::function<void(Variables&, GUISettingItem*)> refresh;
    QString shown_after_refresh;
    // A person's change, the value it stores and the UpdateSettingsSignal() count.
    std::function<void(Variables&, GUISettingItem*)> user;
    std::string value_after_user;
    int update_signals;
};

template <typename T>
T* As(GUISettingItem* editor)
{
    return static_cast<T*>(editor);
}

std::vector<EditorCase> Cases()
{
    return {
        {"double",
         [](Variables& v) { return new ThreadDoubleSettingItem(&v.real, "Gain", 0.0, 1000.0, nullptr); },
         [](Variables& v) { return ValueToText(v.real.Get()); },
         [](GUISettingItem* e) { return As<ThreadDoubleSettingItem>(e)->SpinBox()->text(); }, "5000.000",
         [](Variables& v, GUISettingItem* e) {
             v.real.Set(0.50196);
             As<ThreadDoubleSettingItem>(e)->UpdateFromVariable();
         },
         "0.502",
         [](Variables&, GUISettingItem* e) { As<ThreadDoubleSettingItem>(e)->SpinBox()->setValue(250.5); },
         "250.5", 1},
        {"int",
         [](Variables& v) {
             auto* e = new ThreadIntSettingItem(&v.integer, "Size", 0, 1000, nullptr);
             e->SetUpdate(true);
             return e;
         },
         [](Variables& v) { return ValueToText(v.integer.Get()); },
         [](GUISettingItem* e) { return As<ThreadIntSettingItem>(e)->SpinBox()->text(); }, "5000",
         [](Variables& v, GUISettingItem* e) {
             v.integer.Set(-7);
             As<ThreadIntSettingItem>(e)->UpdateFromVariable();
         },
         "-7", [](Variables&, GUISettingItem* e) { As<ThreadIntSettingItem>(e)->SpinBox()->setValue(12); },
         "12", 1},
        {"bool", [](Variables& v) { return new ThreadBoolSettingItem(&v.flag, "Enabled", nullptr); },
         [](Variables& v) { return ValueToText(v.flag.Get()); },
         [](GUISettingItem* e) {
             return QString::number(As<ThreadBoolSettingItem>(e)->CheckBox()->isChecked());
         },
         "1", nullptr, "",
         [](Variables&, GUISettingItem* e) {
             QTest::mouseClick(As<ThreadBoolSettingItem>(e)->CheckBox(), Qt::LeftButton);
         },
         "0", 1},
        {"file",
         [](Variables& v) {
             return new FileSelectWidget(&v.path, "Video File", nullptr, true, false, false);
         },
         [](Variables& v) { return v.path.Get(); },
         [](GUISettingItem* e) { return As<FileSelectWidget>(e)->PathLabel()->text(); }, "Path Not Set",
         nullptr, "",
         [](Variables& v, GUISettingItem* e) {
             const std::string file = v.dir.File("clip.avi");
             std::ofstream(file) << "x";
             const auto choose = [file](QWidget* d) {
                 auto* dialogue = qobject_cast<QFileDialog*>(d);
                 testsupport::ChooseFile(dialogue, QString::fromStdString(file));
                 QMetaObject::invokeMethod(dialogue, "accept");
             };
             EXPECT_TRUE(testsupport::ClickAndAnswer(As<FileSelectWidget>(e)->Button(), choose));
         },
         "<dir>/clip.avi", 1},
        {"text choice",
         [](Variables& v) {
             return new ComboboxSettingItem(&v.choice, "Mode", {"alpha", "beta", "gamma"}, nullptr);
         },
         [](Variables& v) { return v.choice.Get(); },
         [](GUISettingItem* e) { return As<ComboboxSettingItem>(e)->Box()->currentText(); }, "beta", nullptr,
         "", [](Variables&, GUISettingItem* e) { As<ComboboxSettingItem>(e)->Box()->setCurrentIndex(2); },
         "gamma", 1},
        {"index choice",
         [](Variables& v) {
             return new IntComboBoxSettingItem(&v.index, "Shape", {"Rect", "Cross", "Ellipse"}, nullptr);
         },
         [](Variables& v) { return ValueToText(v.index.Get()); },
         [](GUISettingItem* e) { return As<IntComboBoxSettingItem>(e)->Box()->currentText(); }, "Ellipse",
         nullptr, "",
         [](Variables&, GUISettingItem* e) { As<IntComboBoxSettingItem>(e)->Box()->setCurrentIndex(0); }, "0",
         1},
        {"label", [](Variables& v) { return new StringLabelSettingItem(&v.text, "Status", nullptr); },
         [](Variables& v) { return v.text.Get(); },
         [](GUISettingItem* e) { return As<StringLabelSettingItem>(e)->ValueLabel()->text(); }, "snap",
         [](Variables& v, GUISettingItem* e) {
             v.text.Set("running");
             As<StringLabelSettingItem>(e)->SetFromVariable();
         },
         "running", nullptr, "running", 0},
        {"line edit", [](Variables& v) { return new TextEditSettingItem(&v.text, "File Name", nullptr); },
         [](Variables& v) { return v.text.Get(); },
         [](GUISettingItem* e) { return As<TextEditSettingItem>(e)->LineEdit()->text(); }, "snap",
         [](Variables& v, GUISettingItem* e) {
             v.text.Set("other");
             As<TextEditSettingItem>(e)->SetFromVariable();
         },
         "other",
         [](Variables&, GUISettingItem* e) {
             QTest::keyClicks(As<TextEditSettingItem>(e)->LineEdit(), "_2");
         },
         "other_2", 0},
        {"colour", [](Variables& v) { return new ThreadColourSettingItem(&v.colour, "Colour", nullptr); },
         [](Variables& v) { return ColourText(v.colour.Get()); },
         [](GUISettingItem* e) { return As<ThreadColourSettingItem>(e)->Button()->text(); }, "Colour",
         nullptr, "",
         [](Variables&, GUISettingItem* e) {
             const auto choose = [](QWidget* d) {
                 auto* dialogue = qobject_cast<QColorDialog*>(d);
                 dialogue->setCurrentColor(QColor(30, 20, 10));
                 dialogue->accept();
             };
             EXPECT_TRUE(testsupport::ClickAndAnswer(As<ThreadColourSettingItem>(e)->Button(), choose));
         },
         "10,20,30", 0},
        {"point", [](Variables& v) { return new PointSettingItem(&v.point, "Anchor", 0, 0, 0, 0, nullptr); },
         [](Variables& v) { return ValueToText(v.point.x) + "," + ValueToText(v.point.y); },
         [](GUISettingItem* e) {
             auto* p = As<PointSettingItem>(e);
             return QString("%1,%2").arg(p->XSelector()->Value()).arg(p->YSelector()->Value());
         },
         "3,4",
         [](Variables& v, GUISettingItem* e) {
             v.point = cv::Point(8, 9);
             As<PointSettingItem>(e)->UpdateFromVariable();
         },
         "8,9",
         [](Variables&, GUISettingItem* e) {
             // A person drags Y upwards until it changes.
             NumberSelector* number = As<PointSettingItem>(e)->YSelector()->Number();
             testsupport::Press(number, QPoint(5, 300));
             testsupport::Move(number, QPoint(5, 200));
             for (int tick = 0; tick < 1000 && number->RoundedValue() == 9; ++tick)
                 number->UpdateValue();
             testsupport::Release(number, QPoint(5, 0));
         },
         "8,10", 0},
    };
}

std::string Expand(const std::string& text, const Variables& v)
{
    const std::string marker = "<dir>";
    const std::size_t at = text.find(marker);
    if (at == std::string::npos)
        return text;
    return text.substr(0, at) + v.dir.Path() + text.substr(at + marker.size());
}

class SettingEditorsTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
};

}  // namespace

TEST_F(SettingEditorsTest, BuildingShowsTheVariableAndNeverWrites)
{
    for (const EditorCase& c : Cases()) {
        Variables v;
        const std::string before = c.value(v);
        std::unique_ptr<GUISettingItem> editor(c.make(v));
        editor->show();
        EXPECT_TRUE(windowtest::TimerTicks(editor.get()).WaitForEachRunning(2)) << c.name;
        EXPECT_EQ(c.shown(editor.get()), c.shown_at_start) << c.name;
        EXPECT_EQ(c.value(v), before) << c.name;
    }
}

TEST_F(SettingEditorsTest, RefreshShowsTheNewValueAndNeitherWritesNorEmits)
{
    for (const EditorCase& c : Cases()) {
        if (!c.refresh)
            continue;
        Variables v;
        std::unique_ptr<GUISettingItem> editor(c.make(v));
        QSignalSpy updates(editor.get(), SIGNAL(UpdateSettingsSignal()));
        c.refresh(v, editor.get());
        const std::string after_back_end = c.value(v);
        c.refresh(v, editor.get());
        EXPECT_EQ(c.shown(editor.get()), c.shown_after_refresh) << c.name;
        EXPECT_EQ(c.value(v), after_back_end) << c.name;
        EXPECT_EQ(updates.count(), 0) << c.name;
    }
}

TEST_F(SettingEditorsTest, APersonsChangeWritesAtOnceAndEmitsAsPromised)
{
    for (const EditorCase& c : Cases()) {
        if (!c.user)
            continue;
        Variables v;
        std::unique_ptr<GUISettingItem> editor(c.make(v));
        editor->show();
        if (c.refresh)
            c.refresh(v, editor.get());
        QSignalSpy updates(editor.get(), SIGNAL(UpdateSettingsSignal()));
        c.user(v, editor.get());
        EXPECT_EQ(c.value(v), Expand(c.value_after_user, v)) << c.name;
        EXPECT_EQ(updates.count(), c.update_signals) << c.name;
    }
}
