// One connection thread: moves items from an output pad to an input pad of the
// same payload type in an endless loop of passes, waiting at its pause gate and
// keeping the global frame rate. Made by a TypedConnector and owned by the
// ConnectionManager; the pads belong to their elements, so a Looper must be
// destroyed before either of its two elements.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <boost/chrono.hpp>
#include <boost/pointer_cast.hpp>
#include <boost/shared_ptr.hpp>
#include <boost/thread/thread.hpp>

#include "core/ControlAndStatus.h"
#include "core/FILELog.h"
#include "core/FrameRateSettings.h"
#include "core/PassableItem.h"
#include "core/ThreadSafeVariable.h"
#include "engine/DropFrameException.h"
#include "engine/FramePacer.h"
#include "engine/LooperInterface.h"
#include "engine/PauseGate.h"
#include "engine/Sink.h"
#include "engine/SinkBase.h"
#include "engine/Source.h"
#include "engine/SourceBase.h"

template <typename T>
class Looper final : public LooperInterface {
public:
    // Marks both pads as connected to each other and opens the gate; the
    // thread starts only with Start.
    Looper(boost::shared_ptr<SourceBase> source, boost::shared_ptr<SinkBase> sink,
           boost::shared_ptr<ControlAndStatus> context);
    // Unmarks both pads, then stops the thread.
    ~Looper();
    Looper(const Looper&) = delete;
    Looper& operator=(const Looper&) = delete;

    // Stops any thread still running, then runs a new one; keeps the frame
    // count and the gate, so a paused connection stays paused.
    void Start() override;
    // Returns once the thread has ended.
    void Stop() override;
    int GetFrameCount() override { return frame_count_.Get(); }
    std::string GetStatus() override { return status_.Get(); }
    void PrintStatus(bool force) override;
    bool Involves(std::string element_id) override;
    void SetLogEverything(bool log_everything) override { log_everything_.Set(log_everything); }
    void ResetPads() override;
    void Pause(bool paused) override { gate_.SetPaused(paused); }
    // Lets the connection run one more pass, then holds it at the gate.
    void Step() override;

    std::string GetDescription();
    // Whether the connection thread is held at its gate right now.
    bool IsWaitingAtGate() const { return gate_.WaitingCount() > 0; }

private:
    using Clock = boost::chrono::steady_clock;

    // Made once: the status changes several times per pass and must not allocate.
    static inline const std::string kNew = "Null but has source";
    static inline const std::string kRestarting = "Restarting";
    static inline const std::string kStarting = "Starting";
    static inline const std::string kRunningNewThread = "Running New Thread";
    static inline const std::string kGettingData = "Getting Data";
    static inline const std::string kGotData = "Got data now check if ok";
    static inline const std::string kPassing = "Passing data out out";
    static inline const std::string kSinkNotConnected = "Sink is not connected";
    static inline const std::string kBadData = "Bad data, small wait";
    static inline const std::string kTransferCompleted = "Transfer completed";
    static inline const std::string kStopping = "Stopping";
    static inline const std::string kStopped = "stopped";
    static inline const std::string kDestructing = "Destructing";

    void Run();
    void RunPass();
    void PaceFrame();
    void CountItem();
    void SetStatus(const std::string& status);
    static std::int64_t NowNs();
    static void SleepUntilNs(std::int64_t time_ns);

    boost::shared_ptr<Source<T>> source_;
    boost::shared_ptr<Sink<T>> sink_;
    boost::thread thread_;
    boost::shared_ptr<ControlAndStatus> context_;
    ThreadSafeVariable<bool> running_{false};
    // Written by the connection thread alone; wraps to 0 after the largest int.
    ThreadSafeVariable<int> frame_count_{0};
    ThreadSafeVariable<bool> log_everything_{false};
    ThreadSafeVariable<std::string> status_;
    PauseGate gate_;
    FramePacer pacer_;  // connection thread only
    // Held, not just pointed into, so the two settings outlive every reader.
    boost::shared_ptr<FrameRateSettings> frame_rate_settings_;
};

template <typename T>
Looper<T>::Looper(boost::shared_ptr<SourceBase> source, boost::shared_ptr<SinkBase> sink,
                  boost::shared_ptr<ControlAndStatus> context)
    : source_(boost::dynamic_pointer_cast<Source<T>>(source)),
      sink_(boost::dynamic_pointer_cast<Sink<T>>(sink)), context_(context), status_(kNew)
{
    if (context_)
        frame_rate_settings_ = context_->GetSharedControl<FrameRateSettings>("");
    if (!source_ || !sink_) {
        FILE_LOG(logINFO) << "Failed to cast";
        return;
    }
    sink_->held.Set(true);
    source_->held.Set(true);
    sink_->peer_element_id.Set(source_->owner_element_id.Get());
    source_->peer_element_id.Set(sink_->owner_element_id.Get());
    sink_->peer_pad_name.Set(source_->pad_name.Get());
    source_->peer_pad_name.Set(sink_->pad_name.Get());
    gate_.SetPaused(false);
}

