#include "elements/ImageReadElement.h"

#include <boost/make_shared.hpp>
#include <opencv2/imgcodecs.hpp>

#include "core/FILELog.h"
#include "elements/ImageFile.h"
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
    failures_.Use(path);
    // No file chosen yet: nothing to read, nothing to report.
    if (!path.empty())
        frame->image = ReadImage(path);
    preview_.SubmitFrame(frame->image);
    return PassableItem<VideoFrame>(frame);
}

cv::Mat ImageReadElement::ReadImage(const std::string& path)
{
    FileOutcome outcome;
    cv::Mat image = ReadImageFile(path, cv::IMREAD_UNCHANGED, outcome);
    if (image.empty() && failures_.First())
        ReportFailure(path, outcome);
    return image;
}

void ImageReadElement::ReportFailure(const std::string& path, const FileOutcome& outcome)
{
    const std::string id = GetId();
    if (outcome.problem == FileProblem::kNotRegular)
        FILE_LOG(logERROR) << id << ": Not a regular file: " << path;
    else if (!outcome.Ok())
        FILE_LOG(logERROR) << id << ": Could not read image " << path << ": " << outcome.Describe();
    else
        FILE_LOG(logERROR) << id << ": Could not decode image " << path;
}
