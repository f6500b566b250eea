// Measures what the user interface costs, offscreen, and prints one "name value" line
// per figure:
//   preview_gui_us      GUI-thread CPU microseconds per preview frame shown, for a
//                       "Blur" element fed 1920x1080 frames at 30 fps and a preview
//                       rate of 30 (everything the GUI thread does in that time counts)
//   preview_lag_ms_p99  99th percentile of the milliseconds from a frame's arrival at
//                       that element to the paint of its preview
//   panel_build_ms      the slowest catalogue element's settings panel: milliseconds to
//                       build the panel and show it (the median of a few builds each)
//   gui_latency_p99_ms  99th percentile of how late a 5 ms timer fires on the GUI thread
//                       while the full main window shows four running 1080p pipelines
//                       of four connections, paced at 30 fps, a preview on every node at a
//                       preview rate of 30, each pipeline a row of nodes; goal below 16
//   gui_cpu_pct_30fps   the GUI thread's CPU time over the same span, in percent of one
//                       core; goal below 25
//   restart_gui_block_ms  how long Restart (Pipeline > Restart) blocks the GUI thread with
//                       those sixteen connections running (the median of a few)
//   editor_rebuild_ms   milliseconds for the node editor to rebuild itself from the back
//                       end when it shows 100 elements and 99 links (the median of a few)
//   editor_drag_fps     frames per second while the pointer drags one node among those
//                       100, the view rendered for every frame; goal above 90
//   big_image_preview_ms  milliseconds from choosing an 8000 x 8000 8-bit PNG with alpha in
//                       a running "Image Read" -> "Blur" (at the default settings) until
//                       both previews have painted it; goal below 5000 (the deadline, 60000,
//                       when they never do)
// --quick runs shorter; the figures are the same. Names given after the options run those
// figures alone (for a profile of one).
//
// To add a figure, write a function of the BenchContext that returns its value and list
// it in Figures().

#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QImage>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <boost/any.hpp>
#include <boost/make_shared.hpp>
#include <boost/thread/lock_guard.hpp>
#include <boost/thread/mutex.hpp>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include "control/ElementRegistry.h"
#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "core/FILELog.h"
#include "core/FrameHeap.h"
#include "core/FrameRateSettings.h"
#include "core/PreviewControls.h"
#include "core/PreviewSettings.h"
#include "core/VideoFrame.h"
#include "elements/BlurElement.h"
#include "engine/ElementBase.h"
#include "ui/display/PreviewWidget.h"
#include "ui/editor/CustomGraphicView.h"
#include "ui/editor/ElementNodeBase.h"
#include "ui/editor/NodalConnectorTop.h"
#include "ui/settings/panels/NodeGUIBuilder.h"
#include "ui/shell/MainWindow.h"

namespace {

using Clock = std::chrono::steady_clock;

double ThreadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

double Milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const std::size_t index = static_cast<std::size_t>(fraction * (values.size() - 1) + 0.5);
    return values[index];
}

// Runs the GUI thread's event loop for the given time.
void RunEvents(std::chrono::milliseconds duration)
{
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}

// A frame's number, carried in its colour so that it survives blur and rescaling:
// blue and green hold it, red is a fixed check value.
constexpr int kCheckRed = 128;

cv::Scalar StampColour(int number)
{
    return cv::Scalar(number & 0xFF, (number >> 8) & 0xFF, kCheckRed);
}

std::optional<int> ReadStamp(const QImage& image)
{
    if (image.isNull())
        return std::nullopt;
    const QRgb pixel = image.pixel(image.width() / 2, image.height() / 2);
    if (std::abs(qRed(pixel) - kCheckRed) > 2)
        return std::nullopt;
    return qBlue(pixel) | (qGreen(pixel) << 8);
}

// When each frame reached the element; written by the feeding thread.
class ArrivalTimes {
public:
    void Record(int number, Clock::time_point time)
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        if (static_cast<int>(times_.size()) <= number)
            times_.resize(number + 1);
        times_[number] = time;
    }
    std::optional<Clock::time_point> Find(int number)
    {
        boost::lock_guard<boost::mutex> lock(mutex_);
        if (number < 0 || number >= static_cast<int>(times_.size()))
            return std::nullopt;
        return times_[number];
    }

private:
    boost::mutex mutex_;  // guards times_
    std::vector<Clock::time_point> times_;
};

