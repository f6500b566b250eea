#include "elements/SnapShotElement.h"

#include <vector>

#include <opencv2/imgcodecs.hpp>

#include "core/ControlAndStatus.h"
#include "core/FILELog.h"
#include "core/ImageConversions.h"
#include "core/RegularFile.h"
#include "core/Utilities.h"

namespace {

std::string ExtensionOf(int image_format)
{
    switch (image_format) {
    case 0:
        return ".bmp";
    case 1:
        return ".jpeg";
    default:
        return ".png";
    }
}

std::string WithoutExtension(const std::string& file_name)
{
    const std::string::size_type dot = file_name.rfind('.');
    return dot == std::string::npos ? file_name : file_name.substr(0, dot);
}

}  // namespace

SnapShotElement::SnapShotElement(boost::shared_ptr<ControlAndStatus> controls)
    : ElementFilter<VideoFrame>(controls), directory_(ControlAndStatus::GetImagesDirectory())
{
    signal_container.AddSignal(&take_image_signal_, "_take_image");
    connections.push_back(take_image_signal_.connect([this] { TakeImage(); }));

    settings.AddSetting("_directory", &directory_, "type=dir_path");
    settings.AddSetting("_file_name", &file_name_, "type=edit");
    settings.AddSetting("_image_format", &image_format_, "items=[Bitmap][JPEG][PNG]");
    settings.AddSetting("_auto_number", &auto_number_, "");
}

SnapShotElement::~SnapShotElement() = default;

void SnapShotElement::TakeImage()
{
    take_image_ = true;
}

PassableItem<VideoFrame> SnapShotElement::Process(PassableItem<VideoFrame> item)
{
    // Taken before the write, so a press during it counts for the next frame.
    if (!take_image_.exchange(false))
        return item;
    const std::string path = MakeFileName();
    std::string failure;
    try {
        failure = WriteImage(path, item.data->image);
    } catch (...) {
        // OpenCV throws on an empty image; the press waits for the next frame.
        take_image_ = true;
        throw;
    }
    if (!failure.empty()) {
        take_image_ = true;
        // Tried again every frame until it works; one line per failing press.
        if (!retrying_)
            FILE_LOG(logERROR) << "Image could not be written to " << path << ": " << failure;
        retrying_ = true;
        return item;
    }
    retrying_ = false;
    if (auto_number_.Get())
        counter_++;
    FILE_LOG(logINFO) << "Image written to " << path;
    return item;
}

std::string SnapShotElement::WriteImage(const std::string& path, const cv::Mat& image)
{
    // Encoded in memory, so that only a regular file opened without blocking and without
    // following a link is written: the name may come from a loaded pipeline or a client.
    const std::string extension = GetExtension(path);
    cv::Mat written = image;
    // Bitmap and JPEG hold 8 bits; the encoder would clip 16-bit values instead of scaling them.
    if (image.depth() == CV_16U && extension != "png")
        ToEightBit(image, written, ChannelsWanted::Unchanged);
    std::vector<unsigned char> bytes;
    if (!cv::imencode("." + extension, written, bytes))
        return "The image could not be encoded";
    return WriteRegularFile(path, bytes).Describe();
}

std::string SnapShotElement::MakeFileName()
{
    std::string path = directory_.Get();
    // The directory picker gives folders without a trailing separator.
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += WithoutExtension(file_name_.Get());
    if (auto_number_.Get())
        path += "_" + std::to_string(counter_.Get());
    return path + ExtensionOf(image_format_.Get());
}
