#include "elements/OpenCvVideoCapture.h"

#include "elements/RegularFile.h"

bool OpenCvVideoCapture::Open(int device)
{
    return capture_.open(device);
}

bool OpenCvVideoCapture::Open(const std::string& path)
{
    if (!IsRegularFile(path))
        return false;
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
    capture_.release();
}
