// Measures what the data-flow engine costs and what it buys. Builds pipelines
// in code and prints one "name value" line per figure (goals in brackets):
//   hop_us_N        wall-clock microseconds per frame, in steady state, for a chain of
//                   a source, N pass-through filters and a sink (N + 1 connections, all
//                   running at once, so each connection handles one frame per period)
//   handoff_us      the same period for a bare two-thread one-slot hand-off
//                   (a mutex and two condition variables)
//   hop_ratio       hop_us_4 / handoff_us
//   hop_cpu_us      CPU time per connection per frame in a chain of 16 pass-through
//                   filters (17 connections), the measuring thread left out
//   handoff_cpu_us  CPU time per item of the bare two-thread hand-off, both threads
//   hop_cpu_ratio   hop_cpu_us / handoff_cpu_us [at most 1.5]
//   pipeline_fps    1920x1080 frames through four OpenCV filters of about equal cost
//   loop_fps        the same OpenCV calls on the same frames in one plain loop
//   pipeline_ratio  pipeline_fps / loop_fps, the median of five rounds run back to back
//   threads_fps     the same four stages as four std::threads joined by one-slot
//                   hand-offs, written by hand
//   pipeline_vs_threads
//                   pipeline_fps / threads_fps, likewise [at least 0.95]
//   latency_p99_ms_vga
//                   99th percentile, in milliseconds, from a frame's making to its arrival
//                   at the sink, for four stages on 640x480 frames fed by a source that
//                   blocks until its next 1/30 s tick
//   latency_ratio   latency_p99_ms_vga / the sum of the four stages' median own times
//                   [at most 1.5]
//   paused_cpu_pct  process CPU, in percent of one core, of a paused pipeline of four
//                   connections over two seconds
//   heap_growth_kb  heap bytes in use (mallinfo2, mapped blocks included) after 3,000
//                   frames through four stages that each make a new 640x480 image, against
//                   after a warm-up, both taken with no frame in flight [below 64]
//   element_overhead_pct
//                   the CPU time the element framework adds per 1920x1080 frame to the
//                   OpenCV work of "Blur", "Threshold" and "Canny" in a pipeline, one
//                   frame at a time, in percent of the same calls made directly
//   clear_ms_4000   "clear" of 4,000 "Blur" elements made by the command language [below 1000]
//   load_ms_4000    "load" of a saved file of those 4,000 elements [below 2000]
//   save_ms_4000    "save" of 4,000 "Blur" elements joined in one chain [below 200]
//   load_ms_16000_without_ids
//                   "load" of a file of 16,000 "Blur" elements that give no id, so each
//                   is named by the id maker [below 2000]
//   load_ms_worst_within_caps
//                   the slowest "load", into an empty pipeline, among files each built at
//                   one of the store's bounds and within all of them: the element cap as a
//                   save writes it (a chain of 20,000 "Blur"), every tag with as many
//                   attributes as allowed, entries with as many children as allowed, as many
//                   tags as allowed, as many connections as the bytes hold, and settings
//                   whose text forms hold settings that do not exist, and 20,000 cameras;
//                   the log's lines are made but kept off standard output [below 3000]
//   refuse_ms_worst_beyond_caps
//                   the slowest refused "load" among files each just beyond one bound, the
//                   breach at the end of some 15 MB within the bounds, and a tag of
//                   200,000 attributes [below 1000]
//   start_ms_churned
//                   "start" of a "Video Read" -> "Blur" pipeline whose two elements were
//                   connected and disconnected 1,000 times before, the median of five
//                   [below 100]
//   preview_throughput_ratio_4k
//                   frames per second of a 3840x2160 source -> "Blur" pipeline with the
//                   previews of both elements requested at the default preview rate, as
//                   their widgets ask, over the same pipeline without previews; the median
//                   of the rounds' own ratios [at least 0.9]. The source is "Image Read" on
//                   a 4K BMP picture, which decodes a new frame each time as a video does
//                   (the bench writes no H.264)
// The process keeps frame buffers in the heap and OpenCV's threading as the application
// has them (KeepFrameBuffersInHeap); only element_overhead_pct runs OpenCV on one thread.
// --quick runs fewer frames (about two and a half minutes); the figures are the same.
// --store prints the pipeline store's figures (clear_ms_4000 to refuse_ms_worst_beyond_caps)
// alone, --previews preview_throughput_ratio_4k alone.

#include <malloc.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <streambuf>
#include <string>
#include <thread>
#include <vector>

#include <boost/any.hpp>
#include <boost/make_shared.hpp>
#include <boost/optional.hpp>
#include <boost/thread/condition_variable.hpp>
#include <boost/thread/mutex.hpp>
#include <boost/thread/thread.hpp>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>

#include "control/LoaderSaver.h"
#include "control/PipelineFiles.h"
#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "core/FILELog.h"
#include "core/FrameHeap.h"
#include "core/FrameRateSettings.h"
#include "core/Output2FILE.h"
#include "core/PreviewControls.h"
#include "core/PreviewSettings.h"
#include "core/VideoFrame.h"
#include "elements/BlurElement.h"
#include "elements/EdgeDetect.h"
#include "elements/ImageReadElement.h"
#include "elements/ThresholdElement.h"
#include "engine/ConnectionManager.h"
#include "engine/ElementFilter.h"
#include "engine/ElementInput.h"
#include "engine/ElementOutput.h"

namespace {

using Clock = std::chrono::steady_clock;
using Item = PassableItem<VideoFrame>;
using CvOperation = std::function<void(const cv::Mat&, cv::Mat&)>;

double SecondsSince(Clock::time_point begin)
{
    return std::chrono::duration<double>(Clock::now() - begin).count();
}

double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
}

double ClockSeconds(clockid_t clock)
{
    timespec time{};
    clock_gettime(clock, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) / 1e9;
}

// The CPU of every thread but the calling one, which only waits and measures.
double OtherThreadsCpuSeconds()
{
    return ClockSeconds(CLOCK_PROCESS_CPUTIME_ID) - ClockSeconds(CLOCK_THREAD_CPUTIME_ID);
}

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const std::size_t index =
        static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::vector<cv::Mat> MakeImages(int count, int width, int height)
{
    cv::RNG rng(12345);
    std::vector<cv::Mat> images;
    for (int i = 0; i < count; ++i) {
        cv::Mat image(height, width, CV_8UC3);
        rng.fill(image, cv::RNG::UNIFORM, 0, 256);
        images.push_back(image);
    }
    return images;
}

