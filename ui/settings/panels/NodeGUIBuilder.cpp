#include "ui/settings/panels/NodeGUIBuilder.h"

#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "core/CustomException.h"
#include "core/FILELog.h"
#include "core/LayoutUtilities.h"
#include "engine/ElementBase.h"
#include "ui/controls/StyledBackground.h"
#include "ui/display/PipeWidgetBase.h"
#include "ui/settings/GUISettingItem.h"
#include "ui/settings/panels/MakePipeWidget.h"
#include "ui/settings/panels/MakeSettingWidget.h"
#include "ui/settings/panels/SignalWidgetContainer.h"

#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <utility>

namespace {

PowerCommanderTop& CommanderOf(ControlAndStatus& hub)
{
    PowerCommanderTop* commander = hub.GetCommander();
    if (!commander)
        throw CustomException("The hub has no commander");
    return *commander;
}

}  // namespace

NodeGUIBuilder::NodeGUIBuilder(boost::shared_ptr<ControlAndStatus> hub, std::string element_id,
                               QWidget* parent)
    : QWidget(parent), element_id_(std::move(element_id)), scroll_area_(new QScrollArea(this)),
      inner_(new QWidget(this)), column_(new QVBoxLayout(inner_)), hub_(hub), outer_(new QVBoxLayout(this))
{
    SetZeroMargins(outer_);
    SetZeroMargins(column_);
    scroll_area_->setFrameShape(QFrame::NoFrame);
    outer_->addWidget(scroll_area_);
    MakeGUI();
    ConnectEditors();
}

boost::shared_ptr<ControlBaseClass> NodeGUIBuilder::GetElement()
{
    if (!element_)
        element_ = CommanderOf(*hub_).GetElementControls(element_id_);
    return element_;
}

void NodeGUIBuilder::UpdateSettingsInBackend()
{
    if (!element_)
        return;
    element_->settings_changed_signal();
    element_->settings_changed_flag.Set(true);
}

void NodeGUIBuilder::MakeGUI()
{
    // Whatever was built before a failure stays in the panel.
    try {
        FillColumn();
    } catch (const std::exception& error) {
        FILE_LOG(logWARNING) << "Could not build the settings panel of " << element_id_ << " : "
                             << error.what();
    } catch (...) {
        FILE_LOG(logWARNING) << "Could not build the settings panel of " << element_id_;
    }
    scroll_area_->setWidget(inner_);
    scroll_area_->setWidgetResizable(true);
}

void NodeGUIBuilder::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
}

void NodeGUIBuilder::FillColumn()
{
    boost::shared_ptr<ControlBaseClass> element = GetElement();
    column_->addWidget(new SignalWidgetContainer(inner_, element, hub_));
    AddSettingWidgets(element->settings);
    for (const boost::shared_ptr<PipeBase_>& pipe : element->GetDisplayPipes()) {
        if (PipeWidgetBase* widget = MakePipeWidget(pipe, inner_, hub_))
            column_->addWidget(widget);
    }
    AddControlsObjectWidgets();
}

void NodeGUIBuilder::AddSettingWidgets(ParameterContainer& settings)
{
    const std::vector<ParameterItem> items = settings.GetItems();
    if (items.size() < 2)
        return;
    for (const ParameterItem& item : items) {
        if (item.name == "_setting_name")
            continue;
        if (GUISettingItem* editor = MakeSettingWidget(item, hub_, inner_))
            column_->addWidget(editor);
    }
}

void NodeGUIBuilder::AddControlsObjectWidgets()
{
    // Elements may leave their controls object empty.
    const boost::shared_ptr<ControlBaseClass> controls = CommanderOf(*hub_).GetElement(element_id_)->controls;
    if (!controls)
        return;
    const std::string name = controls->settings.GetValueAsString("_setting_name");
    if (std::find(shown_controls_.begin(), shown_controls_.end(), name) != shown_controls_.end())
        return;
    AddSettingWidgets(controls->settings);
    shown_controls_.push_back(name);
}

void NodeGUIBuilder::ConnectEditors()
{
    for (int i = 0; i < column_->count(); ++i) {
        if (auto* editor = qobject_cast<GUISettingItem*>(column_->itemAt(i)->widget()))
            connect(editor, SIGNAL(UpdateSettingsSignal()), this, SLOT(UpdateSettingsInBackend()));
    }
}
