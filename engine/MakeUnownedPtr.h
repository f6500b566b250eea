// Shared pointers that point at an object without owning it: elements list
// their own pads this way, and code that takes shared pointers is handed an
// element or a pad it must not keep past the element's life.
#pragma once

#include <boost/shared_ptr.hpp>

// The deleter does nothing, so no copy ever deletes or keeps alive the target.
template <typename X>
boost::shared_ptr<X> MakeUnownedPtr(X* target)
{
    return boost::shared_ptr<X>(target, [](X*) {});
}