std::vector<Item> MakeItems(const std::vector<cv::Mat>& images)
{
    std::vector<Item> items;
    for (const cv::Mat& image : images) {
        auto frame = boost::make_shared<VideoFrame>();
        frame->image = image;
        items.emplace_back(frame);
    }
    return items;
}

// Hands out items made in advance, round robin; for filters that change nothing.
class RingSource : public ElementOutput<VideoFrame> {
public:
    RingSource(boost::shared_ptr<ControlAndStatus> hub, std::vector<Item> ring)
        : ElementOutput<VideoFrame>(hub), ring_(std::move(ring))
    {
    }
    Item MakeData() override { return ring_[next_++ % ring_.size()]; }

private:
    std::vector<Item> ring_;
    std::size_t next_ = 0;  // connection thread only
};

// A new frame per item that shares an image made in advance, so filters that
// replace the image leave the ring as it was.
class ImageRingSource : public ElementOutput<VideoFrame> {
public:
    ImageRingSource(boost::shared_ptr<ControlAndStatus> hub, std::vector<cv::Mat> ring)
        : ElementOutput<VideoFrame>(hub), ring_(std::move(ring))
    {
    }
    Item MakeData() override
    {
        auto frame = boost::make_shared<VideoFrame>();
        frame->image = ring_[next_++ % ring_.size()];
        return Item(frame);
    }

private:
    std::vector<cv::Mat> ring_;
    std::size_t next_ = 0;  // connection thread only
};

class PassThroughFilter : public ElementFilter<VideoFrame> {
public:
    using ElementFilter<VideoFrame>::ElementFilter;
    Item Process(Item item) override { return item; }
};

class OpenCvFilter : public ElementFilter<VideoFrame> {
public:
    OpenCvFilter(boost::shared_ptr<ControlAndStatus> hub, CvOperation operation)
        : ElementFilter<VideoFrame>(hub), operation_(std::move(operation))
    {
    }
    Item Process(Item item) override
    {
        cv::Mat result;
        operation_(item.data->image, result);
        item.data->image = result;
        return item;
    }

private:
    CvOperation operation_;
};

class CountingSink : public ElementInput<VideoFrame> {
public:
    using ElementInput<VideoFrame>::ElementInput;
    void ConsumeData(Item) override { count.fetch_add(1, std::memory_order_relaxed); }
    std::atomic<long long> count{0};
};

// A source, filters and a sink joined in a line by one connection manager and started.
class Line {
public:
    Line(boost::shared_ptr<ControlAndStatus> hub, boost::shared_ptr<ElementBase> source,
         std::vector<boost::shared_ptr<ElementBase>> filters, boost::shared_ptr<ElementBase> sink)
        : manager_(hub)
    {
        elements_.push_back(source);
        elements_.insert(elements_.end(), filters.begin(), filters.end());
        elements_.push_back(sink);
        for (std::size_t i = 0; i < elements_.size(); ++i)
            elements_[i]->SetId("element_" + std::to_string(i));
        for (std::size_t i = 0; i + 1 < elements_.size(); ++i)
            manager_.Connect(elements_[i]->GetOutputs().at(0), elements_[i + 1]->GetInputs().at(0), nullptr,
                             elements_[i], elements_[i + 1]);
        manager_.StartAll();
    }
    ConnectionManager& Manager() { return manager_; }

private:
    std::vector<boost::shared_ptr<ElementBase>> elements_;
    ConnectionManager manager_;  // last: its connections go before the elements
};

// A line that ends in a counting sink.
class Chain {
public:
    Chain(boost::shared_ptr<ControlAndStatus> hub, boost::shared_ptr<ElementBase> source,
          std::vector<boost::shared_ptr<ElementBase>> filters)
        : sink_(boost::make_shared<CountingSink>(hub)), line_(hub, source, filters, sink_)
    {
    }

    long long Count() const { return sink_->count.load(); }
    void WaitForCount(long long count) const
    {
        while (Count() < count)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ConnectionManager& Manager() { return line_.Manager(); }

    // Steady-state seconds per frame at the sink over the given number of frames.
    double SecondsPerFrame(long long warm_up, long long frames)
    {
        WaitForCount(warm_up);
        const long long first = Count();
        const Clock::time_point begin = Clock::now();
        WaitForCount(first + frames);
        return SecondsSince(begin) / static_cast<double>(Count() - first);
    }

private:
    boost::shared_ptr<CountingSink> sink_;
    Line line_;  // last: its connections go before the sink
};

// The bare hand-off a connection cannot avoid: one slot, a mutex, two conditions.
class OneSlot {
public:
    void Push(Item item)
    {
        boost::unique_lock<boost::mutex> lock(mutex_);
        while (slot_)
            not_full_.wait(lock);
        slot_ = std::move(item);
        not_empty_.notify_one();
    }
    Item Pop()
    {
        boost::unique_lock<boost::mutex> lock(mutex_);
        while (!slot_)
            not_empty_.wait(lock);
        Item item = std::move(*slot_);
        slot_.reset();
        not_full_.notify_one();
        return item;
    }

private:
    boost::mutex mutex_;  // guards slot_
    boost::condition_variable not_full_;
    boost::condition_variable not_empty_;
    boost::optional<Item> slot_;
};

struct Handoff {
    double seconds = 0.0;      // wall time per item
    double cpu_seconds = 0.0;  // CPU of both threads per item
};

Handoff MeasureHandoff(const std::vector<Item>& ring, long long frames)
{
    OneSlot slot;
    const double cpu_before = ClockSeconds(CLOCK_PROCESS_CPUTIME_ID);
    boost::thread producer([&] {
        for (long long i = 0; i < frames; ++i)
            slot.Push(ring[i % ring.size()]);
    });
    const Clock::time_point begin = Clock::now();
    for (long long i = 0; i < frames; ++i)
        slot.Pop();
    const double seconds = SecondsSince(begin);
    producer.join();
    const double cpu = ClockSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpu_before;
    return Handoff{seconds / static_cast<double>(frames), cpu / static_cast<double>(frames)};
}

std::vector<boost::shared_ptr<ElementBase>> PassThroughFilters(const boost::shared_ptr<ControlAndStatus>& hub,
                                                               int count)
{
    std::vector<boost::shared_ptr<ElementBase>> filters;
    for (int i = 0; i < count; ++i)
        filters.push_back(boost::make_shared<PassThroughFilter>(hub));
    return filters;
}

// Four stages of about equal cost on a 1920x1080 colour frame.
std::vector<CvOperation> BalancedOperations()
{
    const cv::Mat disc = cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(9, 9));
    return {
        [](const cv::Mat& in, cv::Mat& out) { cv::GaussianBlur(in, out, cv::Size(9, 9), 0); },
        [disc](const cv::Mat& in, cv::Mat& out) { cv::dilate(in, out, disc); },
        [disc](const cv::Mat& in, cv::Mat& out) { cv::erode(in, out, disc); },
        [](const cv::Mat& in, cv::Mat& out) {
            cv::Mat smooth;
            cv::blur(in, smooth, cv::Size(7, 7));
            cv::threshold(smooth, out, 128, 255, cv::THRESH_BINARY);
        },
    };
}

