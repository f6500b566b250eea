// Base of every pad. A pad belongs to its element (a base, a member or an
// object the element owns) and lives exactly as long as it. The fields are
// written by the element (owner id, name) and by the connection that joins
// this pad to a peer (held, peer id, peer pad name, frame count).
#pragma once

#include <string>

#include "core/ThreadSafeVariable.h"

class PadBase {
public:
    PadBase() = default;
    PadBase(const PadBase&) = delete;
    PadBase& operator=(const PadBase&) = delete;
    virtual ~PadBase() = default;

    // Display text of the payload type ("2D Info", "Path").
    virtual std::string GetTypeName() = 0;

    // Whether the pad has a peer element id: what elements ask before they forward.
    bool IsConnected() const { return !peer_element_id.Get().empty(); }
    // Whether a connection holds this very pad, whatever the ids: the guard against
    // joining one pad twice.
    bool IsHeld() const { return held.Get(); }

    ThreadSafeVariable<bool> held{false};
    ThreadSafeVariable<std::string> peer_element_id;
    ThreadSafeVariable<std::string> owner_element_id;
    ThreadSafeVariable<long long> frame_count{0};
    ThreadSafeVariable<std::string> pad_name;
    ThreadSafeVariable<std::string> peer_pad_name;
};
