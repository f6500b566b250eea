#include "elements/PathDrawer.h"

#include <cmath>

#include <boost/thread/thread.hpp>
#include <opencv2/imgproc.hpp>

#include "core/ImageConversions.h"
#include "elements/SettingRange.h"
#include "engine/MakeUnownedPtr.h"

namespace {

const char kLineThicknessDescriptor[] = "min=1, max=30";

// cv::ellipse throws on a size that is not a finite positive number, as a fit
// of degenerate points can give; such a record gets no ellipse.
bool IsDrawableEllipse(const cv::RotatedRect& ellipse)
{
    return std::isfinite(ellipse.center.x) && std::isfinite(ellipse.center.y) &&
           std::isfinite(ellipse.size.width) && std::isfinite(ellipse.size.height) &&
           ellipse.size.width > 0 && ellipse.size.height > 0;
}

}  // namespace

PathDrawer::PathDrawer(boost::shared_ptr<ControlAndStatus> controls) : ElementFilter<VideoFrame>(controls)
{
    AddInput(MakeUnownedPtr<Sink<PathContainer>>(&path_in_), "Path In");
    // Containers are taken only with frames.
    path_in_.FollowMainInput(static_cast<Sink<VideoFrame>&>(*this));
    AddOutput(MakeUnownedPtr<Source<PathContainer>>(&path_out_), "Path out");

    settings.AddSetting("_colour_type", &colour_type_, "items=[Random][Selected][Actual]");
    settings.AddSetting("_selected_colour", &selected_colour_, "");
    settings.AddSetting("_draw_bounding_box", &draw_bounding_box_, "");
    settings.AddSetting("_draw_ellipse", &draw_ellipse_, "");
    settings.AddSetting("_draw_rotated_rectangle", &draw_rotated_rectangle_, "");
    settings.AddSetting("_draw_path", &draw_path_, "");
    settings.AddSetting("_draw_lines", &draw_lines_, "");
    settings.AddSetting("_draw_panic_points", &draw_panic_points_, "");
    settings.AddSetting("_draw_convex_hull", &draw_convex_hull_, "");
    settings.AddSetting("_fill", &fill_, "");
    settings.AddSetting("_line_thickness", &line_thickness_, kLineThicknessDescriptor);
    settings.AddSetting("_clear_image", &clear_image_, "");
    settings.AddSetting("_cleared_colour", &cleared_colour_, "");
}

PathDrawer::~PathDrawer() = default;

PassableItem<VideoFrame> PathDrawer::Process(PassableItem<VideoFrame> item)
{
    if (!path_in_.IsConnected()) {
        // Nothing would ever take what arrives, so the feeding side must not block.
        path_in_.SetIgnore(true);
        return item;
    }
    path_in_.SetIgnore(false);
    PassableItem<PathContainer> paths = path_in_.queue.Pop();

    cv::Mat& image = item.data->image;
    // The colours are 8-bit levels.
    ToEightBit(image, image, ChannelsWanted::GreyOrColour);
    if (clear_image_.Get())
        image.setTo(cleared_colour_.Get());

    const DrawOptions options = ReadOptions();
    for (PathRecord& record : paths.data->records) {
        boost::this_thread::interruption_point();
        DrawRecord(image, record, options);
    }
    path_out_.Push(paths);
    return item;
}

PathDrawer::DrawOptions PathDrawer::ReadOptions() const
{
    DrawOptions options;
    options.colour_type = colour_type_.Get();
    options.selected_colour = selected_colour_.Get();
    options.bounding_box = draw_bounding_box_.Get();
    options.ellipse = draw_ellipse_.Get();
    options.rotated_rectangle = draw_rotated_rectangle_.Get();
    options.path = draw_path_.Get();
    options.lines = draw_lines_.Get();
    options.panic_points = draw_panic_points_.Get();
    options.convex_hull = draw_convex_hull_.Get();
    options.fill = fill_.Get();
    static const SettingRange<int> line_thickness_range(kLineThicknessDescriptor);
    options.line_thickness = line_thickness_range.Hold(line_thickness_.Get());
    return options;
}

cv::Scalar PathDrawer::PickColour(const DrawOptions& options, const PathRecord& record)
{
    switch (options.colour_type) {
    case 0:
        return RandomColour();
    case 1:
        return options.selected_colour;
    case 2:
        return record.GetColour();
    default:
        return cv::Scalar(0, 0, 0, 0);
    }
}

void PathDrawer::DrawRecord(cv::Mat& image, PathRecord& record, const DrawOptions& options)
{
    if (record.points.size() < 2)
        return;
    const cv::Scalar colour = PickColour(options, record);
    const int thickness = options.fill ? cv::FILLED : options.line_thickness;

    if (options.bounding_box)
        cv::rectangle(image, record.GetBoundingBox(), colour, thickness, cv::LINE_8);
    if (options.ellipse && record.points.size() >= 5) {
        const cv::RotatedRect ellipse = record.GetEllipse();
        if (IsDrawableEllipse(ellipse))
            cv::ellipse(image, ellipse, colour, thickness, cv::LINE_8);
    }
    if (options.rotated_rectangle)
        DrawRotatedRect(image, record.GetRotatedRect(), options.line_thickness, colour);
    if (options.lines)
        cv::polylines(image, record.points, false, colour, options.line_thickness, cv::LINE_8);
    if (options.path)
        record.DrawPath(image, colour, options.line_thickness);
    if (options.panic_points)
        record.DrawPanicPoints(image);
    if (options.convex_hull)
        record.DrawConvexHull(image, options.fill);
}
