// Reads the system's raw video files: a 1024-byte text header (a video format in the
// control text form) followed by uncompressed 8-bit frames back to back. Files come
// from outside, so a header that does not describe such frames is refused. The open
// file belongs to the reader; the video reader element serialises all calls.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/ThreadSafeVariable.h"
#include "core/VideoFormat.h"
#include "elements/ImageReaderInterface.h"

class RawImageReader : public ImageReaderInterface {
public:
    RawImageReader() = default;
    RawImageReader(const RawImageReader&) = delete;
    RawImageReader& operator=(const RawImageReader&) = delete;
    ~RawImageReader() override;

    // Opens read-only; false for a file that cannot be opened, is not a regular file (a
    // link is not), has no usable header, a frame over 256 MiB or not one whole frame.
    bool Open(std::string path) override;
    bool Close() override;
    bool IsOpen() override;
    // Throws "Could not read frame" when not open or the frame cannot be reached, and
    // std::out_of_range for a frame the file did not hold when opened.
    PassableItem<VideoFrame> GetFrame(std::int64_t frame) override;
    std::int64_t GetNumberOfFrames() override;

private:
    // Reads the header into the format; false when it is not one this reader can play.
    bool ReadHeader();
    bool IsPlayableFormat() const;
    bool FramesFitTheFile();
    static std::FILE* OpenRegularFile(const std::string& path);

    ThreadSafeVariable<bool> is_open_{false};
    ThreadSafeVariable<std::string> path_;
    VideoFormat format_;
    std::int64_t frames_at_open_ = 0;
    std::FILE* file_ = nullptr;
};