template <typename T>
Looper<T>::~Looper()
{
    status_.Set(kDestructing);
    for (PadBase* pad : {static_cast<PadBase*>(sink_.get()), static_cast<PadBase*>(source_.get())}) {
        if (pad) {
            pad->held.Set(false);
            pad->peer_element_id.Set("");
            pad->peer_pad_name.Set("");
        }
    }
    Stop();
    if (sink_)
        sink_->disconnected();
}

template <typename T>
void Looper<T>::Start()
{
    SetStatus(kRestarting);
    Stop();
    SetStatus(kStarting);
    running_.Set(true);
    SetStatus(kRunningNewThread);
    if (!source_ || !sink_) {
        FILE_LOG(logERROR) << "Cannot run as sink or source is null";
        return;
    }
    thread_ = boost::thread(&Looper<T>::Run, this);
}

template <typename T>
void Looper<T>::Stop()
{
    SetStatus(kStopping);
    running_.Set(false);
    // Interrupting the caller must not leave this thread running past the stop.
    boost::this_thread::disable_interruption no_interruption;
    if (!thread_.joinable() || thread_.get_id() == boost::this_thread::get_id())
        return;
    // Element code may swallow an interruption; keep asking until the thread has gone.
    do {
        thread_.interrupt();
    } while (!thread_.try_join_for(boost::chrono::milliseconds(10)));
}

template <typename T>
void Looper<T>::PrintStatus(bool force)
{
    if (!force && !log_everything_.Get())
        return;
    FILE_LOG(logINFO) << GetDescription();
    FILE_LOG(logINFO) << "Frame count: " << frame_count_.Get() << "\n";
}

template <typename T>
bool Looper<T>::Involves(std::string element_id)
{
    if (sink_ && sink_->owner_element_id.Get() == element_id)
        return true;
    return source_ && source_->owner_element_id.Get() == element_id;
}

template <typename T>
void Looper<T>::ResetPads()
{
    if (source_)
        source_->Reset();
    if (sink_)
        sink_->Reset();
}

template <typename T>
void Looper<T>::Step()
{
    gate_.SetPaused(true);
    gate_.Release();
}

template <typename T>
std::string Looper<T>::GetDescription()
{
    const std::string from = source_ ? source_->owner_element_id.Get() : std::string();
    const std::string to = sink_ ? sink_->owner_element_id.Get() : std::string();
    return "Connection : " + from + "->" + to + "\n State : " + status_.Get();
}

template <typename T>
void Looper<T>::Run()
{
    pacer_.Restart(NowNs());
    for (;;) {
        if (!running_.Get()) {
            status_.Set(kStopped);
            return;
        }
        try {
            try {
                RunPass();
            } catch (const DropFrameException&) {
            } catch (const boost::thread_interrupted&) {
            }
        } catch (...) {
            // A stop under way (an interrupted gate, a queue shut down) ends the
            // thread at the loop head at once instead of after the back-off.
            if (!running_.Get())
                continue;
            try {
                SleepUntilNs(NowNs() + 500000000);
            } catch (...) {
                return;
            }
        }
    }
}

template <typename T>
void Looper<T>::RunPass()
{
    SetStatus(kGettingData);
    PassableItem<T> item = source_->GetData();
    SetStatus(kGotData);
    if (item.IsValid()) {
        boost::this_thread::interruption_point();
        SetStatus(kPassing);
        if (sink_->IsConnected()) {
            sink_->PassData(item);
            CountItem();
        } else {
            SetStatus(kSinkNotConnected);
            SleepUntilNs(NowNs() + 200000);
        }
    } else {
        SetStatus(kBadData);
        SleepUntilNs(NowNs() + 200000);
    }
    gate_.Wait();
    PaceFrame();
    status_.Set(kTransferCompleted);
    boost::this_thread::interruption_point();
    source_->SetFeedback(sink_->GetFeedback());
}

template <typename T>
void Looper<T>::PaceFrame()
{
    const double rate = frame_rate_settings_ ? frame_rate_settings_->global_frame_rate.Get() : 0.0;
    const bool limit = frame_rate_settings_ && frame_rate_settings_->limit_frame_rate.Get();
    if (const std::optional<std::int64_t> target = pacer_.Advance(NowNs(), rate, limit))
        SleepUntilNs(*target);
}

template <typename T>
void Looper<T>::CountItem()
{
    const int count = NextFrameCount(frame_count_.Get());
    frame_count_.Set(count);
    sink_->frame_count.Set(count);
    source_->frame_count.Set(count);
}

template <typename T>
void Looper<T>::SetStatus(const std::string& status)
{
    status_.Set(status);
    PrintStatus(false);
}

template <typename T>
std::int64_t Looper<T>::NowNs()
{
    return boost::chrono::duration_cast<boost::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

template <typename T>
void Looper<T>::SleepUntilNs(std::int64_t time_ns)
{
    boost::this_thread::sleep_until(Clock::time_point(boost::chrono::nanoseconds(time_ns)));
}