// The preview widget as the panel makes it, noting each paint that shows a new preview.
class TimedPreview : public PreviewWidget {
public:
    TimedPreview(boost::shared_ptr<ControlAndStatus> hub, PreviewControls* controls, ArrivalTimes& arrivals,
                 QWidget* parent)
        : PreviewWidget(hub, controls, parent), controls_(controls), arrivals_(arrivals)
    {
    }

    std::vector<double> lags_ms;
    int shown = 0;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        const bool fresh = controls_->IsImageReady();
        PreviewWidget::paintEvent(event);
        if (!fresh)
            return;
        const Clock::time_point painted = Clock::now();
        ++shown;
        // The image just taken; no new one can start before this widget asks again.
        const boost::shared_ptr<QImage> image = controls_->GetImage();
        const std::optional<int> number = image ? ReadStamp(*image) : std::nullopt;
        const std::optional<Clock::time_point> arrived = number ? arrivals_.Find(*number) : std::nullopt;
        if (arrived)
            lags_ms.push_back(Milliseconds(painted - *arrived));
    }

private:
    PreviewControls* controls_;
    ArrivalTimes& arrivals_;
};

struct PreviewRun {
    double gui_us_per_frame = 0.0;
    double lag_ms_p99 = 0.0;
};

// The full main window, measured once and read by two figures.
struct WindowRun {
    double latency_p99_ms = 0.0;
    double gui_cpu_pct = 0.0;
    double restart_block_ms = 0.0;
};

struct BenchContext {
    bool quick = false;
    boost::shared_ptr<ControlAndStatus> hub;
    boost::shared_ptr<PowerCommanderTop> commander;
    std::optional<PreviewRun> preview;  // measured once, read by two figures
    std::optional<WindowRun> window;
};

// Feeds numbered 1080p frames to the element at 30 fps until told to stop.
void FeedFrames(BlurElement& element, ArrivalTimes& arrivals, const std::atomic<bool>& stop)
{
    const auto period = std::chrono::microseconds(1000000 / 30);
    Clock::time_point next = Clock::now();
    for (int number = 0; !stop; ++number) {
        auto frame = boost::make_shared<VideoFrame>();
        frame->image = cv::Mat(1080, 1920, CV_8UC3, StampColour(number));
        frame->frame_number = number;
        arrivals.Record(number, Clock::now());
        element.PassData(PassableItem<VideoFrame>(frame));
        next += period;
        std::this_thread::sleep_until(next);
    }
}

PreviewRun MeasurePreview(BenchContext& context)
{
    context.hub->GetSharedControl<PreviewSettings>("")->max_preview_framerate.Set(30.0);
    const std::string id = context.commander->MakeElement("Blur", "");
    const auto element = boost::dynamic_pointer_cast<BlurElement>(context.commander->GetElement(id));
    auto* controls = boost::any_cast<PreviewControls*>(element->settings.FindItem("_preview_controls").value);

    ArrivalTimes arrivals;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* preview = new TimedPreview(context.hub, controls, arrivals, &window);
    layout->addWidget(preview);
    layout->addStretch();
    window.resize(400, 400);
    window.show();

    std::atomic<bool> stop{false};
    std::thread feeder(FeedFrames, std::ref(*element), std::ref(arrivals), std::cref(stop));
    // The first second meets first allocations and the widget's first layout.
    RunEvents(std::chrono::seconds(1));
    const int shown_before = preview->shown;
    const std::size_t lags_before = preview->lags_ms.size();
    const double cpu_before = ThreadCpuSeconds();
    RunEvents(std::chrono::seconds(context.quick ? 4 : 15));
    const double cpu_seconds = ThreadCpuSeconds() - cpu_before;
    const int shown = preview->shown - shown_before;
    stop = true;
    feeder.join();
    context.commander->RemoveElement(id);

    const std::vector<double> lags(preview->lags_ms.begin() + lags_before, preview->lags_ms.end());
    if (shown < 1 || lags.empty()) {
        std::fprintf(stderr, "the preview showed no frame\n");
        std::exit(1);
    }
    PreviewRun run;
    run.gui_us_per_frame = cpu_seconds * 1e6 / shown;
    run.lag_ms_p99 = Percentile(lags, 0.99);
    return run;
}

const PreviewRun& Preview(BenchContext& context)
{
    if (!context.preview)
        context.preview = MeasurePreview(context);
    return *context.preview;
}

double PreviewGuiMicroseconds(BenchContext& context)
{
    return Preview(context).gui_us_per_frame;
}

