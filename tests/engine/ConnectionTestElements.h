// Elements with observable behaviour for the connection tests: sources that
// count or block, sinks that record or fail, a pass-through filter and an
// element with path pads.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/thread/mutex.hpp>
#include <boost/thread/thread.hpp>

#include "core/ControlAndStatus.h"
#include "core/FrameQueue.h"
#include "core/PathContainer.h"
#include "core/VideoFrame.h"
#include "engine/DropFrameException.h"
#include "engine/ElementBase.h"
#include "engine/ElementFilter.h"
#include "engine/ElementInput.h"
#include "engine/ElementOutput.h"
#include "engine/MakeUnownedPtr.h"
#include "engine/Sink.h"
#include "engine/Source.h"
#include "support/FrameMaker.h"

// Counts the pipeline hooks it receives.
struct HookCounts {
    std::atomic<int> start{0};
    std::atomic<int> stop{0};
    std::atomic<int> reset{0};
    std::atomic<int> pause{0};
    std::atomic<int> step{0};
};

// Makes a new numbered frame on every call, or an invalid item when told to.
class CountingSource : public ElementOutput<VideoFrame> {
public:
    using ElementOutput<VideoFrame>::ElementOutput;

    PassableItem<VideoFrame> MakeData() override
    {
        ++calls;
        if (!valid.load())
            return PassableItem<VideoFrame>();
        return testsupport::NumberedFrame(next_number_++);
    }

    void Start() override { ++hooks.start; }
    void Stop() override { ++hooks.stop; }
    void Reset() override { ++hooks.reset; }
    void Pause(bool) override { ++hooks.pause; }
    void Step() override { ++hooks.step; }

    std::atomic<int> calls{0};
    std::atomic<bool> valid{true};
    HookCounts hooks;

private:
    std::int64_t next_number_ = 0;  // connection thread only
};

// Hands out what the test pushes, blocking in the queue until then. Its
// resets (pad and element share one override) note whether a connection
// thread was inside MakeData at that moment.
class QueueSource : public ElementOutput<VideoFrame> {
public:
    using ElementOutput<VideoFrame>::ElementOutput;

    PassableItem<VideoFrame> MakeData() override
    {
        struct Inside {
            std::atomic<bool>& flag;
            explicit Inside(std::atomic<bool>& f) : flag(f) { flag = true; }
            ~Inside() { flag = false; }
        } inside(inside_make_data);
        ++calls;
        return queue.Pop();
    }

    void Reset() override
    {
        ++resets;
        if (inside_make_data.load())
            ++resets_while_running;
    }

    FrameQueue<VideoFrame> queue{1};
    std::atomic<int> calls{0};
    std::atomic<bool> inside_make_data{false};
    std::atomic<int> resets{0};
    std::atomic<int> resets_while_running{0};
};

// Records the frame numbers it receives; can drop, fail, or swallow one interruption.
class RecordingSink : public ElementInput<VideoFrame> {
public:
    enum class Mode { Record, ThrowDrop, SwallowOneInterruption };

    using ElementInput<VideoFrame>::ElementInput;

    void ConsumeData(PassableItem<VideoFrame> item) override
    {
        ++entered;
        if (mode == Mode::ThrowDrop) {
            ++drops;
            throw DropFrameException();
        }
        if (mode == Mode::SwallowOneInterruption)
            BlockSwallowingOneInterruption();
        boost::lock_guard<boost::mutex> lock(mutex_);
        numbers_.push_back(item.data->frame_number);
        count = static_cast<int>(numbers_.size());
    }

    std::vector<std::int64_t> Numbers() const
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        return numbers_;
    }

    Mode mode = Mode::Record;  // set before the connection starts
    std::atomic<int> entered{0};
    std::atomic<int> count{0};
    std::atomic<int> drops{0};
    std::atomic<bool> swallowed{false};

private:
    // Badly behaved element code: eats the first interruption and blocks again.
    void BlockSwallowingOneInterruption()
    {
        try {
            boost::this_thread::sleep_for(boost::chrono::hours(1));
        } catch (const boost::thread_interrupted&) {
            swallowed = true;
        }
        boost::this_thread::sleep_for(boost::chrono::hours(1));
    }

    mutable boost::mutex mutex_;  // guards numbers_
    std::vector<std::int64_t> numbers_;
};

class PassThrough : public ElementFilter<VideoFrame> {
public:
    using ElementFilter<VideoFrame>::ElementFilter;
    PassableItem<VideoFrame> Process(PassableItem<VideoFrame> item) override { return item; }
};

// An element with one path output and one path input, neither producing anything.
class PathPadsElement : public ElementBase {
public:
    explicit PathPadsElement(boost::shared_ptr<ControlAndStatus> context) : ElementBase(context)
    {
        AddOutput(MakeUnownedPtr<Source<PathContainer>>(&path_out_), "Path Output");
        AddInput(MakeUnownedPtr<Sink<PathContainer>>(&path_in_), "Path In");
    }
    ~PathPadsElement() override { StopOneSecondTicks(); }

private:
    class PathOut : public Source<PathContainer> {
    public:
        PassableItem<PathContainer> GetData() override { return PassableItem<PathContainer>(); }
    };
    class PathIn : public Sink<PathContainer> {
    public:
        void PassData(PassableItem<PathContainer>) override {}
    };

    PathOut path_out_;
    PathIn path_in_;
};

// Makes an element with its id given, as the element factory would.
template <typename E>
boost::shared_ptr<E> MakeElement(const boost::shared_ptr<ControlAndStatus>& hub, const std::string& id)
{
    auto element = boost::make_shared<E>(hub);
    element->SetId(id);
    return element;
}
