#include "core/SharedGUI.h"

SharedGUI::SharedGUI() : QObject(nullptr), ControlBaseClass("shared gui") {}

SharedGUI::~SharedGUI() = default;