double PreviewLagMillisecondsP99(BenchContext& context)
{
    return Preview(context).lag_ms_p99;
}

// Milliseconds to build and show the panel of a new element of the catalogue name.
double PanelBuildMilliseconds(BenchContext& context, const std::string& name)
{
    const std::string id = context.commander->MakeElement(name, "");
    if (id.empty())
        return 0.0;  // an element this machine cannot make (the camera)
    const Clock::time_point begin = Clock::now();
    auto panel = std::make_unique<NodeGUIBuilder>(context.hub, id);
    panel->show();
    const double milliseconds = Milliseconds(Clock::now() - begin);
    panel.reset();
    context.commander->RemoveElement(id);
    // Lets windows of removed elements (the main display) close.
    RunEvents(std::chrono::milliseconds(20));
    return milliseconds;
}

double SlowestPanelBuildMilliseconds(BenchContext& context)
{
    const int builds = context.quick ? 3 : 9;
    double slowest = 0.0;
    for (const boost::shared_ptr<ElementMakerInterface>& maker : GetElementRegistry()) {
        std::vector<double> times;
        for (int i = 0; i < builds; ++i)
            times.push_back(PanelBuildMilliseconds(context, maker->GetName()));
        slowest = std::max(slowest, Median(times));
    }
    return slowest;
}

// Silences standard output while an editor goes: its destructor says so there.
class QuietStdout {
public:
    QuietStdout() : old_(std::cout.rdbuf(sink_.rdbuf())) {}
    ~QuietStdout() { std::cout.rdbuf(old_); }

private:
    std::ostringstream sink_;
    std::streambuf* old_;
};

// 100 "Blur" elements in a grid, each linked to the next: 99 links.
void MakeEditorPipeline(BenchContext& context)
{
    std::string previous;
    for (int i = 0; i < 100; ++i) {
        const std::string id = context.commander->MakeElement("Blur", "");
        const boost::shared_ptr<ElementBase> element = context.commander->GetElement(id);
        element->position_x.Set((i % 10) * 600);
        element->position_y.Set((i / 10) * 700);
        if (!previous.empty())
            context.commander->ConnectPads(previous, "output", id, "input");
        previous = id;
    }
}

void RunQueuedWork(NodalConnectorTop& editor)
{
    while (editor.HasQueuedWork())
        QCoreApplication::processEvents();
}

void DestroyEditor(std::unique_ptr<NodalConnectorTop>& editor, BenchContext& context)
{
    const QuietStdout quiet;
    editor.reset();
    context.commander->Clear();
}

double EditorRebuildMilliseconds(BenchContext& context)
{
    MakeEditorPipeline(context);
    auto editor = std::make_unique<NodalConnectorTop>(context.hub);
    editor->resize(1280, 800);
    editor->show();
    std::vector<double> times;
    for (int i = 0; i < (context.quick ? 3 : 9); ++i) {
        const Clock::time_point begin = Clock::now();
        editor->UpdateFromBackend();
        RunQueuedWork(*editor);
        times.push_back(Milliseconds(Clock::now() - begin));
    }
    if (editor->GetAllNodes().size() != 100 || editor->GetAllLines().size() != 99)
        std::fprintf(stderr, "the editor shows %zu nodes and %zu lines\n", editor->GetAllNodes().size(),
                     editor->GetAllLines().size());
    DestroyEditor(editor, context);
    return Median(times);
}

double EditorDragFramesPerSecond(BenchContext& context)
{
    MakeEditorPipeline(context);
    auto editor = std::make_unique<NodalConnectorTop>(context.hub);
    editor->resize(1280, 800);
    editor->show();
    RunQueuedWork(*editor);
    editor->View()->FitScene();
    ElementNodeBase* node = editor->GetAllNodes().back();
    QGraphicsScene* scene = editor->Scene();
    const auto send = [scene](QEvent::Type type, const QPointF& point, Qt::MouseButtons buttons) {
        QGraphicsSceneMouseEvent event(type);
        event.setScenePos(point);
        event.setButton(type == QEvent::GraphicsSceneMouseMove ? Qt::NoButton : Qt::LeftButton);
        event.setButtons(buttons);
        event.setButtonDownScenePos(Qt::LeftButton, point);
        QApplication::sendEvent(scene, &event);
    };
    // The title area, where a press moves the node.
    QPointF point = node->mapToScene(QPointF(350, node->path().boundingRect().top() + 5));
    send(QEvent::GraphicsSceneMousePress, point, Qt::LeftButton);
    const int frames = context.quick ? 60 : 300;
    const Clock::time_point begin = Clock::now();
    for (int frame = 0; frame < frames; ++frame) {
        point += QPointF(frame % 2 ? 7 : -5, 3);
        send(QEvent::GraphicsSceneMouseMove, point, Qt::LeftButton);
        editor->View()->viewport()->grab();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - begin).count();
    send(QEvent::GraphicsSceneMouseRelease, point, Qt::NoButton);
    DestroyEditor(editor, context);
    return frames / seconds;
}

