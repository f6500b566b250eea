#include "elements/BmpReader.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include <boost/lexical_cast.hpp>
#include <boost/make_shared.hpp>
#include <opencv2/imgcodecs.hpp>

#include "core/Utilities.h"
#include "elements/ImageFile.h"

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

// By the name's extension first, so that a numbered video is never read whole; then
// by decoding the file as the frames will be.
bool IsImageFile(const std::string& path)
{
    try {
        if (!cv::haveImageWriter(path))
            return false;
    } catch (const cv::Exception&) {
        return false;
    }
    FileOutcome outcome;
    return !ReadImageFile(path, cv::IMREAD_COLOR, outcome).empty();
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
    if (!HasSequenceNumber(clean_path) || !IsImageFile(clean_path))
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
    // Opened once, so a member replaced by a FIFO since the listing cannot hold the read.
    FileOutcome outcome;
    video_frame->image = ReadImageFile(path, cv::IMREAD_COLOR, outcome);
    return PassableItem<VideoFrame>(video_frame);
}

std::int64_t BmpReader::GetNumberOfFrames()
{
    return static_cast<std::int64_t>(files_.size());
}
