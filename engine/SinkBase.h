// Marks a pad as an input; elements keep their inputs as SinkBase.
#pragma once

#include <boost/signals2/signal.hpp>

#include "engine/PadBase.h"

class SinkBase : public PadBase {
public:
    // Emitted on the thread that removes the connection feeding this pad, once its thread
    // has ended; extra inputs paced by this one listen (BoltOnSink::FollowMainInput).
    boost::signals2::signal<void()> disconnected;
};
