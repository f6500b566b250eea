#include "elements/CaptureLock.h"

std::mutex& CaptureLock()
{
    // Never destroyed, so a capture released during exit still finds it.
    static std::mutex* const lock = new std::mutex;
    return *lock;
}
