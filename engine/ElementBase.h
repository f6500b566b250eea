// Base of every element: its id, type and catalogue fields, its named input and
// output pads, its position settings, and the hub slots it answers. The element
// table owns elements through shared pointers; the pad lists hold unowned
// pointers to pads the element itself owns, so a pad lives as long as its element.
//
// The hub's one-second tick runs OnOneSecondTick on the GUI thread while the
// element may be built or destroyed on another one, so a tick only reaches
// the element between StartOneSecondTicks and StopOneSecondTicks. An element
// that overrides OnOneSecondTick calls StartOneSecondTicks last in its
// constructor and StopOneSecondTicks first in its destructor, so no tick runs
// on a half-built or half-destroyed object. StopOneSecondTicks waits for a
// call in progress; ~ElementBase calls it as well.
#pragma once

#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>
#include <boost/signals2/connection.hpp>
#include <boost/thread/mutex.hpp>

#include "core/ControlBaseClass.h"
#include "core/ThreadSafeVariable.h"
#include "engine/PadBase.h"
#include "engine/SinkBase.h"
#include "engine/SourceBase.h"

class ControlAndStatus;

class ElementBase : public ControlBaseClass {
public:
    explicit ElementBase(boost::shared_ptr<ControlAndStatus> context);
    ~ElementBase() override;

    // Pipeline hooks, called by the connection manager; empty here.
    virtual void Stop() {}
    virtual void Start() {}
    virtual void Reset() {}
    virtual void Pause(bool paused) {}
    virtual void Step() {}
    // Runs on whichever thread emits this element's settings-changed signal.
    virtual void SettingsSignalled() {}
    // Runs on the thread that emits the hub's tick (the GUI thread).
    virtual void OnOneSecondTick() {}

    // A null pad is logged and skipped; an empty name becomes "Input <n>" /
    // "Output <n>", n counting every earlier pad of that direction.
    void AddInput(boost::shared_ptr<SinkBase> pad, std::string name);
    void AddOutput(boost::shared_ptr<SourceBase> pad, std::string name);

    std::vector<boost::shared_ptr<SinkBase>> GetInputs() const;
    std::vector<boost::shared_ptr<SourceBase>> GetOutputs() const;
    // Every output in order, then every input.
    std::vector<boost::shared_ptr<PadBase>> GetAllPads() const;
    // The first pad of that exact name; none throws the plain integer 0.
    boost::shared_ptr<SinkBase> GetInputByName(const std::string& name) const;
    boost::shared_ptr<SourceBase> GetOutputByName(const std::string& name) const;

    std::string GetId() const;
    std::string GetType() const;
    std::string GetDescription() const;
    // Stores the id and stamps it into every pad as the owning element id.
    void SetId(const std::string& new_id);
    // Also renames the settings object, so "_setting_name" shows the type.
    void SetType(const std::string& new_type);
    void SetDescription(const std::string& new_description);
    void RequestLayoutUpdate();

    // From now on the hub's ticks call OnOneSecondTick.
    void StartOneSecondTicks();
    // Waits for a tick call in progress; no tick reaches this element afterwards.
    void StopOneSecondTicks();

    // Settings beside the element's own; no element fills it.
    boost::shared_ptr<ControlBaseClass> controls;

private:
    ThreadSafeVariable<std::string> id_;
    ThreadSafeVariable<std::string> type_;

public:
    // Written by the element maker; there is no setter.
    ThreadSafeVariable<std::string> category;

protected:
    boost::shared_ptr<ControlAndStatus> context;

public:
    // Node position in the editor, saved and loaded as hidden settings.
    ThreadSafeVariable<int> position_x{0};
    ThreadSafeVariable<int> position_y{0};
    // Raised by RequestLayoutUpdate; the element's node rebuilds and lowers it.
    ThreadSafeVariable<bool> layout_update_requested{false};

private:
    // Who the tick slot may call. Shared with the slot, so a tick that already
    // started when the element goes finds the target cleared, not freed memory.
    struct TickTarget {
        boost::mutex mutex;              // guards element
        ElementBase* element = nullptr;  // null while ticks are off
    };
    static void RunTick(const boost::shared_ptr<TickTarget>& target);

    // Written only while the element is built, read-only afterwards.
    std::vector<boost::shared_ptr<SinkBase>> inputs_;
    std::vector<boost::shared_ptr<SourceBase>> outputs_;
    boost::shared_ptr<TickTarget> tick_target_;

protected:
    // Every signal connection the element holds; destroying it disconnects them.
    std::vector<boost::signals2::scoped_connection> connections;

private:
    ThreadSafeVariable<std::string> description_;
};