// A 1920 x 1080 picture for "Image Read", in the bench's home.
std::string WriteFullHdPicture()
{
    cv::Mat picture(1080, 1920, CV_8UC3);
    cv::randu(picture, cv::Scalar::all(0), cv::Scalar::all(255));
    const std::string path = std::string(std::getenv("HOME")) + "/full_hd.bmp";
    cv::imwrite(path, picture);
    return path;
}

// Four pipelines "Image Read" -> "Blur" -> "Dilation" -> "Erosion" -> "Threshold": four
// connections each, sixteen in all, every node with its preview in the editor. Each pipeline
// is a row of nodes side by side, as a person lays them out (nodes left at one place would
// stack twenty panels under every preview).
void BuildFourPipelines(PowerCommanderTop& commander, const std::string& picture)
{
    constexpr int kColumn = 500;
    constexpr int kRow = 800;
    const auto place = [&](const std::string& id, int column, int row) {
        commander.GetElement(id)->position_x.Set(column * kColumn);
        commander.GetElement(id)->position_y.Set(row * kRow);
    };
    for (int i = 0; i < 4; ++i) {
        std::string previous = commander.MakeElement("Image Read", "");
        commander.GetElement(previous)->settings.SetValue("_file_path", picture, "");
        place(previous, 0, i);
        int column = 1;
        for (const char* stage : {"Blur", "Dilation", "Erosion", "Threshold"}) {
            const std::string next = commander.MakeElement(stage, "");
            place(next, column++, i);
            commander.ConnectElements(previous, next);
            previous = next;
        }
    }
    commander.Start();
}

// How late a 5 ms timer fires on the GUI thread, each time, over the given time.
std::vector<double> TimerLateness(std::chrono::milliseconds duration)
{
    const auto interval = std::chrono::milliseconds(5);
    std::vector<double> late_ms;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    Clock::time_point previous = Clock::now();
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const Clock::time_point now = Clock::now();
        late_ms.push_back(std::max(0.0, Milliseconds(now - previous - interval)));
        previous = now;
    });
    timer.start(interval);
    RunEvents(duration);
    return late_ms;
}

WindowRun MeasureMainWindow(BenchContext& context)
{
    auto hub = boost::make_shared<ControlAndStatus>();
    const auto rate = hub->GetSharedControl<FrameRateSettings>("");
    rate->limit_frame_rate.Set(true);
    rate->global_frame_rate.Set(30.0);
    hub->GetSharedControl<PreviewSettings>("")->max_preview_framerate.Set(30.0);
    // The window's widgets say goodbye on std::cout; stdout carries only the figures.
    const QuietStdout quiet;
    WindowRun run;
    {
        MainWindow window(hub);
        window.resize(1920, 1080);
        window.show();
        BuildFourPipelines(*hub->GetCommander(), WriteFullHdPicture());
        window.NodeEditor()->UpdateFromBackend();
        RunEvents(std::chrono::seconds(2));  // the nodes are built and the previews running
        const Clock::time_point begin = Clock::now();
        const double cpu_before = ThreadCpuSeconds();
        run.latency_p99_ms = Percentile(TimerLateness(std::chrono::seconds(context.quick ? 4 : 15)), 0.99);
        run.gui_cpu_pct = 100.0 * (ThreadCpuSeconds() - cpu_before) /
                          std::chrono::duration<double>(Clock::now() - begin).count();

        QAction* restart = window.findChild<QAction*>("actionRestart");
        std::vector<double> blocks;
        for (int i = 0; i < (context.quick ? 3 : 9); ++i) {
            const Clock::time_point begin = Clock::now();
            restart->trigger();
            blocks.push_back(Milliseconds(Clock::now() - begin));
            RunEvents(std::chrono::milliseconds(300));
        }
        run.restart_block_ms = Median(blocks);
    }
    hub->SetCommander(boost::shared_ptr<PowerCommanderTop>());
    return run;
}

