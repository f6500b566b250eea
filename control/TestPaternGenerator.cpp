#include "control/TestPaternGenerator.h"

#include "core/ImageConversions.h"
#include "core/Utilities.h"

#include <boost/make_shared.hpp>

#include <cstdint>

TestPaternGenerator::TestPaternGenerator(boost::shared_ptr<ControlAndStatus> context)
    : ElementOutput<VideoFrame>(context)
{
    settings.AddSetting("_width", &width_, "min=1, max=4000");
    settings.AddSetting("_height", &height_, "min=1, max=4000");
    settings.AddSetting("_mode", &mode_, "items=[noise][solid colour]");
    settings.AddSetting("_greyscale", &greyscale_, "");
    settings.AddSetting("_colour", &colour_, "");
}

PassableItem<VideoFrame> TestPaternGenerator::MakeData()
{
    PassableItem<VideoFrame> item(boost::make_shared<VideoFrame>());
    cv::Mat image(height_.Get(), width_.Get(), CV_8UC3);
    if (mode_.Get() == 0)
        FillWithNoise(image);
    else if (mode_.Get() == 1)
        image.setTo(colour_.Get());
    item.data->image = image;
    if (greyscale_.Get())
        ToGrey(item.data->image, item.data->image);
    return item;
}

void TestPaternGenerator::FillWithNoise(cv::Mat& image) const
{
    for (int column = 0; column < image.cols; ++column) {
        for (int row = 0; row < image.rows; ++row) {
            const std::uint32_t number = XorShiftRandom();
            cv::Vec3b& pixel = image.at<cv::Vec3b>(row, column);
            pixel[0] = static_cast<std::uint8_t>(number & 0xFFu);
            pixel[1] = static_cast<std::uint8_t>((number >> 16) & 0xFFu);
            pixel[2] = static_cast<std::uint8_t>((number >> 8) & 0xFFu);
        }
    }
}
