// Every element of the catalogue gets its node panel, and opening and refreshing the
// panel writes none of the element's settings nor tells the element anything changed.
#include "ui/settings/panels/NodeGUIBuilder.h"

#include "PanelFixture.h"
#include "TimerTicks.h"
#include "control/ElementRegistry.h"
#include "support/LogCapture.h"
#include "engine/ElementBase.h"

#include <QApplication>

#include <regex>
#include <string>
#include <utility>
#include <vector>

namespace {

using Settings = std::vector<std::pair<std::string, std::string>>;

// The settings as text, without the main display window's geometry: the window keeps
// its own place there whenever it appears or moves.
Settings SettingsOf(ElementBase& element)
{
    const std::regex geometry("name=\"_windows_geometry\" value=\"[^\"]*\"");
    Settings settings = element.settings.GetNameValuePairs();
    for (auto& setting : settings)
        setting.second = std::regex_replace(setting.second, geometry, "");
    return settings;
}

class PanelCatalogueTest : public PanelFixture {};

}  // namespace

TEST_F(PanelCatalogueTest, BuildingEveryPanelWritesNothing)
{
    int panels = 0;
    for (const boost::shared_ptr<ElementMakerInterface>& maker : GetElementRegistry()) {
        const std::string name = maker->GetName();
        const std::string id = commander_->MakeElement(name, "");
        // No camera on this machine.
        if (id.empty())
            continue;
        const boost::shared_ptr<ElementBase> element = commander_->GetElement(id);
        element->settings_changed_flag.Set(false);
        int signals_fired = 0;
        boost::signals2::scoped_connection counter =
            element->settings_changed_signal.connect([&] { ++signals_fired; });
        const Settings before = SettingsOf(*element);

        LogCapture log;
        {
            NodeGUIBuilder panel(hub_, id);
            panel.resize(400, 800);
            panel.show();
            EXPECT_TRUE(windowtest::TimerTicks(&panel).WaitForEachRunning(3)) << name;
            EXPECT_FALSE(log.Contains("WARNING")) << name << ": " << log.Text();
        }
        EXPECT_EQ(SettingsOf(*element), before) << name;
        EXPECT_FALSE(element->settings_changed_flag.Get()) << name;
        EXPECT_EQ(signals_fired, 0) << name;
        commander_->RemoveElement(id);
        ++panels;
    }
    EXPECT_GE(panels, 17);
    for (QWidget* window : QApplication::topLevelWidgets())
        delete window;
}
