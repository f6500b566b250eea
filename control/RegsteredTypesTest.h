// A second catalogue of the same shape as UserRegisteredTypes that registers no maker;
// the commander appends its (empty) list to the registry after the user catalogue.
#pragma once

#include "control/ElementRegistry.h"

#include <boost/shared_ptr.hpp>

#include <string>

class ControlAndStatus;

class RegsteredTypesTest {
public:
    explicit RegsteredTypesTest(boost::shared_ptr<ControlAndStatus> shared_controls);

    // Always empty.
    ElementMakerList GetMakers() const;

private:
    ElementMakerList makers_;
    boost::shared_ptr<ControlAndStatus> shared_controls_;
};