const WindowRun& Window(BenchContext& context)
{
    if (!context.window)
        context.window = MeasureMainWindow(context);
    return *context.window;
}

double GuiLatencyMillisecondsP99(BenchContext& context)
{
    return Window(context).latency_p99_ms;
}

double GuiCpuPercentAt30Fps(BenchContext& context)
{
    return Window(context).gui_cpu_pct;
}

double RestartGuiBlockMilliseconds(BenchContext& context)
{
    return Window(context).restart_block_ms;
}

// A picture of the given size in the bench's home: a gradient with grain, as a photograph
// compresses, four 8-bit channels, as a drawing program saves a picture with transparency.
std::string WritePicture(const std::string& name, cv::Size size)
{
    cv::Mat grain(size, CV_8UC4);
    cv::randu(grain, cv::Scalar::all(0), cv::Scalar::all(24));
    cv::Mat picture(size, CV_8UC4);
    for (int y = 0; y < size.height; ++y)
        picture.row(y).setTo(cv::Scalar(40, 200 * y / size.height, 180, 255));
    picture += grain;
    const std::string path = std::string(std::getenv("HOME")) + "/" + name;
    cv::imwrite(path, picture);
    return path;
}

// The preview widget as the panel makes it, noting when it first paints a picture of the
// given size.
class SizeWatchingPreview : public PreviewWidget {
public:
    SizeWatchingPreview(boost::shared_ptr<ControlAndStatus> hub, PreviewControls* controls, QWidget* parent)
        : PreviewWidget(hub, controls, parent), controls_(controls)
    {
    }

    void Watch(QSize size)
    {
        size_ = size;
        painted_.reset();
    }
    std::optional<Clock::time_point> Painted() const { return painted_; }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        const bool fresh = controls_->IsImageReady();
        PreviewWidget::paintEvent(event);
        if (!fresh || painted_)
            return;
        const boost::shared_ptr<QImage> image = controls_->GetImage();
        if (image && !image->isNull() && image->size() == size_)
            painted_ = Clock::now();
    }

private:
    PreviewControls* controls_;
    QSize size_;
    std::optional<Clock::time_point> painted_;
};

// Runs the GUI thread's events until both previews have painted the watched size, or the
// deadline; the time of the later paint.
std::optional<Clock::time_point> WaitForBothPaints(const SizeWatchingPreview& a, const SizeWatchingPreview& b,
                                                   std::chrono::seconds deadline)
{
    const Clock::time_point end = Clock::now() + deadline;
    while (!(a.Painted() && b.Painted()) && Clock::now() < end)
        RunEvents(std::chrono::milliseconds(5));
    if (!a.Painted() || !b.Painted())
        return std::nullopt;
    return std::max(*a.Painted(), *b.Painted());
}

