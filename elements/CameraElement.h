// "Camera": captures from the machine's first camera on the thread of its output
// connection. Each camera property the camera answers becomes a setting; edited values
// reach the camera before the next frame. The element owns its capture, which stays
// open from construction to destruction.
#pragma once

#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>
#include <boost/signals2/signal.hpp>
#include <boost/thread/mutex.hpp>

#include "core/CameraControls.h"
#include "core/PreviewControls.h"
#include "core/StopWatch.h"
#include "core/ThreadSafeVariable.h"
#include "core/VideoFrame.h"
#include "elements/VideoCaptureInterface.h"
#include "engine/ElementBase.h"
#include "engine/Source.h"

class ControlAndStatus;

class CameraElement : public ElementBase, public Source<VideoFrame> {
public:
    // One camera property: its setting value and the capture property it drives.
    struct VariableWithPropId {
        VariableWithPropId(double initial, int id, std::string property_name)
            : value(initial), property_id(id), name(std::move(property_name))
        {
        }

        ThreadSafeVariable<double> value;
        int property_id;
        std::string name;
    };

    // Opens camera 0; throws "Camera cannot be loaded" when it does not open.
    explicit CameraElement(boost::shared_ptr<ControlAndStatus> context);
    CameraElement(boost::shared_ptr<ControlAndStatus> context,
                  boost::shared_ptr<VideoCaptureInterface> capture);
    ~CameraElement() override;

    // Blocks until the camera delivers the next frame.
    PassableItem<VideoFrame> GetData() override;
    // Frame times start again at 0; frame numbers go on.
    void Reset() override;
    void OnOneSecondTick() override;

    // Logs every property's current camera value.
    boost::signals2::signal<void()> log_properties_signal;

private:
    void OpenCamera();
    void RegisterProperties();
    void AddCameraProperty(int property_id, const std::string& name);
    void ApplyProperties();
    void LogProperties();

    std::vector<boost::shared_ptr<VariableWithPropId>> properties_;
    boost::shared_ptr<VideoCaptureInterface> capture_;
    ThreadSafeVariable<long long> frame_counter_{0};
    ThreadSafeVariable<long long> last_second_counter_{0};
    StopWatch stop_watch_;
    PreviewControls preview_;
    boost::shared_ptr<CameraControls> camera_controls_;
    boost::mutex camera_mutex_;  // guards calls on capture_
};
