// "Path Drawer": takes one PathContainer per frame on "Path In", draws its
// records onto the frame (made 8-bit, alpha dropped) as the settings say, and
// passes the container on through "Path out". While "Path In" is unconnected
// frames pass untouched; while "input" is, containers are dropped. The element
// owns its variables and both path pads.
#pragma once

#include <opencv2/core.hpp>

#include "core/PathContainer.h"
#include "core/ThreadSafeVariable.h"
#include "core/VideoFrame.h"
#include "engine/BoltOnSink.h"
#include "engine/BoltOnSource.h"
#include "engine/ElementFilter.h"

class ControlAndStatus;

class PathDrawer : public ElementFilter<VideoFrame> {
public:
    explicit PathDrawer(boost::shared_ptr<ControlAndStatus> controls);
    ~PathDrawer() override;

    // Waits for the frame's container while "Path In" is connected.
    PassableItem<VideoFrame> Process(PassableItem<VideoFrame> item) override;

private:
    // The settings read once per frame, so a frame is drawn by one set of them.
    struct DrawOptions {
        int colour_type;
        cv::Scalar selected_colour;
        bool bounding_box;
        bool ellipse;
        bool rotated_rectangle;
        bool path;
        bool lines;
        bool panic_points;
        bool convex_hull;
        bool fill;
        int line_thickness;
    };

    DrawOptions ReadOptions() const;
    static cv::Scalar PickColour(const DrawOptions& options, const PathRecord& record);
    static void DrawRecord(cv::Mat& image, PathRecord& record, const DrawOptions& options);

    BoltOnSink<PathContainer> path_in_;
    BoltOnSource<PathContainer> path_out_;

    // 0 a random colour per record and frame, 1 the selected colour, 2 the record's own.
    ThreadSafeVariable<int> colour_type_{0};
    ThreadSafeVariable<cv::Scalar> selected_colour_{cv::Scalar(0, 0, 0, 0)};
    ThreadSafeVariable<bool> draw_bounding_box_{false};
    ThreadSafeVariable<bool> draw_ellipse_{false};
    ThreadSafeVariable<bool> draw_rotated_rectangle_{false};
    ThreadSafeVariable<bool> draw_path_{false};
    ThreadSafeVariable<bool> draw_lines_{false};
    ThreadSafeVariable<bool> draw_panic_points_{false};
    ThreadSafeVariable<bool> draw_convex_hull_{false};
    // Fills the bounding box, the ellipse and the hull; other shapes keep the line thickness.
    ThreadSafeVariable<bool> fill_{false};
    ThreadSafeVariable<int> line_thickness_{1};
    ThreadSafeVariable<bool> clear_image_{false};
    ThreadSafeVariable<cv::Scalar> cleared_colour_{cv::Scalar(0, 0, 0, 0)};
};
