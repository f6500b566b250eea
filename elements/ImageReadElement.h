// "Image Read": reads one image file again for every frame, with the file's own
// channels and depth, on the thread of its output connection.
#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "core/PreviewControls.h"
#include "core/RegularFile.h"
#include "core/ThreadSafeVariable.h"
#include "core/VideoFrame.h"
#include "elements/OncePerPath.h"
#include "engine/ElementBase.h"
#include "engine/Source.h"

class ControlAndStatus;

class ImageReadElement : public ElementBase, public Source<VideoFrame> {
public:
    explicit ImageReadElement(boost::shared_ptr<ControlAndStatus> context);

    // A frame with an empty image when the path is empty, the file unreadable, not a
    // picture, or not a regular file (a FIFO would hold the read for ever).
    PassableItem<VideoFrame> GetData() override;

private:
    cv::Mat ReadImage(const std::string& path);
    void ReportFailure(const std::string& path, const FileOutcome& outcome);

    OncePerPath failures_;  // connection thread only
    ThreadSafeVariable<std::string> file_path_;
    PreviewControls preview_;
};
