#include "core/FrameHeap.h"

#include <malloc.h>

namespace {

// glibc's ceiling for the mmap threshold on 64-bit machines; frames above it stay mapped.
constexpr int kMmapThreshold = 32 * 1024 * 1024;
constexpr int kTrimThreshold = 256 * 1024 * 1024;

}  // namespace

bool KeepFrameBuffersInHeap()
{
    const bool mapped = mallopt(M_MMAP_THRESHOLD, kMmapThreshold) == 1;
    const bool trimmed = mallopt(M_TRIM_THRESHOLD, kTrimThreshold) == 1;
    return mapped && trimmed;
}