double PipelineFps(const boost::shared_ptr<ControlAndStatus>& hub, const std::vector<cv::Mat>& images,
                   long long frames)
{
    std::vector<boost::shared_ptr<ElementBase>> filters;
    for (const CvOperation& operation : BalancedOperations())
        filters.push_back(boost::make_shared<OpenCvFilter>(hub, operation));
    Chain chain(hub, boost::make_shared<ImageRingSource>(hub, images), filters);
    return 1.0 / chain.SecondsPerFrame(8, frames);
}

double LoopFps(const std::vector<cv::Mat>& images, long long frames)
{
    const std::vector<CvOperation> operations = BalancedOperations();
    const Clock::time_point begin = Clock::now();
    for (long long i = 0; i < frames; ++i) {
        cv::Mat image = images[i % images.size()];
        for (const CvOperation& operation : operations) {
            cv::Mat result;
            operation(image, result);
            image = result;
        }
    }
    return static_cast<double>(frames) / SecondsSince(begin);
}

double PausedCpuPercent(const boost::shared_ptr<ControlAndStatus>& hub, const std::vector<Item>& ring)
{
    Chain chain(hub, boost::make_shared<RingSource>(hub, ring), PassThroughFilters(hub, 3));
    chain.WaitForCount(100);
    chain.Manager().SetPaused(true);
    // Let the threads finish the passes in progress and settle at their gates.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const double cpu_before = ProcessCpuSeconds();
    const Clock::time_point begin = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    return 100.0 * (ProcessCpuSeconds() - cpu_before) / SecondsSince(begin);
}

constexpr int kLongChainFilters = 16;

// hop_cpu_us: the CPU of every connection thread over the frames, per frame and connection.
double HopCpuMicroseconds(const boost::shared_ptr<ControlAndStatus>& hub, const std::vector<Item>& ring,
                          long long frames)
{
    Chain chain(hub, boost::make_shared<RingSource>(hub, ring), PassThroughFilters(hub, kLongChainFilters));
    chain.WaitForCount(500);
    const long long first = chain.Count();
    const double cpu_before = OtherThreadsCpuSeconds();
    chain.WaitForCount(first + frames);
    const double cpu = OtherThreadsCpuSeconds() - cpu_before;
    const double hops = static_cast<double>(chain.Count() - first) * (kLongChainFilters + 1);
    return cpu / hops * 1e6;
}

// pipeline_vs_threads' other side: the four stages as four plain threads, each handing
// its frame to the next through one slot, the first making a frame per item as the
// pipeline's source does. Frames per second between the 8th and the last arrival.
double ThreadsFps(const std::vector<cv::Mat>& images, long long frames)
{
    const std::vector<CvOperation> operations = BalancedOperations();
    const long long warm_up = 8;
    const long long total = warm_up + frames;
    std::vector<std::unique_ptr<OneSlot>> hand_offs;
    for (std::size_t i = 0; i + 1 < operations.size(); ++i)
        hand_offs.push_back(std::make_unique<OneSlot>());
    auto run_stage = [&](const Item& item, std::size_t stage) {
        cv::Mat result;
        operations[stage](item.data->image, result);
        item.data->image = result;
    };
    Clock::time_point begin;
    std::vector<std::thread> threads;
    threads.emplace_back([&] {
        for (long long i = 0; i < total; ++i) {
            auto frame = boost::make_shared<VideoFrame>();
            frame->image = images[i % images.size()];
            Item item(frame);
            run_stage(item, 0);
            hand_offs[0]->Push(item);
        }
    });
    for (std::size_t stage = 1; stage < operations.size(); ++stage) {
        threads.emplace_back([&, stage] {
            const bool last = stage + 1 == operations.size();
            for (long long i = 0; i < total; ++i) {
                Item item = hand_offs[stage - 1]->Pop();
                run_stage(item, stage);
                if (!last)
                    hand_offs[stage]->Push(item);
                else if (i + 1 == warm_up)
                    begin = Clock::now();
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    return static_cast<double>(frames) / SecondsSince(begin);
}

// A frame per 1/30 s tick, stamped with the time it was made.
class TickSource : public ElementOutput<VideoFrame> {
public:
    TickSource(boost::shared_ptr<ControlAndStatus> hub, std::vector<cv::Mat> ring)
        : ElementOutput<VideoFrame>(hub), ring_(std::move(ring)), next_tick_(Clock::now())
    {
    }
    Item MakeData() override
    {
        next_tick_ += std::chrono::microseconds(1000000 / 30);
        boost::this_thread::sleep_until(boost::chrono::steady_clock::time_point(boost::chrono::nanoseconds(
            std::chrono::duration_cast<std::chrono::nanoseconds>(next_tick_.time_since_epoch()).count())));
        auto frame = boost::make_shared<VideoFrame>();
        frame->image = ring_[next_++ % ring_.size()];
        frame->time = std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
        return Item(frame);
    }

private:
    std::vector<cv::Mat> ring_;
    std::size_t next_ = 0;         // connection thread only
    Clock::time_point next_tick_;  // connection thread only
};

// An OpenCV stage that notes how long each of its calls took.
class TimedFilter : public OpenCvFilter {
public:
    using OpenCvFilter::OpenCvFilter;
    Item Process(Item item) override
    {
        const Clock::time_point begin = Clock::now();
        Item result = OpenCvFilter::Process(item);
        const double seconds = SecondsSince(begin);
        std::lock_guard<std::mutex> lock(mutex_);
        seconds_.push_back(seconds);
        return result;
    }
    std::vector<double> Seconds() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return seconds_;
    }

private:
    mutable std::mutex mutex_;  // guards seconds_
    std::vector<double> seconds_;
};

class LatencySink : public ElementInput<VideoFrame> {
public:
    using ElementInput<VideoFrame>::ElementInput;
    void ConsumeData(Item item) override
    {
        const double now = std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
        std::lock_guard<std::mutex> lock(mutex_);
        latencies_.push_back(now - item.data->time);
    }
    std::vector<double> Latencies() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return latencies_;
    }

private:
    mutable std::mutex mutex_;  // guards latencies_
    std::vector<double> latencies_;
};

struct Latency {
    double p99_seconds = 0.0;
    double stage_seconds = 0.0;  // the sum of the stages' median own times
};

Latency MeasureLatency(const boost::shared_ptr<ControlAndStatus>& hub, const std::vector<cv::Mat>& images,
                       long long frames)
{
    std::vector<boost::shared_ptr<TimedFilter>> stages;
    std::vector<boost::shared_ptr<ElementBase>> filters;
    for (const CvOperation& operation : BalancedOperations()) {
        stages.push_back(boost::make_shared<TimedFilter>(hub, operation));
        filters.push_back(stages.back());
    }
    auto sink = boost::make_shared<LatencySink>(hub);
    {
        Line line(hub, boost::make_shared<TickSource>(hub, images), filters, sink);
        const long long warm_up = 10;
        while (static_cast<long long>(sink->Latencies().size()) < warm_up + frames)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        line.Manager().StopAll();
    }
    std::vector<double> latencies = sink->Latencies();
    latencies.erase(latencies.begin(), latencies.begin() + 10);
    Latency latency;
    latency.p99_seconds = Percentile(latencies, 0.99);
    for (const boost::shared_ptr<TimedFilter>& stage : stages)
        latency.stage_seconds += Median(stage->Seconds());
    return latency;
}

// Hands out exactly as many frames as it is allowed, so the pipeline can be emptied.
class GatedSource : public ElementOutput<VideoFrame> {
public:
    GatedSource(boost::shared_ptr<ControlAndStatus> hub, std::vector<cv::Mat> ring)
        : ElementOutput<VideoFrame>(hub), ring_(std::move(ring))
    {
    }
    void Allow(long long frames)
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        allowed_ += frames;
        changed_.notify_all();
    }
    // The wait is an interruption point, so a stop ends it.
    Item MakeData() override
    {
        {
            boost::unique_lock<boost::mutex> lock(mutex_);
            while (allowed_ == 0)
                changed_.wait(lock);
            --allowed_;
        }
        auto frame = boost::make_shared<VideoFrame>();
        frame->image = ring_[next_++ % ring_.size()];
        return Item(frame);
    }

private:
    std::vector<cv::Mat> ring_;
    std::size_t next_ = 0;  // connection thread only
    boost::mutex mutex_;    // guards allowed_
    boost::condition_variable changed_;
    long long allowed_ = 0;
};

double HeapInUseBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks) + static_cast<double>(info.hblkhd);
}

