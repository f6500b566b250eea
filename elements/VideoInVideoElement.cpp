#include "elements/VideoInVideoElement.h"

#include <QImage>
#include <boost/make_shared.hpp>
#include <opencv2/imgproc.hpp>

#include "core/ImageConversions.h"
#include "core/OpenCvToQtConversions.h"
#include "core/PassableItem.h"
#include "elements/SettingRange.h"
#include "engine/MakeUnownedPtr.h"

namespace {

const char kTransparencyDescriptor[] = "min=0, max=1";

}  // namespace

VideoInVideoElement::VideoInVideoElement(boost::shared_ptr<ControlAndStatus> controls)
    : ElementFilter<VideoFrame>(controls)
{
    AddInput(MakeUnownedPtr<Sink<VideoFrame>>(&second_input_), "second input");
    // Second frames are taken only with main ones.
    second_input_.FollowMainInput(static_cast<Sink<VideoFrame>&>(*this));
    settings.AddSetting("_sub_image_controls", &sub_image_controls_, "");
    settings.AddSetting("_transparency", &transparency_, kTransparencyDescriptor);
    // The box selector shows this element's output instead.
    preview_controls.SetDisabled(true);
}

VideoInVideoElement::~VideoInVideoElement() = default;

PassableItem<VideoFrame> VideoInVideoElement::Process(PassableItem<VideoFrame> item)
{
    cv::Mat& image = item.data->image;
    NoteImageSize(image);
    if (second_input_.IsConnected()) {
        PassableItem<VideoFrame> second = second_input_.queue.Pop();
        BlendInto(image, second.data->image);
    }
    PushToSelector(image);
    return item;
}

void VideoInVideoElement::NoteImageSize(const cv::Mat& image)
{
    const cv::Size size(image.cols, image.rows);
    if (size == sub_image_controls_.image_size.Get())
        return;
    sub_image_controls_.image_size.Set(size);
    RequestLayoutUpdate();
}

void VideoInVideoElement::BlendInto(cv::Mat& image, cv::Mat& second)
{
    const cv::Rect box = sub_image_controls_.box.Get() & cv::Rect(0, 0, image.cols, image.rows);
    // An empty second image (a source that has nothing yet) cannot be resized.
    if (box.empty() || second.empty())
        return;
    cv::resize(second, second, box.size(), 0, 0, cv::INTER_LINEAR);
    // The two streams may differ in depth and channels (a 16-bit picture over a camera).
    ToEightBit(image, image, ChannelsWanted::GreyOrColour);
    ToEightBit(second, second, image.channels() == 1 ? ChannelsWanted::Grey : ChannelsWanted::Colour);
    cv::Mat roi = image(box);
    static const SettingRange<double> transparency_range(kTransparencyDescriptor);
    const double t = transparency_range.Hold(transparency_.Get());
    cv::addWeighted(second, t, roi, 1.0 - t, 0.0, roi);
}

void VideoInVideoElement::PushToSelector(const cv::Mat& image)
{
    WarnIfNoRgbForm(image, "Sub-image selector", unshowable_types_);
    OpenCvToQtConversions conversion(image);
    conversion.ConvertToRgb();
    auto copy = boost::make_shared<QImage>(conversion.GetQImage().copy());
    sub_image_controls_.image_pipe->Push(PassableItem<QImage>(copy));
}
