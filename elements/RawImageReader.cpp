#include "elements/RawImageReader.h"

#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <exception>
#include <vector>

#include <boost/make_shared.hpp>

#include "core/CustomException.h"
#include "core/FILELog.h"
#include "core/RegularFile.h"

namespace {

const int kMaxDimension = 65535;
// Far above any frame this system records; a header asking for more is hostile.
const std::int64_t kMaxFrameBytes = 256LL * 1024 * 1024;

// Raw files pass 2 GiB easily; positions must not wrap.
static_assert(sizeof(off_t) == 8, "64-bit file offsets are needed");

}  // namespace

RawImageReader::~RawImageReader()
{
    Close();
}

bool RawImageReader::Open(std::string path)
{
    Close();
    path_.Set(path);
    file_ = OpenRegularFile(path);
    if (file_ == nullptr)
        return false;
    is_open_.Set(true);
    if (!ReadHeader() || !FramesFitTheFile()) {
        FILE_LOG(logDEBUG) << "Not a playable raw video file " << path;
        Close();
        return false;
    }
    FILE_LOG(logDEBUG) << "Opened file " << path << " contains " << GetNumberOfFrames() << " frames";
    return true;
}

std::FILE* RawImageReader::OpenRegularFile(const std::string& path)
{
    FileOutcome outcome;
    const int fd = OpenRegularFileForReading(path, outcome);
    if (outcome.problem == FileProblem::kNotRegular)
        FILE_LOG(logERROR) << "Not a regular file: " << path;
    else if (fd < 0)
        FILE_LOG(logDEBUG) << "Could not open video reader";
    if (fd < 0)
        return nullptr;
    std::FILE* file = fdopen(fd, "rb");
    if (file == nullptr) {
        ::close(fd);
        return nullptr;
    }
    // Whole frames are read at once; a buffer would only serve stale bytes of a file
    // that changed since.
    std::setvbuf(file, nullptr, _IONBF, 0);
    return file;
}

bool RawImageReader::ReadHeader()
{
    format_ = VideoFormat();
    std::vector<char> header(VideoFormat::GetHeaderSize(), '\0');
    std::size_t bytes_read = 0;
    if (fseeko(file_, 0, SEEK_SET) == 0)
        bytes_read = std::fread(header.data(), 1, VideoFormat::GetHeaderSize(), file_);
    if (bytes_read < static_cast<std::size_t>(VideoFormat::GetHeaderSize())) {
        // Too short to hold a header, let alone a frame.
        FILE_LOG(logERROR) << "Error reading in file " << path_.Get() << ": " << bytes_read << " of "
                           << VideoFormat::GetHeaderSize() << " bytes of the header";
        return false;
    }
    // The text ends at the first NUL of what was actually read.
    const auto end = std::find(header.begin(), header.begin() + bytes_read, '\0');
    const std::string text(header.begin(), end);
    try {
        return format_.settings.loader.FromString(text) && IsPlayableFormat();
    } catch (const std::exception&) {
        // A header naming settings the format lacks, or nesting them, is not ours.
        return false;
    }
}

bool RawImageReader::FramesFitTheFile()
{
    const std::int64_t frame_size = format_.GetFrameSize();
    if (frame_size > kMaxFrameBytes) {
        FILE_LOG(logERROR) << "Raw video frame of " << frame_size << " bytes is larger than "
                           << kMaxFrameBytes << " bytes in " << path_.Get();
        return false;
    }
    frames_at_open_ = GetNumberOfFrames();
    if (frames_at_open_ < 1) {
        FILE_LOG(logERROR) << "Raw video file " << path_.Get() << " does not hold one whole frame of "
                           << frame_size << " bytes";
        return false;
    }
    return true;
}

bool RawImageReader::IsPlayableFormat() const
{
    const int width = format_.GetWidth();
    const int height = format_.GetHeight();
    if (width < 1 || width > kMaxDimension || height < 1 || height > kMaxDimension)
        return false;
    // The frame must fill the 8-bit image MakeMat gives (one channel, or else three)
    // exactly, neither more nor less.
    const std::int64_t image_bytes =
        static_cast<std::int64_t>(width) * height * (format_.GetChannels() == 1 ? 1 : 3);
    return format_.GetFrameSize() == image_bytes;
}

bool RawImageReader::Close()
{
    if (file_ == nullptr)
        return true;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    is_open_.Set(false);
    return closed;
}

bool RawImageReader::IsOpen()
{
    return is_open_.Get();
}

std::int64_t RawImageReader::GetNumberOfFrames()
{
    if (!is_open_.Get())
        return 0;
    if (fseeko(file_, 0, SEEK_END) != 0)
        return 0;
    const off_t size = ftello(file_);
    fseeko(file_, 0, SEEK_SET);
    if (size < 0)
        return 0;
    return format_.GetFrameCount(static_cast<std::int64_t>(size) - VideoFormat::GetHeaderSize());
}

PassableItem<VideoFrame> RawImageReader::GetFrame(std::int64_t frame)
{
    if (!is_open_.Get())
        throw CustomException("Could not read frame");
    // The frames the file held when opened: one cut short since reads short.
    CheckFrameIndex(frame, frames_at_open_);
    const std::int64_t frame_size = format_.GetFrameSize();
    if (fseeko(file_, static_cast<off_t>(VideoFormat::GetHeaderSize() + frame * frame_size), SEEK_SET) != 0) {
        FILE_LOG(logDEBUG) << "Could not seek in read file " << path_.Get();
        throw CustomException("Could not read frame");
    }
    auto video_frame = boost::make_shared<VideoFrame>();
    // Zeroed first, so a short read shows black rather than stale memory.
    video_frame->image = format_.MakeMat();
    video_frame->image.setTo(cv::Scalar::all(0));
    const std::size_t bytes_read =
        std::fread(video_frame->image.data, 1, static_cast<std::size_t>(frame_size), file_);
    if (bytes_read < static_cast<std::size_t>(frame_size))
        FILE_LOG(logERROR) << "Error reading in file " << path_.Get() << ": " << bytes_read << " of "
                           << frame_size << " bytes of frame " << frame;
    return PassableItem<VideoFrame>(video_frame);
}
