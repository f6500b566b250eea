// Allocator tuning for video frames, called once at start (before any frame is made)
// by the application and the benchmark, so both run the same heap.
#pragma once

// Frame-sized blocks (a 1080p colour frame is 6 MB) come from the heap instead of a
// fresh mapping each, which costs thousands of page faults per frame, and freed heap
// memory up to 256 MiB is kept for the next frames instead of going back to the system.
// True when the allocator took both settings.
bool KeepFrameBuffersInHeap();