// heap_growth_kb: in use after the frames against after the warm-up, each taken once
// every allowed frame has reached the sink and its threads have gone back to waiting.
double HeapGrowthKb(const boost::shared_ptr<ControlAndStatus>& hub, const std::vector<cv::Mat>& images,
                    long long frames)
{
    std::vector<boost::shared_ptr<ElementBase>> filters;
    for (const CvOperation& operation : BalancedOperations())
        filters.push_back(boost::make_shared<OpenCvFilter>(hub, operation));
    auto source = boost::make_shared<GatedSource>(hub, images);
    Chain chain(hub, source, filters);
    auto in_use_after = [&](long long count) {
        source->Allow(count - chain.Count());
        chain.WaitForCount(count);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return HeapInUseBytes();
    };
    const long long warm_up = 300;
    const double after_warm_up = in_use_after(warm_up);
    const double after_frames = in_use_after(warm_up + frames);
    return (after_frames - after_warm_up) / 1024.0;
}

// A pipeline store in a home folder of its own, removed with it.
class StoreRig {
public:
    StoreRig()
    {
        char pattern[] = "/tmp/orvane-bench-XXXXXX";
        home_ = mkdtemp(pattern);
        const char* old_home = std::getenv("HOME");
        old_home_ = old_home ? old_home : "";
        setenv("HOME", home_.c_str(), 1);
        hub_ = boost::make_shared<ControlAndStatus>();
        commander_ = boost::make_shared<PowerCommanderTop>(hub_);
        hub_->SetCommander(commander_);
        store_ = std::make_unique<LoaderSaver>(nullptr, hub_);
    }
    ~StoreRig()
    {
        store_.reset();
        commander_->Clear();
        setenv("HOME", old_home_.c_str(), 1);
        std::error_code error;
        std::filesystem::remove_all(home_, error);
    }
    // The reply, or the run stops: a figure of a failed command means nothing.
    void Command(const std::string& line) { Expect(line, false); }
    // Likewise for a command that must fail.
    void Refused(const std::string& line) { Expect(line, true); }
    std::size_t ElementCount() const { return commander_->GetElementIds().size(); }
    // Puts a pipeline file of that name in the per-user folder.
    void WriteFile(const std::string& name, const std::string& content) const
    {
        const std::string folder = ControlAndStatus::GetSettingsDirectory();
        std::filesystem::create_directories(folder);
        std::ofstream(folder + name + ".xml", std::ios::binary | std::ios::trunc) << content;
    }

private:
    void Expect(const std::string& line, bool failure)
    {
        if ((commander_->ParseCommand(line) == "Error, command failed") != failure) {
            std::fprintf(stderr, "\"%s\" %s\n", line.c_str(), failure ? "did not fail" : "failed");
            std::exit(1);
        }
    }

    std::string home_;
    std::string old_home_;
    boost::shared_ptr<ControlAndStatus> hub_;
    boost::shared_ptr<PowerCommanderTop> commander_;
    std::unique_ptr<LoaderSaver> store_;
};

double MillisecondsOf(const std::function<void()>& work)
{
    const Clock::time_point begin = Clock::now();
    work();
    return SecondsSince(begin) * 1e3;
}

// Stops the run when the pipeline does not hold the elements a figure was taken for.
void RequireElements(const StoreRig& rig, std::size_t elements)
{
    if (rig.ElementCount() != elements) {
        std::fprintf(stderr, "the pipeline has %zu elements, not %zu\n", rig.ElementCount(), elements);
        std::exit(1);
    }
}

struct StoreTimes {
    double clear_ms = 0.0;
    double load_ms = 0.0;
};

StoreTimes MeasureStore(std::size_t elements)
{
    StoreRig rig;
    // Ids given, so making them is no part of what is measured.
    for (std::size_t i = 0; i < elements; ++i)
        rig.Command("make Blur b" + std::to_string(i));
    rig.Command("save bench_store");
    StoreTimes times;
    times.clear_ms = MillisecondsOf([&] { rig.Command("clear"); });
    times.load_ms = MillisecondsOf([&] { rig.Command("load bench_store"); });
    RequireElements(rig, elements);
    return times;
}

