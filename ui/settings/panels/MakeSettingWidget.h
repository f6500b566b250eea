// The one factory of setting editors: looks at the pointer type a setting holds and at
// a few descriptor keys and builds the matching editor, or none. The editor belongs to
// the given Qt parent; the variable it edits stays the registering object's.
#pragma once

#include <boost/shared_ptr.hpp>

class ControlAndStatus;
class GUISettingItem;
class ParameterItem;
class QWidget;

// Null for hidden settings and for held types without an editor. A main display
// setting opens its window (once) and also gives null. Building writes no setting.
GUISettingItem* MakeSettingWidget(const ParameterItem& item, boost::shared_ptr<ControlAndStatus> hub,
                                  QWidget* parent);
