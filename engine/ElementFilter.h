// The one-in, one-out element: at once the element, its input pad and its
// output pad. Items are processed inside PassData, on the upstream
// connection's thread, and queued in a one-slot output queue that the
// downstream connection pops: a stage is at most one item ahead of the next.
#pragma once

#include <boost/shared_ptr.hpp>
#include <opencv2/core.hpp>

#include "core/FrameQueue.h"
#include "core/FrameTypeWarning.h"
#include "core/PassableItem.h"
#include "core/PreviewControls.h"
#include "core/ThreadSafeVariable.h"
#include "engine/ElementBase.h"
#include "engine/MakeUnownedPtr.h"
#include "engine/PadFeedback.h"
#include "engine/Sink.h"
#include "engine/Source.h"

class ControlAndStatus;

template <typename T>
class ElementFilter : public Source<T>, public Sink<T>, public ElementBase {
public:
    explicit ElementFilter(boost::shared_ptr<ControlAndStatus> context);
    // Shuts the queue first, so a connection thread blocked in it wakes with
    // the thrown 0 instead of waiting on a dead object.
    ~ElementFilter() override;

    std::string GetTypeName() override { return T::GetTypeName(); }

    // Source side: the downstream connection takes the next processed item.
    PassableItem<T> GetData() override { return output_queue.Pop(); }
    // The output queue survives a stop: its item is the first after a restart.
    void SetFeedback(PadFeedback value) override { feedback.Set(value); }

    // Sink side: first-item hook, settings hook, Process, preview, forward.
    void PassData(PassableItem<T> item) override;
    PadFeedback GetFeedback() override { return feedback.Get(); }

    // Runs before Process whenever a setting changed since the last item.
    virtual void SettingsChanged() {}
    // Works on the payload in place and returns a valid item.
    virtual PassableItem<T> Process(PassableItem<T> item) = 0;
    // Runs once, with the first item the element ever receives.
    virtual void FirstItem(PassableItem<T> item) {}

    void SubmitPreview(PassableItem<T> item);

private:
    // Process, saying once per image type when OpenCV refuses the frame (the connection
    // drops it without a word) and blanking the preview, which would otherwise go on showing
    // an earlier frame's result as this one's.
    PassableItem<T> ProcessReportingRefusals(PassableItem<T> item);
    void ShowInPreview(const cv::Mat& image);

    FrameTypeWarning refused_types_;

protected:
    FrameQueue<T> output_queue{1};
    ThreadSafeVariable<PadFeedback> feedback;
    ThreadSafeVariable<bool> first_item_seen{false};
    ThreadSafeVariable<bool> do_not_forward{false};
    PreviewControls preview_controls;
};

template <typename T>
ElementFilter<T>::ElementFilter(boost::shared_ptr<ControlAndStatus> context_in)
    : ElementBase(context_in), preview_controls(context_in)
{
    AddInput(MakeUnownedPtr<Sink<T>>(this), "input");
    AddOutput(MakeUnownedPtr<Source<T>>(this), "output");
    settings.AddSetting("_preview_controls", &preview_controls, "");
}

template <typename T>
ElementFilter<T>::~ElementFilter()
{
    output_queue.Shutdown();
}

template <typename T>
void ElementFilter<T>::PassData(PassableItem<T> item)
{
    if (!first_item_seen.Get()) {
        FirstItem(item);
        first_item_seen.Set(true);
    }
    if (settings_changed_flag.Get()) {
        settings_changed_flag.Set(false);
        SettingsChanged();
    }
    PassableItem<T> result = ProcessReportingRefusals(item);
    SubmitPreview(result);
    // The queued item shares its payload with the one Process worked on.
    if (!do_not_forward.Get() && Source<T>::IsConnected())
        output_queue.Push(item);
}

template <typename T>
PassableItem<T> ElementFilter<T>::ProcessReportingRefusals(PassableItem<T> item)
{
    // Taken first: Process may have changed the image before it threw. An empty frame
    // (a file not read) is no fault of this element's.
    const bool empty = !item.IsValid() || item.data->image.empty();
    const int type = empty ? 0 : item.data->image.type();
    const cv::Size size = empty ? cv::Size() : item.data->image.size();
    try {
        return Process(item);
    } catch (const cv::Exception& error) {
        if (!empty) {
            refused_types_.Warn(type, GetId() + " cannot work on frames of type " + cv::typeToString(type) +
                                          ": " + error.err);
            ShowInPreview(cv::Mat::zeros(size, CV_8UC3));
        }
        throw;
    }
}

template <typename T>
void ElementFilter<T>::SubmitPreview(PassableItem<T> item)
{
    // An invalid result has no frame to show.
    if (!item.IsValid())
        return;
    ShowInPreview(item.data->image);
}

template <typename T>
void ElementFilter<T>::ShowInPreview(const cv::Mat& image)
{
    preview_controls.SubmitFrame(image);
    if (preview_controls.TakeSizeChanged() && preview_controls.IsEnabled())
        RequestLayoutUpdate();
}