double SaveMilliseconds(std::size_t elements)
{
    StoreRig rig;
    for (std::size_t i = 0; i < elements; ++i) {
        rig.Command("make Blur b" + std::to_string(i));
        if (i > 0)
            rig.Command("connect b" + std::to_string(i - 1) + " b" + std::to_string(i));
    }
    RequireElements(rig, elements);
    return MillisecondsOf([&] { rig.Command("save bench_save"); });
}

double LoadWithoutIdsMilliseconds(std::size_t elements)
{
    StoreRig rig;
    std::string content = "<!DOCTYPE XML>\n<top>\n";
    for (std::size_t i = 0; i < elements; ++i)
        content += "  <Element type=\"Blur\"/>\n";
    rig.WriteFile("bench_no_ids", content + "</top>\n");
    // The settings pass looks each element up by the file's id, which these lack; its
    // lines would land on standard output among the figures.
    Output2FILE::Stream().setstate(std::ios::failbit);
    const double milliseconds = MillisecondsOf([&] { rig.Command("load bench_no_ids"); });
    Output2FILE::Stream().clear();
    RequireElements(rig, elements);
    return milliseconds;
}

// ---- Files at the store's bounds ----

// Keeps the log's lines off standard output while a load runs: they still cost what they
// cost in the application, but do not land among the figures.
class QuietStandardOutput {
public:
    QuietStandardOutput() : kept_(std::cout.rdbuf(&discard_)) {}
    ~QuietStandardOutput() { std::cout.rdbuf(kept_); }
    QuietStandardOutput(const QuietStandardOutput&) = delete;
    QuietStandardOutput& operator=(const QuietStandardOutput&) = delete;

private:
    class Discard : public std::streambuf {
    protected:
        int overflow(int c) override { return traits_type::not_eof(c); }
        std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
    };
    Discard discard_;
    std::streambuf* kept_;
};

// A pipeline file of the entries that entry(0), entry(1), ... give, as many as count
// allows and the byte bound holds.
std::string PipelineFileOf(int count, const std::function<std::string(int)>& entry)
{
    std::string content = "<!DOCTYPE XML>\n<top>\n";
    const std::string end = "</top>\n";
    for (int i = 0; i < count; ++i) {
        const std::string next = entry(i);
        if (content.size() + next.size() + end.size() > static_cast<std::size_t>(kMaxPipelineFileBytes))
            break;
        content += next;
    }
    return content + end;
}

std::string Entry(int index, const std::string& type, const std::string& attributes,
                  const std::string& children)
{
    return "<Element id=\"e" + std::to_string(index) + "\" type=\"" + type + "\"" + attributes + ">" +
           children + "</Element>\n";
}

// count copies of the text, with the copy's number where the text says "#".
std::string Repeated(int count, const std::string& text)
{
    std::string result;
    for (int i = 0; i < count; ++i) {
        std::string copy = text;
        const std::size_t mark = copy.find('#');
        if (mark != std::string::npos)
            copy.replace(mark, 1, std::to_string(i));
        result += copy;
    }
    return result;
}

// Extra attributes up to the bound of a tag that already has taken of them.
std::string FillerAttributes(int taken)
{
    return Repeated(kMaxPipelineTagAttributes - taken, " a#=\"\"");
}

