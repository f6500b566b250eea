#include "elements/ImageFile.h"

#include <vector>

#include <opencv2/imgcodecs.hpp>

cv::Mat ReadImageFile(const std::string& path, int flags, FileOutcome& outcome)
{
    std::vector<unsigned char> bytes;
    outcome = ReadRegularFile(path, kMaxImageFileBytes, bytes);
    if (!outcome.Ok() || bytes.empty())
        return cv::Mat();
    try {
        return cv::imdecode(bytes, flags);
    } catch (const cv::Exception&) {
        // A header that asks for more pixels than OpenCV allows.
        return cv::Mat();
    }
}
