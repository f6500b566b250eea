#include "elements/BmpReader.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include <boost/lexical_cast.hpp>
#include <boost/make_shared.hpp>
#include <opencv2/imgcodecs.hpp>

#include "core/Utilities.h"
#include "elements/RegularFile.h"

namespace {

// The folder listing gives absolute, clean paths; the opened path must look the same
// for its key to match theirs.
std::string AbsoluteCleanPath(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error)
        return path;
    return absolute.lexically_normal().string();
}

bool IsImageFile(const std::string& path)
{
    try {
        return cv::haveImageReader(path);
    } catch (const cv::Exception&) {
        return false;
    }
}

// The text before the last ".", and after it; a "." in a folder name counts too.
void SplitExtension(const std::string& path, std::string& stem, std::string& extension)
{
    const std::size_t dot = path.rfind('.');
    stem = dot == std::string::npos ? path : path.substr(0, dot);
    extension = dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

}  // namespace

bool BmpReader::HasSequenceNumber(const std::string& path)
{
    try {
        SequenceNumber(path);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::string BmpReader::SequenceKey(const std::string& path)
{
    std::string stem;
    std::string extension;
    SplitExtension(path, stem, extension);
    const std::size_t underscore = stem.rfind('_');
    if (underscore != std::string::npos)
        stem.erase(underscore);
    return stem + "." + extension;
}

int BmpReader::SequenceNumber(const std::string& path)
{
    std::string stem;
    std::string extension;
    SplitExtension(path, stem, extension);
    const std::size_t underscore = stem.rfind('_');
    if (underscore == std::string::npos)
        throw std::invalid_argument("No sequence number in " + path);
    return boost::lexical_cast<int>(stem.substr(underscore + 1));
}

bool BmpReader::Open(std::string path)
{
    path_ = path;
    files_.clear();
    is_open_.Set(false);
    const std::string clean_path = AbsoluteCleanPath(path);
    if (!IsRegularFile(clean_path) || !IsImageFile(clean_path) || !HasSequenceNumber(clean_path))
        return false;

    const std::string key = SequenceKey(clean_path);
    for (const std::string& listed : ListDirectory(GetDirectory(clean_path))) {
        const std::string file = AbsoluteCleanPath(listed);
        if (SequenceKey(file) == key && HasSequenceNumber(file))
            files_.push_back(SequenceFile{file, SequenceNumber(file)});
    }
    std::stable_sort(files_.begin(), files_.end(),
                     [](const SequenceFile& a, const SequenceFile& b) { return a.number < b.number; });
    is_open_.Set(!files_.empty());
    return is_open_.Get();
}

bool BmpReader::Close()
{
    is_open_.Set(false);
    return true;
}

bool BmpReader::IsOpen()
{
    return is_open_.Get();
}

PassableItem<VideoFrame> BmpReader::GetFrame(std::int64_t frame)
{
    CheckFrameIndex(frame, GetNumberOfFrames());
    auto video_frame = boost::make_shared<VideoFrame>();
    const std::string& path = files_[static_cast<std::size_t>(frame)].path;
    // A member replaced by a FIFO since the listing would hold the read for ever.
    if (IsRegularFile(path))
        video_frame->image = cv::imread(path, cv::IMREAD_COLOR);
    return PassableItem<VideoFrame>(video_frame);
}

std::int64_t BmpReader::GetNumberOfFrames()
{
    return static_cast<std::int64_t>(files_.size());
}