// The element cap, as a save writes it: the costliest element to make and set, in one
// chain, so that every element is connected twice over.
std::string FileAtElementCap()
{
    StoreRig rig;
    for (int i = 0; i < kMaxPipelineElements; ++i) {
        rig.Command("make Blur s" + std::to_string(i));
        if (i > 0)
            rig.Command("connect s" + std::to_string(i - 1) + " s" + std::to_string(i));
    }
    rig.Command("save cap");
    std::ifstream in(ControlAndStatus::GetSettingsDirectory() + "cap.xml", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The files the bounds allow that cost a load the most, one at each bound.
std::vector<std::string> FilesAtTheBounds()
{
    const int children = kMaxPipelineEntryChildren;
    // "top" is a tag too.
    const int per_entry = (kMaxPipelineTags - 1) / kMaxPipelineElements - 1;
    // Settings that no element has, connections whose pads do not exist, and an inset
    // whose text form holds settings the inset lacks: each costs a failure.
    const std::string unknown_setting = "<Settings name=\"z#\" value=\"1\"/>";
    const std::string unknown_pads =
        "<Connection source_element=\"e0\" source_name=\"x\" sink_element=\"e1\" sink_name=\"y\"/>";
    const std::string nested = Repeated(children, "&lt;Setting name=&quot;z#&quot; value=&quot;1&quot;/&gt;");
    const std::string inset =
        "<Settings name=\"_sub_image_controls\" value=\"&lt;Loader&gt;" + nested + "&lt;/Loader&gt;\"/>";
    return {
        FileAtElementCap(),
        PipelineFileOf(kMaxPipelineElements,
                       [&](int i) {
                           return Entry(i, "Blur", FillerAttributes(2),
                                        "<Settings name=\"_width\" value=\"5\"" + FillerAttributes(2) + "/>");
                       }),
        PipelineFileOf((kMaxPipelineTags - 1) / (children + 1),
                       [&](int i) { return Entry(i, "Blur", "", Repeated(children, unknown_setting)); }),
        PipelineFileOf(kMaxPipelineElements,
                       [&](int i) { return Entry(i, "Blur", "", Repeated(per_entry, "<Settings/>")); }),
        PipelineFileOf(kMaxPipelineElements,
                       [&](int i) { return Entry(i, "Blur", "", Repeated(per_entry, unknown_pads)); }),
        PipelineFileOf(kMaxPipelineElements,
                       [&](int i) { return Entry(i, "Video In Video", "", Repeated(per_entry, inset)); }),
        PipelineFileOf(kMaxPipelineElements, [&](int i) { return Entry(i, "Camera", "", ""); }),
    };
}

// The slowest "load" among the files, each into an empty pipeline; refused says whether
// each must be refused or loaded.
double SlowestLoadMilliseconds(const std::vector<std::string>& files, bool refused)
{
    double slowest = 0.0;
    for (const std::string& content : files) {
        StoreRig rig;
        rig.WriteFile("bound", content);
        const QuietStandardOutput quiet;
        slowest = std::max(slowest, MillisecondsOf([&] {
                               if (refused)
                                   rig.Refused("load bound");
                               else
                                   rig.Command("load bound");
                           }));
    }
    return slowest;
}

// Files just beyond one bound each, the breach in their last entry, after some 15 MB of
// entries within the bounds, so that a refusal reads nearly the whole file first.
std::vector<std::string> FilesBeyondTheBounds()
{
    const std::string padding = Repeated(20, "<Settings name=\"_width\" value=\"5\"/>");
    auto ending_in = [&](int entries_before, const std::string& last) {
        return PipelineFileOf(entries_before + 1, [&](int i) {
            return i < entries_before ? Entry(i, "Blur", "", padding) : last;
        });
    };
    return {
        ending_in(kMaxPipelineElements, Entry(kMaxPipelineElements, "Blur", "", "")),
        ending_in(kMaxPipelineElements - 1,
                  Entry(kMaxPipelineElements, "Blur", "", Repeated(kMaxPipelineEntryChildren + 1, "<x/>"))),
        PipelineFileOf(1, [](int i) { return Entry(i, "Blur", Repeated(200000, " a#=\"\""), ""); }),
    };
}

// A short video in the per-user folder, for "Video Read" to open at each reset.
std::string WriteShortVideo()
{
    const std::string path = std::string(std::getenv("HOME")) + "/churn.avi";
    cv::VideoWriter writer(path, cv::CAP_FFMPEG, cv::VideoWriter::fourcc('F', 'F', 'V', '1'), 30.0,
                           cv::Size(64, 48), true);
    if (!writer.isOpened()) {
        std::fprintf(stderr, "could not write %s\n", path.c_str());
        std::exit(1);
    }
    for (int i = 0; i < 30; ++i)
        writer << cv::Mat(48, 64, CV_8UC3, cv::Scalar::all(i * 8));
    return path;
}

double StartAfterChurnMilliseconds(int cycles)
{
    StoreRig rig;
    rig.Command("make \"Video Read\" v");
    rig.Command("set v _file_path \"" + WriteShortVideo() + "\"");
    rig.Command("make Blur b");
    for (int i = 0; i < cycles; ++i) {
        rig.Command("connect v b");
        rig.Command("disconnect v");
    }
    rig.Command("connect v b");
    // The median of a few starts: each opens the video, which a busy machine slows at times.
    std::vector<double> starts;
    for (int i = 0; i < 5; ++i) {
        starts.push_back(MillisecondsOf([&] { rig.Command("start"); }));
        rig.Command("stop");
    }
    return Median(starts);
}

// The settings both the elements and the direct calls use.
constexpr int kBlurSize = 3;
constexpr double kThreshold = 125.0;
constexpr double kThresholdMax = 255.0;
constexpr int kThresholdType = cv::THRESH_BINARY;
constexpr double kCannyLow = 80.0;
constexpr double kCannyHigh = 160.0;

// The calls the three elements make, in their order, on a colour image.
void DirectCalls(cv::Mat& image)
{
    cv::blur(image, image, cv::Size(kBlurSize, kBlurSize), cv::Point(-1, -1), cv::BORDER_REFLECT_101);
    cv::cvtColor(image, image, cv::COLOR_BGR2GRAY);
    cv::threshold(image, image, kThreshold, kThresholdMax, kThresholdType);
    cv::Canny(image, image, kCannyLow, kCannyHigh, 3, false);
}

// Sets an element's setting and stops the run if it did not take, so the
// elements cannot drift from the direct calls unnoticed.
void Configure(ElementBase& element, const char* name, double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    element.settings.SetValue(name, text, "");
    const std::string stored = element.settings.GetValueAsString(name);
    if (stored.empty() || std::strtod(stored.c_str(), nullptr) != value) {
        std::fprintf(stderr, "could not set %s to %s\n", name, text);
        std::exit(1);
    }
}

// One frame in flight: the main thread hands a pre-made image to the source,
// the sink hands the result back with the CPU time the source spent copying.
class FrameTurns {
public:
    struct Arrival {
        cv::Mat image;
        double copy_seconds = 0.0;
    };

    void Release(const cv::Mat& original)
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        released_ = original;
        changed_.notify_all();
    }
    // Source thread. The wait is an interruption point, so a stop ends it.
    cv::Mat Take()
    {
        boost::unique_lock<boost::mutex> lock(mutex_);
        while (released_.empty())
            changed_.wait(lock);
        cv::Mat original = released_;
        released_.release();
        return original;
    }
    void SetCopySeconds(double seconds)
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        copy_seconds_ = seconds;
    }
    // Sink thread.
    void Arrive(const cv::Mat& image)
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        arrived_ = image;
        changed_.notify_all();
    }
    Arrival WaitForArrival()
    {
        boost::unique_lock<boost::mutex> lock(mutex_);
        while (arrived_.empty())
            changed_.wait(lock);
        Arrival arrival{arrived_, copy_seconds_};
        arrived_.release();
        return arrival;
    }

private:
    boost::mutex mutex_;  // guards the three fields below
    boost::condition_variable changed_;
    cv::Mat released_;
    cv::Mat arrived_;
    double copy_seconds_ = 0.0;
};

// Copies each released image into a new frame on its own thread, as a real
// source makes its frames, since the elements work in place.
class TurnSource : public ElementOutput<VideoFrame> {
public:
    TurnSource(boost::shared_ptr<ControlAndStatus> hub, FrameTurns& turns)
        : ElementOutput<VideoFrame>(hub), turns_(turns)
    {
    }
    Item MakeData() override
    {
        const cv::Mat original = turns_.Take();
        const double begin = ClockSeconds(CLOCK_THREAD_CPUTIME_ID);
        auto frame = boost::make_shared<VideoFrame>();
        frame->image = original.clone();
        turns_.SetCopySeconds(ClockSeconds(CLOCK_THREAD_CPUTIME_ID) - begin);
        return Item(frame);
    }

private:
    FrameTurns& turns_;
};

class TurnSink : public ElementInput<VideoFrame> {
public:
    TurnSink(boost::shared_ptr<ControlAndStatus> hub, FrameTurns& turns)
        : ElementInput<VideoFrame>(hub), turns_(turns)
    {
    }
    void ConsumeData(Item item) override { turns_.Arrive(item.data->image); }

private:
    FrameTurns& turns_;
};

// Sets OpenCV's number of worker threads for its lifetime.
class OpenCvThreads {
public:
    explicit OpenCvThreads(int threads) : before_(cv::getNumThreads()) { cv::setNumThreads(threads); }
    ~OpenCvThreads() { cv::setNumThreads(before_); }
    OpenCvThreads(const OpenCvThreads&) = delete;
    OpenCvThreads& operator=(const OpenCvThreads&) = delete;

private:
    int before_;
};

