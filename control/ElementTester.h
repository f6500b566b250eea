// The rig that runs one element for the self-test: a test pattern on each video input,
// a discarding sink on each video output, run for one second on the calling thread.
// Every element of the rig has an id (a pad only counts as connected when its peer has
// one), and the tester's own connection manager is destroyed before the elements its
// connections run on, whichever way the tester ends.
#pragma once

#include "control/ElementTable.h"
#include "core/ControlBaseClass.h"
#include "engine/ConnectionManager.h"

#include <boost/shared_ptr.hpp>

#include <string>

class ControlAndStatus;
class ElementBase;
class PadBase;

class ElementTester : public ControlBaseClass {
public:
    // Names the element under test (its type, "_" and a number) and connects the rig.
    ElementTester(boost::shared_ptr<ControlAndStatus> context, boost::shared_ptr<ElementBase> element);
    ~ElementTester() override;

    // Runs the rig for one second (an interruption point), stops it, logs each connected
    // pad's frame count and takes the rig down.
    void Run();

private:
    void ConnectUp();
    void ConnectSinks();
    void ConnectSources();
    // Names the rig element and adds it to the tester's table.
    void AddToRig(const boost::shared_ptr<ElementBase>& rig_element, const std::string& base_name);
    void LogFrameCounts() const;
    static void LogFrameCount(PadBase& pad);

    boost::shared_ptr<ControlAndStatus> context_;
    // Declared before the manager so that it outlives every connection running on it.
    boost::shared_ptr<ElementBase> element_;
    ConnectionManager manager_;
    // Goes first, disconnecting the rig elements before they go.
    ElementTable table_;
};
