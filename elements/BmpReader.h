// Plays a numbered image sequence: every file of the opened file's folder named like
// it with another number after the last "_" (shot_1.png, shot_2.png, shot_10.png),
// in numeric order. Has no lock of its own; the video reader element serialises it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/ThreadSafeVariable.h"
#include "elements/ImageReaderInterface.h"

class BmpReader : public ImageReaderInterface {
public:
    BmpReader() = default;

    // Opens only for a regular file, not a link, with an image extension that OpenCV
    // decodes as an image.
    bool Open(std::string path) override;
    bool Close() override;
    bool IsOpen() override;
    // Three-channel 8-bit colour, whatever the file holds; empty when unreadable, not a
    // picture, or no longer a regular file.
    PassableItem<VideoFrame> GetFrame(std::int64_t frame) override;
    std::int64_t GetNumberOfFrames() override;

    // The path without its number: "dir/shot_3.png" -> "dir/shot.png".
    static std::string SequenceKey(const std::string& path);
    // The decimal number after the last "_" of the name; throws when there is none.
    static int SequenceNumber(const std::string& path);

private:
    static bool HasSequenceNumber(const std::string& path);

    struct SequenceFile {
        std::string path;
        int number;
    };

    std::string path_;
    ThreadSafeVariable<bool> is_open_{false};
    std::vector<SequenceFile> files_;
};
