// Measures what the data-flow engine costs and what it buys. Builds pipelines
// in code and prints one "name value" line per figure:
//   hop_us_N        wall-clock microseconds per frame, in steady state, for a chain of
//                   a source, N pass-through filters and a sink (N + 1 connections, all
//                   running at once, so each connection handles one frame per period)
//   handoff_us      the same period for a bare two-thread one-slot hand-off
//                   (a mutex and two condition variables)
//   hop_ratio       hop_us_4 / handoff_us
//   pipeline_fps    1920x1080 frames through four OpenCV filters of about equal cost
//   loop_fps        the same OpenCV calls on the same frames in one plain loop
//   pipeline_ratio  pipeline_fps / loop_fps
//   paused_cpu_pct  process CPU, in percent of one core, of a paused pipeline of four
//                   connections over two seconds
//   rss_growth_pct  resident memory after 10,000 frames through the chain of four
//                   filters, against after the first 1,000
//   element_overhead_pct
//                   the CPU time the element framework adds per 1920x1080 frame to the
//                   OpenCV work of "Blur", "Threshold" and "Canny" in a pipeline, one
//                   frame at a time, in percent of the same calls made directly
// --quick runs fewer frames (under 30 seconds in all); the figures are the same.

#include <malloc.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/optional.hpp>
#include <boost/thread/condition_variable.hpp>
#include <boost/thread/mutex.hpp>
#include <boost/thread/thread.hpp>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "core/ControlAndStatus.h"
#include "core/FILELog.h"
#include "core/FrameRateSettings.h"
#include "core/VideoFrame.h"
#include "elements/BlurElement.h"
#include "elements/EdgeDetect.h"
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

double ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long long size = 0, resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
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
class RingSource : public ElementOutput<VideoFrame>
{
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
class ImageRingSource : public ElementOutput<VideoFrame>
{
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

class PassThroughFilter : public ElementFilter<VideoFrame>
{
public:
    using ElementFilter<VideoFrame>::ElementFilter;
    Item Process(Item item) override { return item; }
};

class OpenCvFilter : public ElementFilter<VideoFrame>
{
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

class CountingSink : public ElementInput<VideoFrame>
{
public:
    using ElementInput<VideoFrame>::ElementInput;
    void ConsumeData(Item) override { count.fetch_add(1, std::memory_order_relaxed); }
    std::atomic<long long> count{0};
};

// A source, filters and a sink joined in a line by one connection manager and started.
class Line
{
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
class Chain
{
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
class OneSlot
{
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

double HandoffSeconds(const std::vector<Item>& ring, long long frames)
{
    OneSlot slot;
    boost::thread producer([&] {
        for (long long i = 0; i < frames; ++i)
            slot.Push(ring[i % ring.size()]);
    });
    const Clock::time_point begin = Clock::now();
    for (long long i = 0; i < frames; ++i)
        slot.Pop();
    const double seconds = SecondsSince(begin);
    producer.join();
    return seconds / static_cast<double>(frames);
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

double RssGrowthPercent(const boost::shared_ptr<ControlAndStatus>& hub, const std::vector<Item>& ring)
{
    Chain chain(hub, boost::make_shared<RingSource>(hub, ring), PassThroughFilters(hub, 4));
    chain.WaitForCount(1000);
    const double after_first = ResidentBytes();
    chain.WaitForCount(10000);
    return 100.0 * (ResidentBytes() - after_first) / after_first;
}

double ClockSeconds(clockid_t clock)
{
    timespec time{};
    clock_gettime(clock, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) / 1e9;
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
class FrameTurns
{
public:
    struct Arrival
    {
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
class TurnSource : public ElementOutput<VideoFrame>
{
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

class TurnSink : public ElementInput<VideoFrame>
{
public:
    TurnSink(boost::shared_ptr<ControlAndStatus> hub, FrameTurns& turns)
        : ElementInput<VideoFrame>(hub), turns_(turns)
    {
    }
    void ConsumeData(Item item) override { turns_.Arrive(item.data->image); }

private:
    FrameTurns& turns_;
};

// element_overhead_pct, measured one frame at a time in CPU time. Per frame, the main
// thread runs the OpenCV calls of "Blur", "Threshold" and "Canny" directly on a fresh
// copy of a pre-made image, timing its own CPU; then it hands the same pre-made image to
// a real pipeline (source, the three elements, sink, one connection thread each) and
// waits until the sink has the result. The next frame goes in only when the last has
// arrived, so the stages run one after another, as the direct calls do; the CPU the
// process spends meanwhile outside the main thread is the OpenCV work plus everything
// the framework adds (connection passes, pad calls, queues, waking threads, settings
// reads, frames moving between cores), less the source's own copy of the image, which
// it times. CPU time rather than wall time, so that on a busy machine a thread waiting
// for a free core does not count as framework cost. Direct and pipeline frames
// alternate, so load touches both alike. The figure is the median per-frame difference
// against the median direct time; none when the elements' results differ from the
// direct calls'.
std::optional<double> ElementOverheadPercent(const boost::shared_ptr<ControlAndStatus>& hub,
                                             const std::vector<cv::Mat>& images, long long frames)
{
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
        const double direct_begin = ClockSeconds(CLOCK_THREAD_CPUTIME_ID);
        DirectCalls(direct_image);
        const double direct_seconds = ClockSeconds(CLOCK_THREAD_CPUTIME_ID) - direct_begin;

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

void Print(const char* name, double value)
{
    std::printf("%s %.3f\n", name, value);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    bool quick = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            quick = true;
        } else {
            std::fprintf(stderr, "usage: %s [--quick]\n", argv[0]);
            return 2;
        }
    }
    cv::setNumThreads(1);
    // Keep frame buffers on the heap instead of a fresh mapping (and page faults)
    // per image, so both the pipeline and the loop measure OpenCV, not the allocator.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
    FILELog::ReportingLevel() = logERROR;  // keep stdout to the figures

    auto hub = boost::make_shared<ControlAndStatus>();
    auto rate = hub->GetSharedControl<FrameRateSettings>("");
    rate->limit_frame_rate.Set(false);

    const int repeats = 3;
    const long long hop_frames = quick ? 5000 : 50000;
    const long long pipeline_frames = quick ? 150 : 600;
    const long long overhead_frames = quick ? 60 : 600;
    const std::vector<Item> small_ring = MakeItems(MakeImages(8, 640, 480));

    std::vector<double> handoff;
    for (int r = 0; r < repeats; ++r)
        handoff.push_back(HandoffSeconds(small_ring, hop_frames * 2));
    const double handoff_us = Median(handoff) * 1e6;

    double hop_us_4 = 0.0;
    for (int filters : {1, 2, 4, 8}) {
        std::vector<double> runs;
        for (int r = 0; r < repeats; ++r) {
            Chain chain(hub, boost::make_shared<RingSource>(hub, small_ring), PassThroughFilters(hub, filters));
            runs.push_back(chain.SecondsPerFrame(200, hop_frames));
        }
        const double hop_us = Median(runs) * 1e6;
        if (filters == 4)
            hop_us_4 = hop_us;
        Print(("hop_us_" + std::to_string(filters)).c_str(), hop_us);
    }
    Print("handoff_us", handoff_us);
    Print("hop_ratio", hop_us_4 / handoff_us);

    const std::vector<cv::Mat> large_ring = MakeImages(4, 1920, 1080);
    // Alternated, so that a change in the machine's load touches both alike.
    std::vector<double> pipeline_runs, loop_runs;
    for (int r = 0; r < repeats; ++r) {
        pipeline_runs.push_back(PipelineFps(hub, large_ring, pipeline_frames));
        loop_runs.push_back(LoopFps(large_ring, pipeline_frames));
    }
    const double pipeline_fps = Median(pipeline_runs);
    const double loop_fps = Median(loop_runs);
    Print("pipeline_fps", pipeline_fps);
    Print("loop_fps", loop_fps);
    Print("pipeline_ratio", pipeline_fps / loop_fps);

    Print("paused_cpu_pct", PausedCpuPercent(hub, small_ring));
    Print("rss_growth_pct", RssGrowthPercent(hub, small_ring));
    const std::optional<double> overhead_pct = ElementOverheadPercent(hub, large_ring, overhead_frames);
    if (!overhead_pct) {
        std::fprintf(stderr, "the elements' results differ from the direct OpenCV calls'\n");
        return 1;
    }
    Print("element_overhead_pct", *overhead_pct);
    return 0;
}
