// Marks a pad as an input; elements keep their inputs as SinkBase.
#pragma once

#include "engine/PadBase.h"

class SinkBase : public PadBase {};
