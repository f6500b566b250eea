#include "control/UserRegisteredTypes.h"

#include "core/FILELog.h"
#include "elements/BlurElement.h"
#include "elements/CameraElement.h"
#include "elements/ColourSpaceConvertorElement.h"
#include "elements/ContourDetectorElement.h"
#include "elements/DilationElement.h"
#include "elements/EdgeDetect.h"
#include "elements/ErosionElement.h"
#include "elements/FalseColour.h"
#include "elements/FrameSyncronizer.h"
#include "elements/ImageReadElement.h"
#include "elements/InRangeThesholdElement.h"
#include "elements/MainDisplayElement.h"
#include "elements/PathDrawer.h"
#include "elements/SnapShotElement.h"
#include "elements/TeeElement.h"
#include "elements/ThresholdElement.h"
#include "elements/VideoInVideoElement.h"
#include "elements/VideoReaderElement.h"

#include <utility>

UserRegisteredTypes::UserRegisteredTypes(boost::shared_ptr<ControlAndStatus> shared_controls)
    : shared_controls_(std::move(shared_controls))
{
    RegisterTypes();
}

void UserRegisteredTypes::SetCategory(const std::string& category)
{
    current_category_ = category;
}

ElementMakerList UserRegisteredTypes::GetMakers() const
{
    return makers_;
}

void UserRegisteredTypes::RegisterTypes()
{
    SetCategory("Camera");
    AddElement<CameraElement>("Camera", "Records video from the webcam");
    SetCategory("Input");
    AddElement<VideoReaderElement>("Video Read", "Reads video from a file");
    AddElement<ImageReadElement>("Image Read", "Reads an image from a file");
    SetCategory("Tees");
    AddElement<TeeElement>("Tee", "Splits the video into two channels");
    SetCategory("Colour");
    AddElement<FalseColour>("False Colour", "Converts image using false colour maps");
    SetCategory("Bluring");
    AddElement<BlurElement>("Blur", "Basic block blur");
    SetCategory("Morphilogical");
    AddElement<DilationElement>("Dilation", "Increases the width of bright areas");
    AddElement<ErosionElement>("Erosion", "Decreases the width of bright areas");
    SetCategory("Snap Shot");
    AddElement<SnapShotElement>("Snap Shot", "Saves single images to disk");
    SetCategory("Edge Detections");
    AddElement<EdgeDetect>("Canny", "Edge detection, Canny operator");
    SetCategory("Thresholding");
    AddElement<ThresholdElement>("Threshold", "Outputs a thresholded image");
    AddElement<InRangeThesholdElement>("In Range Threshold",
                                       "Thresholds based on whether pixels are within a certain range");
    SetCategory("Colour");
    AddElement<ColourSpaceConvertorElement>("Colour Space Conversion",
                                            "Converts image to a different colour space");
    SetCategory("Contour");
    AddElement<ContourDetectorElement>("Contour Detector", "Extracts contours in an image");
    AddElement<PathDrawer>("Path Drawer", "Different options for drawing paths");
    SetCategory("Video");
    AddElement<VideoInVideoElement>("Video In Video", "Adds a video box on top of another video");
    AddElement<FrameSyncronizer>("Frame Syncronizer", "Syncronises two video streams");
    SetCategory("Main Display");
    AddElement<MainDisplayElement>("Main Display", "Big front display");
    FILE_LOG(logDEBUG) << "Found " << makers_.size() << " elements";
}
