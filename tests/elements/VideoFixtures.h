// Fixture files for the video reader tests: a short lossless video and raw video files.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include <opencv2/core.hpp>
#include <opencv2/videoio.hpp>

namespace videofixtures {

// Frame i is noise from seed i with its index in the first pixel, so frames differ everywhere.
inline cv::Mat NumberedFrame(int index, int width = 32, int height = 24)
{
    cv::Mat frame(height, width, CV_8UC3);
    cv::RNG rng(static_cast<std::uint64_t>(index) + 1);
    rng.fill(frame, cv::RNG::UNIFORM, 0, 256);
    frame.at<cv::Vec3b>(0, 0) = cv::Vec3b(index, index, index);
    return frame;
}

// A video of `count` numbered frames in the codec (a four-letter code) that the path's
// container takes. Returns the frames written, or none when the writer would not open.
inline std::vector<cv::Mat> WriteVideo(const std::string& path, const char* codec, int count, double fps)
{
    cv::VideoWriter writer(path, cv::CAP_FFMPEG,
                           cv::VideoWriter::fourcc(codec[0], codec[1], codec[2], codec[3]), fps,
                           cv::Size(32, 24), true);
    if (!writer.isOpened())
        return {};
    std::vector<cv::Mat> frames;
    for (int i = 0; i < count; ++i) {
        frames.push_back(NumberedFrame(i));
        writer << frames.back();
    }
    writer.release();
    return frames;
}

// FFV1 in AVI: lossless, so every frame reads back exactly.
inline std::vector<cv::Mat> WriteLosslessVideo(const std::string& path, int count, double fps)
{
    return WriteVideo(path, "FFV1", count, fps);
}

inline std::string RawHeader(const std::string& settings)
{
    return "<?xml version=\"1.0\"?>\n<Loader>\n" + settings + "</Loader>\n";
}

inline std::string RawSetting(const std::string& name, const std::string& value)
{
    return "\t<Setting name=\"" + name + "\" value=\"" + value + "\" />\n";
}

// The header text padded with NULs to 1024 bytes (or cut there), then the payload.
inline void WriteRawFile(const std::string& path, const std::string& header, const std::string& payload)
{
    std::string bytes = header;
    bytes.resize(1024, '\0');
    std::ofstream(path, std::ios::binary) << bytes << payload;
}

inline std::string MatBytes(const cv::Mat& image)
{
    const cv::Mat continuous = image.clone();
    return std::string(reinterpret_cast<const char*>(continuous.data),
                       continuous.total() * continuous.elemSize());
}

}  // namespace videofixtures
