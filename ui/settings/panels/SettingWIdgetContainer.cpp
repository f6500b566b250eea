#include "ui/settings/panels/SettingWIdgetContainer.h"

#include "core/ControlBaseClass.h"
#include "core/LayoutUtilities.h"
#include "ui/settings/GUISettingItem.h"
#include "ui/settings/panels/MakeSettingWidget.h"

#include <QVBoxLayout>

SettingWIdgetContainer::SettingWIdgetContainer(QWidget* parent, boost::shared_ptr<ControlBaseClass> control,
                                               boost::shared_ptr<ControlAndStatus> hub)
    : QWidget(parent), hub_(hub), layout_(new QVBoxLayout(this))
{
    SetZeroMargins(layout_);
    for (const ParameterItem& item : control->settings.GetItems()) {
        GUISettingItem* editor = MakeSettingWidget(item, hub_, this);
        if (!editor)
            continue;
        layout_->addWidget(editor);
        connect(editor, SIGNAL(UpdateSettingsSignal()), this, SIGNAL(UpdateSettingsSignal()));
    }
}
