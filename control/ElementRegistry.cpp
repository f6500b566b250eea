#include "control/ElementRegistry.h"

#include <boost/thread/lock_guard.hpp>
#include <boost/thread/mutex.hpp>

namespace {

struct Registry {
    boost::mutex mutex;  // guards makers
    ElementMakerList makers;
};

// Never destroyed: a test thread still running at process exit may read it.
Registry& TheRegistry()
{
    static Registry* const registry = new Registry;
    return *registry;
}

}  // namespace

ElementMakerList GetElementRegistry()
{
    Registry& registry = TheRegistry();
    boost::lock_guard<boost::mutex> lock(registry.mutex);
    return registry.makers;
}

void SetElementRegistry(const ElementMakerList& makers)
{
    Registry& registry = TheRegistry();
    ElementMakerList replaced;
    {
        boost::lock_guard<boost::mutex> lock(registry.mutex);
        replaced.swap(registry.makers);
        registry.makers = makers;
    }
    // Makers that only the old registry held are released outside the lock.
}
