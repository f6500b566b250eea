#include "core/NodeControls.h"

NodeControls::NodeControls() : ControlBaseClass("node controls") {}

NodeControls::~NodeControls() = default;
