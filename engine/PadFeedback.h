// The value an input pad hands back to the output pad feeding it after every
// transfer. It carries nothing yet; it exists so the hand-back has a type.
#pragma once

struct PadFeedback {};
