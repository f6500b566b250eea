#include "elements/SnapShotElement.h"

#include <algorithm>
#include <cerrno>
#include <utility>
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

// Longer numbers are not taken for shots, so that the next one still fits an int.
const std::size_t kMaxNumberDigits = 9;
// How many names, taken since the folder was read, a shot passes before it gives up.
const int kMaxTakenNames = 1000;

// n when the file name is prefix, n in decimal digits, extension; -1 otherwise.
int ShotNumber(const std::string& name, const std::string& prefix, const std::string& extension)
{
    if (name.size() <= prefix.size() + extension.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
        return -1;
    const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - extension.size());
    if (digits.size() > kMaxNumberDigits || digits.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::stoi(digits);
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
    std::string path;
    std::string failure;
    try {
        failure = WriteImage(item.data->image, path);
    } catch (...) {
        // OpenCV throws on an empty image (a source that failed to read); the press waits
        // for the next frame, and says so once, so that the file written later is no surprise.
        take_image_ = true;
        if (item.data->image.empty() && !std::exchange(waiting_reported_, true))
            FILE_LOG(logWARNING) << GetId()
                                 << ": No image in the frame to write; the shot waits for the next frame";
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
    waiting_reported_ = false;
    FILE_LOG(logINFO) << "Image written to " << path;
    return item;
}

std::string SnapShotElement::WriteImage(const cv::Mat& image, std::string& path)
{
    const ShotName name = ReadShotName();
    int number = name.numbered ? NextNumber(name) : -1;
    path = PathOf(name, number);
    // Encoded in memory, so that only a regular file opened without blocking and without
    // following a link is written: the name may come from a loaded pipeline or a client.
    cv::Mat written = image;
    // Bitmap and JPEG hold 8 bits; the encoder would clip 16-bit values instead of scaling them.
    if (image.depth() == CV_16U && name.extension != ".png")
        ToEightBit(image, written, ChannelsWanted::Unchanged);
    std::vector<unsigned char> bytes;
    if (!cv::imencode(name.extension, written, bytes))
        return "The image could not be encoded";
    if (!name.numbered)
        return WriteRegularFile(path, bytes).Describe();
    // A numbered shot never replaces a file: one that appeared since the folder was read
    // moves it on to the next number.
    FileOutcome outcome = CreateRegularFile(path, bytes);
    for (int taken = 0; !outcome.Ok() && outcome.error == EEXIST && taken < kMaxTakenNames; ++taken) {
        path = PathOf(name, ++number);
        outcome = CreateRegularFile(path, bytes);
    }
    if (outcome.Ok())
        counter_.Set(number + 1);
    return outcome.Describe();
}

std::string SnapShotElement::MakeFileName()
{
    const ShotName name = ReadShotName();
    return PathOf(name, name.numbered ? NextNumber(name) : -1);
}

SnapShotElement::ShotName SnapShotElement::ReadShotName()
{
    ShotName name;
    name.stem = directory_.Get();
    // The directory picker gives folders without a trailing separator.
    if (!name.stem.empty() && name.stem.back() != '/')
        name.stem += '/';
    name.stem += WithoutExtension(file_name_.Get());
    name.extension = ExtensionOf(image_format_.Get());
    name.numbered = auto_number_.Get();
    return name;
}

std::string SnapShotElement::PathOf(const ShotName& name, int number)
{
    return name.stem + (number >= 0 ? "_" + std::to_string(number) : std::string()) + name.extension;
}

int SnapShotElement::NextNumber(const ShotName& name)
{
    const std::size_t slash = name.stem.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : name.stem.substr(0, slash + 1);
    const std::string prefix = name.stem.substr(slash == std::string::npos ? 0 : slash + 1) + "_";
    int next = counter_.Get();
    for (const std::string& file : ListDirectory(folder))
        next = std::max(next, ShotNumber(GetFileName(file), prefix, name.extension) + 1);
    return next;
}
