#include "elements/ImageReadElement.h"

#include <sys/stat.h>

#include <boost/make_shared.hpp>
#include <opencv2/imgcodecs.hpp>

#include "core/FILELog.h"
#include "elements/RegularFile.h"
#include "engine/MakeUnownedPtr.h"

ImageReadElement::ImageReadElement(boost::shared_ptr<ControlAndStatus> context_in)
    : ElementBase(context_in), preview_(context_in)
{
    settings.AddSetting("_preview", &preview_, "");
    settings.AddSetting("_file_path", &file_path_, "type=file_path");
    AddOutput(MakeUnownedPtr<Source<VideoFrame>>(this), "");
}

PassableItem<VideoFrame> ImageReadElement::GetData()
{
    auto frame = boost::make_shared<VideoFrame>();
    const std::string path = file_path_.Get();
    // imread warns on every call for an empty path; there is simply nothing to read.
    if (!path.empty() && IsReadable(path))
        frame->image = cv::imread(path, cv::IMREAD_UNCHANGED);
    preview_.SubmitFrame(frame->image);
    return PassableItem<VideoFrame>(frame);
}

bool ImageReadElement::IsReadable(const std::string& path)
{
    if (IsRegularFile(path)) {
        refused_path_.clear();
        return true;
    }
    // A missing file simply gives empty frames; anything else there is refused, once a path.
    struct stat status {};
    if (stat(path.c_str(), &status) == 0 && path != refused_path_) {
        FILE_LOG(logERROR) << "Not a regular file: " << path;
        refused_path_ = path;
    }
    return false;
}