// element_overhead_pct, measured one frame at a time in CPU time. Per frame, a thread of
// its own runs the OpenCV calls of "Blur", "Threshold" and "Canny" directly on a fresh
// copy of a pre-made image, timing its own CPU (a new thread each frame lands on the
// cores as the connection threads do: the main thread alone could sit on a slow core
// for a whole run and move the figure by ten points); then the main thread hands the
// same pre-made image to a real pipeline (source, the three elements, sink, one
// connection thread each) and waits until the sink has the result. The next frame goes
// in only when the last has arrived, so the stages run one after another, as the direct
// calls do; the CPU the process spends meanwhile outside the main thread is the OpenCV
// work plus everything the framework adds (connection passes, pad calls, queues, waking
// threads, settings reads, frames moving between cores), less the source's own copy of
// the image, which it times. CPU time rather than wall time, so that on a busy machine a thread waiting
// for a free core does not count as framework cost. Direct and pipeline frames
// alternate, so load touches both alike. The figure is the median per-frame difference
// against the median direct time; none when the elements' results differ from the
// direct calls'.
std::optional<double> ElementOverheadPercent(const boost::shared_ptr<ControlAndStatus>& hub,
                                             const std::vector<cv::Mat>& images, long long frames)
{
    // The direct side times one thread's CPU, so OpenCV's own workers would escape it;
    // here alone the calls run on the calling thread. Every other figure keeps OpenCV's
    // threading as the application has it.
    const OpenCvThreads one_thread(1);
    auto blur = boost::make_shared<BlurElement>(hub);
    Configure(*blur, "_width", kBlurSize);
    Configure(*blur, "_height", kBlurSize);
    auto threshold = boost::make_shared<ThresholdElement>(hub);
    Configure(*threshold, "_threshold", kThreshold);
    Configure(*threshold, "_max_value", kThresholdMax);
    Configure(*threshold, "_type", kThresholdType);
    auto canny = boost::make_shared<EdgeDetect>(hub);
    Configure(*canny, "_threshold_1", kCannyLow);
    Configure(*canny, "_threshold_2", kCannyHigh);

    FrameTurns turns;  // outlives the line's threads
    Line line(hub, boost::make_shared<TurnSource>(hub, turns), {blur, threshold, canny},
              boost::make_shared<TurnSink>(hub, turns));

    // The first frames meet first-item hooks and first allocations.
    const long long warm_up = 5;
    std::vector<double> direct, extra;
    for (long long i = 0; i < warm_up + frames; ++i) {
        const cv::Mat& original = images[i % images.size()];
        cv::Mat direct_image = original.clone();
        double direct_seconds = 0.0;
        std::thread([&] {
            const double direct_begin = ClockSeconds(CLOCK_THREAD_CPUTIME_ID);
            DirectCalls(direct_image);
            direct_seconds = ClockSeconds(CLOCK_THREAD_CPUTIME_ID) - direct_begin;
        }).join();

        const double main_begin = ClockSeconds(CLOCK_THREAD_CPUTIME_ID);
        const double process_begin = ClockSeconds(CLOCK_PROCESS_CPUTIME_ID);
        turns.Release(original);
        const FrameTurns::Arrival arrival = turns.WaitForArrival();
        const double process_seconds = ClockSeconds(CLOCK_PROCESS_CPUTIME_ID) - process_begin;
        const double main_seconds = ClockSeconds(CLOCK_THREAD_CPUTIME_ID) - main_begin;
        const double pipeline_seconds = process_seconds - main_seconds - arrival.copy_seconds;
        const cv::Mat& result = arrival.image;

        // Both sides must do the same work for the figure to mean anything.
        if (result.size() != direct_image.size() || result.type() != direct_image.type() ||
            cv::norm(result, direct_image, cv::NORM_INF) != 0.0)
            return std::nullopt;
        if (i >= warm_up) {
            direct.push_back(direct_seconds);
            extra.push_back(pipeline_seconds - direct_seconds);
        }
    }
    return 100.0 * Median(extra) / Median(direct);
}

