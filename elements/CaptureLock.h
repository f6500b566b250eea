// The one lock that every video capture open and release in the process takes
// (camera, video file, image sequence): OpenCV's capture back ends, and the
// libraries they load, are not safe to open or release concurrently.
#pragma once

#include <mutex>

std::mutex& CaptureLock();
