#include "elements/OpenCvVideoCapture.h"

#include "core/RegularFile.h"
#include "elements/CaptureLock.h"

OpenCvVideoCapture::~OpenCvVideoCapture()
{
    Release();
}

bool OpenCvVideoCapture::Open(int device)
{
    std::lock_guard<std::mutex> lock(CaptureLock());
    return capture_.open(device);
}

bool OpenCvVideoCapture::Open(const std::string& path)
{
    if (!IsRegularFile(path))
        return false;
    std::lock_guard<std::mutex> lock(CaptureLock());
    return capture_.open(path);
}

bool OpenCvVideoCapture::IsOpened() const
{
    return capture_.isOpened();
}

bool OpenCvVideoCapture::Read(cv::Mat& image)
{
    return capture_.read(image);
}

double OpenCvVideoCapture::Get(int property) const
{
    return capture_.get(property);
}

bool OpenCvVideoCapture::Set(int property, double value)
{
    return capture_.set(property, value);
}

void OpenCvVideoCapture::Release()
{
    std::lock_guard<std::mutex> lock(CaptureLock());
    capture_.release();
}