// Asks for one element's preview as its widget does: at the preview rate, never while a
// request is pending, taking each finished image. Runs on a thread of its own until destroyed.
class PreviewRequester {
public:
    PreviewRequester(PreviewControls& controls, double rate)
        : thread_([this, &controls, rate] { Run(controls, rate); })
    {
    }
    ~PreviewRequester()
    {
        stop_ = true;
        thread_.join();
    }

private:
    void Run(PreviewControls& controls, double rate)
    {
        const auto interval = std::chrono::duration<double>(1.0 / rate);
        Clock::time_point requested = Clock::now() - std::chrono::seconds(1);
        while (!stop_) {
            if (controls.IsImageReady()) {
                controls.GetImage();
            } else if (Clock::now() - requested > interval && !controls.IsPreviewWanted()) {
                requested = Clock::now();
                controls.RequestPreview(kPreviewWidth);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    static constexpr int kPreviewWidth = 300;  // about a node panel's
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

PreviewControls& PreviewOf(ElementBase& element, const char* setting)
{
    return *boost::any_cast<PreviewControls*>(element.settings.FindItem(setting).value);
}

// Frames per second at the sink of "Image Read" (the 4K picture) -> "Blur", with or without
// both previews requested.
double FourKFps(const boost::shared_ptr<ControlAndStatus>& hub, const std::string& picture, bool previews,
                long long frames)
{
    auto reader = boost::make_shared<ImageReadElement>(hub);
    reader->settings.SetValue("_file_path", picture, "");
    auto blur = boost::make_shared<BlurElement>(hub);
    std::optional<PreviewRequester> reader_preview, blur_preview;
    const double rate = PreviewSettings().max_preview_framerate.Get();
    if (previews) {
        reader_preview.emplace(PreviewOf(*reader, "_preview"), rate);
        blur_preview.emplace(PreviewOf(*blur, "_preview_controls"), rate);
    }
    Chain chain(hub, reader, {blur});
    return 1.0 / chain.SecondsPerFrame(5, frames);
}

double PreviewThroughputRatio4k(const boost::shared_ptr<ControlAndStatus>& hub, long long frames)
{
    cv::Mat picture(2160, 3840, CV_8UC3);
    cv::randu(picture, cv::Scalar::all(0), cv::Scalar::all(255));
    const std::string path =
        (std::filesystem::temp_directory_path() / ("orvane-bench-4k-" + std::to_string(getpid()) + ".bmp"))
            .string();
    if (!cv::imwrite(path, picture)) {
        std::fprintf(stderr, "could not write %s\n", path.c_str());
        std::exit(1);
    }
    // Alternated, and each round's own ratio taken, so that a change in the machine's load
    // touches both sides alike.
    std::vector<double> ratios;
    for (int round = 0; round < 5; ++round) {
        const double without = FourKFps(hub, path, false, frames);
        const double with = FourKFps(hub, path, true, frames);
        ratios.push_back(with / without);
    }
    std::remove(path.c_str());
    return Median(ratios);
}

void Print(const char* name, double value)
{
    std::printf("%s %.3f\n", name, value);
    std::fflush(stdout);
}

void PrintStoreFigures()
{
    const StoreTimes store = MeasureStore(4000);
    Print("clear_ms_4000", store.clear_ms);
    Print("load_ms_4000", store.load_ms);
    Print("save_ms_4000", SaveMilliseconds(4000));
    Print("load_ms_16000_without_ids", LoadWithoutIdsMilliseconds(16000));
    Print("load_ms_worst_within_caps", SlowestLoadMilliseconds(FilesAtTheBounds(), false));
    Print("refuse_ms_worst_beyond_caps", SlowestLoadMilliseconds(FilesBeyondTheBounds(), true));
}

}  // namespace

int main(int argc, char** argv)
{
    bool quick = false;
    bool store_only = false;
    bool previews_only = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            quick = true;
        } else if (std::strcmp(argv[i], "--store") == 0) {
            store_only = true;
        } else if (std::strcmp(argv[i], "--previews") == 0) {
            previews_only = true;
        } else {
            std::fprintf(stderr, "usage: %s [--quick] [--store] [--previews]\n", argv[0]);
            return 2;
        }
    }
    KeepFrameBuffersInHeap();
    FILELog::ReportingLevel() = logERROR;  // keep stdout to the figures

    if (store_only) {
        PrintStoreFigures();
        std::cout.setstate(std::ios::failbit);
        return 0;
    }

    auto hub = boost::make_shared<ControlAndStatus>();
    auto rate = hub->GetSharedControl<FrameRateSettings>("");
    rate->limit_frame_rate.Set(false);
    const long long frames_4k = quick ? 40 : 120;
    if (previews_only) {
        Print("preview_throughput_ratio_4k", PreviewThroughputRatio4k(hub, frames_4k));
        std::cout.setstate(std::ios::failbit);
        return 0;
    }

    const int repeats = 3;
    const long long hop_frames = quick ? 5000 : 50000;
    const long long pipeline_frames = 600;
    const long long overhead_frames = quick ? 900 : 1200;
    const long long latency_frames = quick ? 300 : 900;
    const std::vector<Item> small_ring = MakeItems(MakeImages(8, 640, 480));

    std::vector<double> handoff, handoff_cpu;
    for (int r = 0; r < repeats; ++r) {
        const Handoff measured = MeasureHandoff(small_ring, hop_frames * 2);
        handoff.push_back(measured.seconds);
        handoff_cpu.push_back(measured.cpu_seconds);
    }
    const double handoff_us = Median(handoff) * 1e6;
    const double handoff_cpu_us = Median(handoff_cpu) * 1e6;

    double hop_us_4 = 0.0;
    for (int filters : {1, 2, 4, 8}) {
        std::vector<double> runs;
        for (int r = 0; r < repeats; ++r) {
            Chain chain(hub, boost::make_shared<RingSource>(hub, small_ring),
                        PassThroughFilters(hub, filters));
            runs.push_back(chain.SecondsPerFrame(200, hop_frames));
        }
        const double hop_us = Median(runs) * 1e6;
        if (filters == 4)
            hop_us_4 = hop_us;
        Print(("hop_us_" + std::to_string(filters)).c_str(), hop_us);
    }
    Print("handoff_us", handoff_us);
    Print("hop_ratio", hop_us_4 / handoff_us);
    std::vector<double> hop_cpu;
    for (int r = 0; r < repeats; ++r)
        hop_cpu.push_back(HopCpuMicroseconds(hub, small_ring, hop_frames / 2));
    const double hop_cpu_us = Median(hop_cpu);
    Print("hop_cpu_us", hop_cpu_us);
    Print("handoff_cpu_us", handoff_cpu_us);
    Print("hop_cpu_ratio", hop_cpu_us / handoff_cpu_us);

    const std::vector<cv::Mat> large_ring = MakeImages(4, 1920, 1080);
    // Alternated, so that a change in the machine's load touches all alike.
    // The ratios are the medians of each round's own ratio: a round's three runs follow
    // one another, so a drift in the machine's speed cancels out of it.
    std::vector<double> pipeline_runs, loop_runs, threads_runs, loop_ratios, threads_ratios;
    for (int r = 0; r < 5; ++r) {
        pipeline_runs.push_back(PipelineFps(hub, large_ring, pipeline_frames));
        loop_runs.push_back(LoopFps(large_ring, pipeline_frames));
        threads_runs.push_back(ThreadsFps(large_ring, pipeline_frames));
        loop_ratios.push_back(pipeline_runs.back() / loop_runs.back());
        threads_ratios.push_back(pipeline_runs.back() / threads_runs.back());
    }
    Print("pipeline_fps", Median(pipeline_runs));
    Print("loop_fps", Median(loop_runs));
    Print("pipeline_ratio", Median(loop_ratios));
    Print("threads_fps", Median(threads_runs));
    Print("pipeline_vs_threads", Median(threads_ratios));

    const std::vector<cv::Mat> vga_ring = MakeImages(8, 640, 480);
    const Latency latency = MeasureLatency(hub, vga_ring, latency_frames);
    Print("latency_p99_ms_vga", latency.p99_seconds * 1e3);
    Print("latency_ratio", latency.p99_seconds / latency.stage_seconds);

    Print("paused_cpu_pct", PausedCpuPercent(hub, small_ring));
    Print("heap_growth_kb", HeapGrowthKb(hub, vga_ring, 3000));
    const std::optional<double> overhead_pct = ElementOverheadPercent(hub, large_ring, overhead_frames);
    if (!overhead_pct) {
        std::fprintf(stderr, "the elements' results differ from the direct OpenCV calls'\n");
        return 1;
    }
    Print("element_overhead_pct", *overhead_pct);

    PrintStoreFigures();
    Print("start_ms_churned", StartAfterChurnMilliseconds(1000));
    Print("preview_throughput_ratio_4k", PreviewThroughputRatio4k(hub, frames_4k));
    // The hub's destructor says goodbye on standard output: keep that to the figures.
    std::cout.setstate(std::ios::failbit);
    return 0;
}
