// A scripted capture for the camera and video reader tests: answers property reads
// from a table, hands out its frames in order (a seek moves the read position), and
// records every property write. It can act as files that cannot seek: every read after
// a seek fails, or the seek itself does. Used from one thread at a time.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <opencv2/core.hpp>
#include <opencv2/videoio.hpp>

#include "elements/VideoCaptureInterface.h"

class FakeVideoCapture : public VideoCaptureInterface {
public:
    bool Open(int device) override
    {
        opened_device = device;
        is_open = opens;
        return is_open;
    }
    bool Open(const std::string& path) override
    {
        opened_path = path;
        is_open = opens;
        return is_open;
    }
    bool IsOpened() const override { return is_open; }
    bool Read(cv::Mat& image) override
    {
        ++reads;
        if (next_frame >= frames.size() || (seek_breaks_reads && seeked)) {
            image.release();
            return false;
        }
        image = frames[next_frame++].clone();
        return true;
    }
    double Get(int property) const override
    {
        const auto found = properties.find(property);
        return found == properties.end() ? -1.0 : found->second;
    }
    bool Set(int property, double value) override
    {
        set_calls.emplace_back(property, value);
        if (on_set)
            on_set();
        if (property != cv::CAP_PROP_POS_FRAMES)
            return true;
        if (seek_fails)
            return false;
        seeked = true;
        next_frame = static_cast<std::size_t>(value);
        return true;
    }
    void Release() override
    {
        is_open = false;
        ++releases;
    }

    // Script.
    bool opens = true;
    std::map<int, double> properties;  // a property not listed answers -1
    std::vector<cv::Mat> frames;
    std::function<void()> on_set;    // runs inside every property write
    bool seek_breaks_reads = false;  // once seeked, no read gives a frame
    bool seek_fails = false;         // a seek answers false and moves nothing

    // Record.
    bool is_open = false;
    int opened_device = -1;
    std::string opened_path;
    std::size_t next_frame = 0;
    bool seeked = false;
    int reads = 0;
    int releases = 0;
    std::vector<std::pair<int, double>> set_calls;
};