double BigImagePreviewMilliseconds(BenchContext& context)
{
    constexpr int kSide = 8000;
    constexpr int kWidth = 300;  // about a node panel's
    const std::chrono::seconds deadline(60);
    const std::string small = WritePicture("small.png", cv::Size(400, 300));
    const std::string big = WritePicture("big.png", cv::Size(kSide, kSide));

    // The hub and the commander say goodbye on stdout; declared first, so it outlives them.
    const QuietStdout quiet;
    // A hub of its own at the default settings: the other figures change theirs.
    auto hub = boost::make_shared<ControlAndStatus>();
    const FrameRateSettings default_rate;
    const auto rate = hub->GetSharedControl<FrameRateSettings>("");
    rate->limit_frame_rate.Set(default_rate.limit_frame_rate.Get());
    rate->global_frame_rate.Set(default_rate.global_frame_rate.Get());
    const PreviewSettings default_preview;
    const auto preview = hub->GetSharedControl<PreviewSettings>("");
    preview->max_preview_framerate.Set(default_preview.max_preview_framerate.Get());
    preview->high_quality_rescaling.Set(default_preview.high_quality_rescaling.Get());
    auto commander = boost::make_shared<PowerCommanderTop>(hub);
    hub->SetCommander(commander);

    const std::string reader = commander->MakeElement("Image Read", "");
    const std::string blur = commander->MakeElement("Blur", "");
    commander->GetElement(reader)->settings.SetValue("_file_path", small, "");
    commander->ConnectElements(reader, blur);
    const auto controls = [&](const std::string& id, const std::string& setting) {
        return boost::any_cast<PreviewControls*>(commander->GetElement(id)->settings.FindItem(setting).value);
    };
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* reader_preview = new SizeWatchingPreview(hub, controls(reader, "_preview"), &window);
    auto* blur_preview = new SizeWatchingPreview(hub, controls(blur, "_preview_controls"), &window);
    for (SizeWatchingPreview* widget : {reader_preview, blur_preview}) {
        widget->setFixedWidth(kWidth);
        widget->Watch(QSize(kWidth, kWidth * 3 / 4));
        layout->addWidget(widget);
    }
    layout->addStretch();
    window.resize(kWidth + 40, 900);
    window.show();
    commander->Start();

    double milliseconds = Milliseconds(deadline);
    if (WaitForBothPaints(*reader_preview, *blur_preview, deadline)) {
        for (SizeWatchingPreview* widget : {reader_preview, blur_preview})
            widget->Watch(QSize(kWidth, kWidth));
        const Clock::time_point chosen = Clock::now();
        commander->GetElement(reader)->settings.SetValue("_file_path", big, "");
        const std::optional<Clock::time_point> painted =
            WaitForBothPaints(*reader_preview, *blur_preview, deadline);
        if (painted)
            milliseconds = Milliseconds(*painted - chosen);
    }
    commander->Stop();
    commander->Clear();
    hub->SetCommander(boost::shared_ptr<PowerCommanderTop>());
    return milliseconds;
}

struct Figure {
    const char* name;
    std::function<double(BenchContext&)> measure;
};

std::vector<Figure> Figures()
{
    return {
        {"preview_gui_us", PreviewGuiMicroseconds},
        {"preview_lag_ms_p99", PreviewLagMillisecondsP99},
        {"panel_build_ms", SlowestPanelBuildMilliseconds},
        {"editor_rebuild_ms", EditorRebuildMilliseconds},
        {"editor_drag_fps", EditorDragFramesPerSecond},
        {"gui_latency_p99_ms", GuiLatencyMillisecondsP99},
        {"gui_cpu_pct_30fps", GuiCpuPercentAt30Fps},
        {"restart_gui_block_ms", RestartGuiBlockMilliseconds},
        {"big_image_preview_ms", BigImagePreviewMilliseconds},
    };
}

bool IsFigure(const std::string& name)
{
    for (const Figure& figure : Figures()) {
        if (name == figure.name)
            return true;
    }
    return false;
}

// A home of its own, so the hub's settings files stay out of the user's.
class TemporaryHome {
public:
    TemporaryHome()
    {
        char pattern[] = "/tmp/orvane_ui_bench_XXXXXX";
        if (!mkdtemp(pattern)) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        path_ = pattern;
        setenv("HOME", path_.c_str(), 1);
    }
    ~TemporaryHome()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

private:
    std::string path_;
};

}  // namespace

int main(int argc, char** argv)
{
    bool quick = false;
    std::vector<std::string> chosen;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            quick = true;
        } else if (argv[i][0] != '-' && IsFigure(argv[i])) {
            chosen.emplace_back(argv[i]);
        } else {
            std::fprintf(stderr, "usage: %s [--quick] [figure ...]\n", argv[0]);
            return 2;
        }
    }
    KeepFrameBuffersInHeap();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Keep stdout to the figures: the log goes there too, and the camera, missing on most
    // machines, logs errors each time the panel figure tries to make one.
    FILELog::ReportingLevel() = logERROR - 1;
    const TemporaryHome home;
    Q_INIT_RESOURCE(orvane);
    QApplication app(argc, argv);

    {
        BenchContext context;
        context.quick = quick;
        context.hub = boost::make_shared<ControlAndStatus>();
        context.commander = boost::make_shared<PowerCommanderTop>(context.hub);
        context.hub->SetCommander(context.commander);
        for (const Figure& figure : Figures()) {
            if (!chosen.empty() && std::find(chosen.begin(), chosen.end(), figure.name) == chosen.end())
                continue;
            std::printf("%s %.3f\n", figure.name, figure.measure(context));
            std::fflush(stdout);
        }
        context.hub->SetCommander(boost::shared_ptr<PowerCommanderTop>());
        // The hub and the commander say goodbye on stdout, which is for the figures.
        std::cout.rdbuf(nullptr);
    }
    return 0;
}
