#include "core/FrameTypeWarning.h"

#include "core/FILELog.h"

#include <boost/thread/lock_guard.hpp>

void FrameTypeWarning::Warn(int type, const std::string& message)
{
    if (IsFirst(type)) {
        FILE_LOG(logWARNING) << message;
    }
}

bool FrameTypeWarning::IsFirst(int type)
{
    const std::size_t index = static_cast<std::size_t>(type & (CV_DEPTH_MAX * CV_CN_MAX - 1));
    boost::lock_guard<boost::mutex> lock(mutex_);
    const bool first = !warned_.test(index);
    warned_.set(index);
    return first;
}
