// Describes elements' pads for the node editor, and runs the self-test behind "test":
// every maker of the element registry builds its element, which is run for one second in
// an ElementTester rig. The test runs wholly on the calling (test) thread; it shares only
// the registry (copied when the run starts) and the hub with other threads.
#pragma once

#include "control/ElementDescription.h"
#include "control/ElementRegistry.h"
#include "core/ControlBaseClass.h"

#include <boost/shared_ptr.hpp>

class ControlAndStatus;
class ElementBase;
class PowerCommanderTop;

class ElementScanner : public ControlBaseClass {
public:
    explicit ElementScanner(boost::shared_ptr<ControlAndStatus> context);

    // Name = the element's type; pads = its inputs in order, then its outputs.
    static ElementDescription DescribeElement(const boost::shared_ptr<ElementBase>& element);

    // Tests every registered element in catalogue order. A failing element is logged and
    // skipped; an interruption of the calling thread ends the run (it propagates).
    void TestAllElements();

    // Copies the element registry the commander filled into the scanner's makers.
    void SetMakers(PowerCommanderTop* commander);
    const ElementMakerList& GetMakers() const { return makers_; }

private:
    boost::shared_ptr<ControlAndStatus> context_;
    ElementMakerList makers_;
};
