// What the video reader element asks of a file reader: open a path, tell the frame
// count, hand out frame n as a new item. The element owns one reader at a time and
// calls it under its own reader mutex.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "core/PassableItem.h"
#include "core/VideoFrame.h"

class ImageReaderInterface {
public:
    virtual ~ImageReaderInterface() = default;

    // True when this reader can serve the path.
    virtual bool Open(std::string path) = 0;
    virtual bool Close() = 0;
    virtual bool IsOpen() = 0;
    // Frame `frame` in a new item; a position outside the file throws.
    virtual PassableItem<VideoFrame> GetFrame(std::int64_t frame) = 0;
    virtual std::int64_t GetNumberOfFrames() = 0;

protected:
    // Refuses a position outside 0 to count - 1 instead of showing a wrong frame.
    static void CheckFrameIndex(std::int64_t frame, std::int64_t count)
    {
        if (frame >= 0 && frame < count)
            return;
        if (count <= 0)
            throw std::out_of_range("Frame " + std::to_string(frame) +
                                    " requested, but the file has no frames");
        throw std::out_of_range("Frame " + std::to_string(frame) + " is outside the frames 0 to " +
                                std::to_string(count - 1));
    }
};
