// Marks a pad as an output; elements keep their outputs as SourceBase.
#pragma once

#include "engine/PadBase.h"

class SourceBase : public PadBase {};
