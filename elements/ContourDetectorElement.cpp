#include "elements/ContourDetectorElement.h"

#include <vector>

#include <boost/make_shared.hpp>
#include <opencv2/imgproc.hpp>

#include "core/ImageConversions.h"
#include "elements/SettingRange.h"
#include "engine/MakeUnownedPtr.h"

namespace {

const char kRetrievalModeDescriptor[] =
    "items=[Retrieve External][Retreve List][Retrieve and Organise][Retreve Tree]";
const char kApproximationDescriptor[] =
    "items=[Chain Approx Simple][Chain Approx TC89 L1][Chain Approx TC89 KCOS]";

}  // namespace

ContourDetectorElement::ContourDetectorElement(boost::shared_ptr<ControlAndStatus> controls)
    : ElementFilter<VideoFrame>(controls)
{
    settings.AddSetting("_retrieval_mode", &retrieval_mode_, kRetrievalModeDescriptor);
    settings.AddSetting("_contour_approximation_methods", &approximation_method_, kApproximationDescriptor);
    AddOutput(MakeUnownedPtr<Source<PathContainer>>(&path_output_), "Path Output");
}

ContourDetectorElement::~ContourDetectorElement() = default;

PassableItem<VideoFrame> ContourDetectorElement::Process(PassableItem<VideoFrame> item)
{
    cv::Mat& image = item.data->image;
    cv::Mat grey;
    // Outlines are found in 8-bit grey, and drawers downstream draw 8-bit colours on the frame.
    ToEightBit(image, image, ChannelsWanted::GreyOrColour);
    ToGrey(image, grey);
    ToColour(image, image);

    // Held to the listed choices, so the offset below cannot overflow.
    static const SettingRange<int> mode_range = SettingRange<int>::OfItems(kRetrievalModeDescriptor);
    static const SettingRange<int> method_range = SettingRange<int>::OfItems(kApproximationDescriptor);
    std::vector<std::vector<cv::Point>> contours;
    cv::findContours(grey, contours, mode_range.Hold(retrieval_mode_.Get()),
                     method_range.Hold(approximation_method_.Get()) + 2, cv::Point(0, 0));

    auto paths = boost::make_shared<PathContainer>();
    paths->records.reserve(contours.size());
    for (std::vector<cv::Point>& contour : contours) {
        PathRecord record;
        record.points = std::move(contour);
        paths->records.push_back(std::move(record));
    }
    path_output_.Push(PassableItem<PathContainer>(paths));
    return item;
}
