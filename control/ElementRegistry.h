// The process-wide registry of element makers, in catalogue order. The commander fills
// it (at construction and on "register"); the factory, the listings and the element
// tester read it, the tester on its own thread, so every access takes the registry's
// mutex and readers work on a copy. The registry is never destroyed, so a test
// thread left running at process exit still finds it.
#pragma once

#include "control/ElementMakerInterface.h"

#include <boost/shared_ptr.hpp>

#include <vector>

using ElementMakerList = std::vector<boost::shared_ptr<ElementMakerInterface>>;

// A copy of the registry, in catalogue order.
ElementMakerList GetElementRegistry();
// Replaces the whole registry by the given makers.
void SetElementRegistry(const ElementMakerList& makers);
