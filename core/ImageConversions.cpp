#include "core/ImageConversions.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include <opencv2/imgproc.hpp>

void ToGrey(const cv::Mat& src, cv::Mat& dst)
{
    if (src.type() == CV_8UC1) {
        if (&src != &dst)
            dst = src;
    } else if (src.type() == CV_8UC3) {
        cv::cvtColor(src, dst, cv::COLOR_BGR2GRAY);
    }
}

void ToColour(const cv::Mat& src, cv::Mat& dst)
{
    if (src.type() == CV_8UC1) {
        cv::cvtColor(src, dst, cv::COLOR_GRAY2BGR);
    } else if (src.type() == CV_8UC3) {
        if (&src != &dst)
            dst = src;
    }
}

namespace {

// The cvtColor code that gives the wanted channels; -1 when they are there already.
int ChannelConversion(int channels, ChannelsWanted wanted)
{
    switch (wanted) {
    case ChannelsWanted::Grey:
        return channels == 3 ? cv::COLOR_BGR2GRAY : channels == 4 ? cv::COLOR_BGRA2GRAY : -1;
    case ChannelsWanted::Colour:
        return channels == 1 ? cv::COLOR_GRAY2BGR : channels == 4 ? cv::COLOR_BGRA2BGR : -1;
    case ChannelsWanted::GreyOrColour:
        return channels == 4 ? cv::COLOR_BGRA2BGR : -1;
    case ChannelsWanted::Unchanged:
        return -1;
    }
    return -1;
}

}  // namespace

void ToEightBit(const cv::Mat& src, cv::Mat& dst, ChannelsWanted wanted)
{
    const int channels = src.channels();
    if ((src.depth() != CV_8U && src.depth() != CV_16U) || channels == 2 || channels > 4)
        CV_Error(cv::Error::StsUnsupportedFormat, "8-bit or 16-bit grey, BGR or BGRA frames are needed");
    cv::Mat eight = src;
    // 257 is the step from 8 to 16 bits: 65535 becomes 255.
    if (src.depth() == CV_16U)
        src.convertTo(eight, CV_8U, 1.0 / 257.0, 0.0);
    const int code = ChannelConversion(channels, wanted);
    if (code >= 0)
        cv::cvtColor(eight, dst, code);
    else
        dst = eight;
}

cv::Scalar BgrToHsv(const cv::Scalar& bgr)
{
    cv::Mat colour(1, 1, CV_32FC4);
    colour.at<cv::Vec4f>(0, 0) = cv::Vec4f(static_cast<float>(bgr[0]), static_cast<float>(bgr[1]),
                                           static_cast<float>(bgr[2]), static_cast<float>(bgr[3]));
    cv::Mat hsv;
    cv::cvtColor(colour, hsv, cv::COLOR_BGR2HSV);
    const cv::Vec3f pixel = hsv.at<cv::Vec3f>(0, 0);
    // The float conversion gives degrees and 0..1; 8-bit HSV frames, which the
    // result is compared with, hold half degrees and 0..255.
    return cv::Scalar(pixel[0] / 2.0, pixel[1] * 255.0, pixel[2], 0.0);
}

void DrawRotatedRect(cv::Mat& image, const cv::RotatedRect& rect, int thickness, const cv::Scalar& colour)
{
    if (rect.size.width <= 0 && rect.size.height <= 0)
        return;
    cv::Point2f corners[4];
    rect.points(corners);
    for (int i = 0; i < 4; ++i) {
        const cv::Point2f& from = corners[i];
        const cv::Point2f& to = corners[(i + 1) % 4];
        cv::line(image, cv::Point(cvRound(from.x), cvRound(from.y)), cv::Point(cvRound(to.x), cvRound(to.y)),
                 colour, thickness, cv::LINE_8, 0);
    }
}

namespace {

bool InsideImage(const cv::Rect& box, const cv::Size& size)
{
    // 64-bit sums: a box far outside must not overflow.
    return box.x >= 0 && box.y >= 0 && std::int64_t(box.x) + box.width <= size.width &&
           std::int64_t(box.y) + box.height <= size.height;
}

}  // namespace

cv::Rect FitRectInImage(cv::Rect& box, const cv::Size& image_size, int min_side)
{
    if (image_size.width <= 0 || image_size.height <= 0)
        return box;
    box.width = std::max(box.width, 0);
    box.height = std::max(box.height, 0);
    if (box.height > image_size.height)
        box.height = image_size.height;
    if (box.width > image_size.width)
        box.width = image_size.width;

    for (int pass = 0; pass < 10000 && !InsideImage(box, image_size); ++pass) {
        if (box.width < min_side)
            ++box.width;
        if (box.height < min_side)
            ++box.height;
        if (box.y < 0)
            ++box.y;
        if (box.x < 0)
            ++box.x;
        if (std::int64_t(box.x) + box.width > image_size.width)
            --box.x;
        if (std::int64_t(box.y) + box.height > image_size.height)
            --box.y;
        if (box.width > image_size.width)
            box.width -= 2;
        if (box.height > image_size.height)
            box.height -= 2;
    }
    return box;
}

cv::Scalar RandomColour()
{
    const int red = std::rand() % 255;
    const int green = std::rand() % 255;
    const int blue = std::rand() % 255;
    return cv::Scalar(blue, green, red, 0);
}
