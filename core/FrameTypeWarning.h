#pragma once
// Which image types its owner has already warned about, so that a stream of frames that
// cannot be shown or processed gives one log line per type instead of one per frame. One
// per preview, display or element; thread-safe.

#include <boost/thread/mutex.hpp>
#include <opencv2/core/hal/interface.h>

#include <bitset>
#include <string>

class FrameTypeWarning {
public:
    // Logs the message at WARNING the first time it is given for a type (an OpenCV type
    // number); later ones for that type are dropped.
    void Warn(int type, const std::string& message);

private:
    bool IsFirst(int type);

    boost::mutex mutex_;                            // guards warned_
    std::bitset<CV_DEPTH_MAX * CV_CN_MAX> warned_;  // one bit per type
};
