#include "ui/settings/panels/MakeSettingWidget.h"

#include "core/ControlAndStatus.h"
#include "core/FILELog.h"
#include "core/FrameNumber.h"
#include "core/MainDisplayControls.h"
#include "core/ParameterItem.h"
#include "core/PreviewControls.h"
#include "core/SubImageControls.h"
#include "core/ThreadSafeVariable.h"
#include "core/Utilities.h"
#include "ui/controls/IntConversions.h"
#include "ui/display/MainDisplayWidget.h"
#include "ui/display/PlaybackControlWidget.h"
#include "ui/display/PreviewWidget.h"
#include "ui/display/SubImageSelectorWidget.h"
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

#include <QString>
#include <boost/any.hpp>
#include <opencv2/core.hpp>

#include <charconv>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace {

// What the descriptor says, read once per setting.
struct Hints {
    bool update = false;
    double min = 0.0;
    double max = 1000.0;
    QString label;
    std::string type;
    std::string other;
    std::vector<std::string> items;
};

Hints ReadHints(const ParameterItem& item)
{
    Hints hints;
    hints.update = item.GetDescriptorValue("update") == "true";
    hints.max = item.GetMax();
    hints.min = item.GetMin();
    hints.label = QString::fromStdString(MakeLabelFromName(item.name));
    hints.type = item.GetDescriptorValue("type");
    hints.other = item.GetDescriptorValue("other");
    hints.items = item.GetItems();
    return hints;
}

// The held variable when the setting holds a T pointer, else null. Looks only, so a
// setting of another type costs nothing and builds nothing.
template <typename T>
T* Held(const ParameterItem& item)
{
    T* const* held = boost::any_cast<T*>(&item.value);
    return held ? *held : nullptr;
}

// A whole decimal integer, or nothing.
std::optional<int> ReadInt(const std::string& text)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+')
        ++begin;
    int value = 0;
    const std::from_chars_result result = std::from_chars(begin, end, value);
    if (begin == end || result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}

GUISettingItem* MakeDoubleEditor(ThreadSafeVariable<double>* variable, const Hints& hints, QWidget* parent)
{
    // The mode goes in with construction, before the first value is shown.
    auto* editor = new ThreadDoubleSettingItem(variable, hints.label, hints.min, hints.max, parent, true,
                                               hints.other == "no-limits");
    editor->SetUpdate(hints.update);
    return editor;
}

GUISettingItem* MakePointEditor(cv::Point* point, const ParameterItem& item, const Hints& hints,
                                QWidget* parent)
{
    const std::optional<int> min_x = ReadInt(item.GetDescriptorValue("min-x"));
    const std::optional<int> min_y = ReadInt(item.GetDescriptorValue("min-y"));
    if (!min_x || !min_y)
        return nullptr;
    // The editor takes upper bounds as well; descriptors have none, so the minimums stand in.
    return new PointSettingItem(point, hints.label, *min_x, *min_y, *min_x, *min_y, parent);
}

GUISettingItem* MakeBoolEditor(ThreadSafeVariable<bool>* variable, const ParameterItem& item,
                               const Hints& hints, ControlAndStatus* hub, QWidget* parent)
{
    // The editor only emits the hub's signal; whoever rebuilds on it queues the rebuild.
    boost::signals2::signal<void()>* reset = nullptr;
    if (hub && item.GetDescriptorValue("signal") == "reset-pipeline")
        reset = &hub->reset_pipeline_signal;
    return new ThreadBoolSettingItem(variable, hints.label, parent, true, reset);
}

GUISettingItem* MakeIntEditor(ThreadSafeVariable<int>* variable, const Hints& hints, QWidget* parent)
{
    if (!hints.items.empty())
        return new IntComboBoxSettingItem(variable, hints.label, hints.items, parent, nullptr);
    auto* editor = new ThreadIntSettingItem(variable, hints.label, TruncateToInt(hints.min),
                                            TruncateToInt(hints.max), parent, true, QStringList());
    editor->SetOdd(hints.other == "odd");
    editor->SetNoLimits(hints.other == "no-limits");
    editor->SetUpdate(hints.update);
    return editor;
}

// The window is its own top level and ends with the element; the panel shows no row.
// A window the user closed comes back; one on screen is left where it is.
void OpenMainDisplay(const boost::shared_ptr<MainDisplayControls>& controls,
                     const boost::shared_ptr<ControlAndStatus>& hub)
{
    if (!controls)
        return;
    const MainDisplayWidget* window = MainDisplayWidget::Find(controls.get());
    if (!window || window->isHidden())
        MainDisplayWidget::Show(hub, controls);
}

GUISettingItem* MakeTextEditor(ThreadSafeVariable<std::string>* variable, const Hints& hints, QWidget* parent)
{
    if (hints.type == "dir_path")
        return new FileSelectWidget(variable, hints.label, parent, true, true, false);
    if (hints.type == "file_path")
        return new FileSelectWidget(variable, hints.label, parent, true, false, false);
    if (hints.type == "save_path")
        return new FileSelectWidget(variable, hints.label, parent, true, false, true);
    if (hints.type == "label")
        return new StringLabelSettingItem(variable, hints.label, parent);
    if (hints.type == "edit")
        return new TextEditSettingItem(variable, hints.label, parent);
    return new ComboboxSettingItem(variable, hints.label, hints.items, parent, nullptr);
}

GUISettingItem* BuildEditor(const ParameterItem& item, const Hints& hints,
                            const boost::shared_ptr<ControlAndStatus>& hub, QWidget* parent)
{
    if (auto* variable = Held<ThreadSafeVariable<double>>(item))
        return MakeDoubleEditor(variable, hints, parent);
    if (auto* variable = Held<ThreadSafeVariable<cv::Scalar>>(item))
        return new ThreadColourSettingItem(variable, hints.label, parent);
    if (auto* frame_number = Held<FrameNumber>(item))
        return new PlaybackControlWidget(frame_number, parent);
    if (auto* controls = Held<SubImageControls>(item))
        return new SubImageSelectorWidget(controls, parent);
    if (auto* point = Held<cv::Point>(item))
        return MakePointEditor(point, item, hints, parent);
    if (auto* variable = Held<ThreadSafeVariable<bool>>(item))
        return MakeBoolEditor(variable, item, hints, hub.get(), parent);
    if (auto* variable = Held<ThreadSafeVariable<int>>(item))
        return MakeIntEditor(variable, hints, parent);
    if (auto* controls = Held<boost::shared_ptr<MainDisplayControls>>(item)) {
        OpenMainDisplay(*controls, hub);
        return nullptr;
    }
    if (auto* controls = Held<PreviewControls>(item))
        return new PreviewWidget(hub, controls, parent);
    if (auto* variable = Held<ThreadSafeVariable<std::string>>(item))
        return MakeTextEditor(variable, hints, parent);
    return nullptr;
}

}  // namespace

GUISettingItem* MakeSettingWidget(const ParameterItem& item, boost::shared_ptr<ControlAndStatus> hub,
                                  QWidget* parent)
{
    const Hints hints = ReadHints(item);
    if (hints.type == "hidden")
        return nullptr;
    try {
        return BuildEditor(item, hints, hub, parent);
    } catch (const std::exception& error) {
        FILE_LOG(logWARNING) << "No editor for setting " << item.name << " : " << error.what();
    } catch (...) {
        FILE_LOG(logWARNING) << "No editor for setting " << item.name;
    }
    return nullptr;
}
