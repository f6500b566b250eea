#include "core/MainDisplayControls.h"

#include "core/OpenCvToQtConversions.h"

#include <algorithm>

MainDisplayControls::MainDisplayControls() : ControlBaseClass("MainDisplayControls")
{
    settings.AddSetting("_windows_geometry", &window_geometry_, "");
}

MainDisplayControls::~MainDisplayControls() = default;

void MainDisplayControls::PushFrame(const cv::Mat& image)
{
    image_width_.Set(image.cols);
    image_height_.Set(image.rows);
    WarnIfNoRgbForm(image, "Main display", unshowable_types_);
    // Shrunk straight from the frame, without a copy of it, into the format the window paints.
    rescaler_.SetHighQuality(true);
    rescaler_.SetSize(display_width_.Get(), display_height_.Get());
    rescaler_.Shrink(image);
    image_queue_.Push(PassableItem<QImage>(rescaler_.Convert()));
}

PassableItem<QImage> MainDisplayControls::PopImage()
{
    return image_queue_.Pop();
}

bool MainDisplayControls::HasImage()
{
    return image_queue_.Count() > 0;
}

double MainDisplayControls::GetAspectRatio()
{
    const int width = image_width_.Get();
    const int height = image_height_.Get();
    if (width < 1 || height < 1) {
        return 1.0;
    }
    return static_cast<double>(width) / height;
}

void MainDisplayControls::SetDisplaySize(int width, int height)
{
    // A side of 0 would make every later frame fail to rescale.
    display_width_.Set(std::max(width, 1));
    display_height_.Set(std::max(height, 1));
}

void MainDisplayControls::SetWindowGeometry(const QByteArray& geometry)
{
    window_geometry_ = geometry.toBase64().toStdString();
}

QByteArray MainDisplayControls::GetWindowGeometry() const
{
    const QByteArray::FromBase64Result decoded = QByteArray::fromBase64Encoding(
        QByteArray::fromStdString(window_geometry_), QByteArray::AbortOnBase64DecodingErrors);
    return decoded ? decoded.decoded : QByteArray();
}
