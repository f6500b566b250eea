// The real-window test: the orvane executable on a virtual screen with a window manager,
// used with the mouse and keyboard as a person would. It builds "Image Read" -> "Blur" on
// a fixture picture, sees both previews, closes the window, starts again and sees the
// pipeline come back; then File > Exit ends the second run without saving. A run of its
// own hovers a port and an element's description for their tool tips, opens the search
// line's completions, expands the element list and opens the About box, and sees each
// drawn in the theme's colours.
// Arguments: the orvane executable and the folder for screenshots and logs.
#include "Desktop.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

using desktop::Blobs;
using desktop::Count;
using std::chrono::seconds;

namespace {

std::string g_executable;
std::string g_output;

// The fixture: blue with one-pixel yellow stripes every 8 pixels. A 3 x 3 box blur
// leaves no pixel of the stripes' yellow.
const QRgb kFixtureBlue = qRgb(0, 0, 200);
const QRgb kFixtureYellow = qRgb(255, 255, 0);

std::string WriteFixture(const std::string& folder)
{
    QImage image(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, x % 8 == 4 ? kFixtureYellow : kFixtureBlue);
    const std::string path = folder + "/fixture.png";
    image.save(QString::fromStdString(path));
    return path;
}

bool Near(QRgb pixel, QRgb colour, int tolerance)
{
    return std::abs(qRed(pixel) - qRed(colour)) <= tolerance &&
           std::abs(qGreen(pixel) - qGreen(colour)) <= tolerance &&
           std::abs(qBlue(pixel) - qBlue(colour)) <= tolerance;
}

// A port's dot: green for a known payload type, red otherwise.
bool IsPort(QRgb p)
{
    return Near(p, qRgb(0, 255, 0), 40) || Near(p, qRgb(255, 0, 0), 40);
}
bool IsLine(QRgb p)
{
    return Near(p, qRgb(255, 255, 255), 20);
}
bool IsFixtureBlue(QRgb p)
{
    return Near(p, kFixtureBlue, 30);
}
bool IsStripe(QRgb p)
{
    return Near(p, kFixtureYellow, 60);
}
// A stripe after the blur: a third of the yellow over the blue, give or take scaling.
bool IsBlurredStripe(QRgb p)
{
    return qRed(p) > 40 && qRed(p) < 170 && qGreen(p) > 40 && qGreen(p) < 170 && qBlue(p) > 90 &&
           std::abs(qRed(p) - qGreen(p)) < 30;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Where things are on screen, found from the window's geometry and the pictures.
struct Pipeline {
    QRect reader_output;  // the ports, as found on a screenshot
    QRect blur_input;
    QRect blur_output;
    QRect reader_area;  // where the first node's preview may be
    QRect blur_area;
};

// The three ports of "Image Read" -> "Blur" within the editor area: the leftmost is the
// reader's output, then the blur's input and output.
bool FindPipeline(const QImage& shot, const QRect& editor, Pipeline* found)
{
    const std::vector<QRect> ports = Blobs(shot, editor, IsPort, 30);
    if (ports.size() != 3)
        return false;
    found->reader_output = ports[0];
    found->blur_input = ports[1];
    found->blur_output = ports[2];
    const int top = ports[0].top() - 80;
    found->reader_area = QRect(QPoint(editor.left(), top), QPoint(ports[1].left() - 5, editor.bottom()));
    found->blur_area =
        QRect(QPoint(ports[1].right() + 5, top), QPoint(ports[2].right() + 5, editor.bottom()));
    return true;
}

// The line between the reader's output and the blur's input: white at its middle.
bool LineDrawn(const QImage& shot, const Pipeline& p)
{
    const QPoint middle = (p.reader_output.center() + p.blur_input.center()) / 2;
    return Count(shot, QRect(middle - QPoint(4, 12), QSize(9, 25)), IsLine) >= 20;
}

bool ReaderShowsFixture(const QImage& shot, const Pipeline& p)
{
    return Count(shot, p.reader_area, IsFixtureBlue) > 2000 && Count(shot, p.reader_area, IsStripe) > 200;
}

bool BlurShowsBlurredFixture(const QImage& shot, const Pipeline& p)
{
    return Count(shot, p.blur_area, IsFixtureBlue) > 500 && Count(shot, p.blur_area, IsBlurredStripe) > 200 &&
           Count(shot, p.blur_area, IsStripe) == 0;
}

QRect WindowGeometry(const std::string& window)
{
    std::istringstream shell(desktop::Output("xdotool getwindowgeometry --shell " + window));
    int x = 0, y = 0, w = 0, h = 0;
    for (std::string line; std::getline(shell, line);) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq);
        const int value = std::atoi(line.c_str() + eq + 1);
        if (key == "X")
            x = value;
        if (key == "Y")
            y = value;
        if (key == "WIDTH")
            w = value;
        if (key == "HEIGHT")
            h = value;
    }
    return QRect(x, y, w, h);
}

class OrvaneWindowTest : public testing::Test {
protected:
    // Where the window keeps things when it fills the screen: the search line under the
    // element list (found by its frame), the node editor right of it between tool bar and
    // log view, the File menu.
    QPoint SearchLine() const { return search_line_.center(); }
    QRect EditorArea() const
    {
        return QRect(QPoint(search_line_.right() + 130, 90),
                     QPoint(screen_size_.width() - 20, screen_size_.height() - 210));
    }
    QPoint FileMenu() const { return QPoint(26, 30); }
    // The file setting's button, under the title of the reader's node, left of its port.
    static QPoint FileButton(const QRect& output_port) { return output_port.center() + QPoint(-210, 44); }

    void ChooseElement(const std::string& name)
    {
        screen_.Click(SearchLine());
        screen_.Key("ctrl+a");
        screen_.Type(name);
        screen_.Key("Return");
    }

    testsupport::TempDir home_;
    desktop::Screen screen_{g_output};
    QSize screen_size_;
    QRect search_line_;
};

// The search line's frame at the bottom of the side panel: the long runs of its border
// colour there (top and bottom edge, whatever its rounded corners join).
QRect FindSearchLine(const QImage& shot)
{
    const auto is_border = [](QRgb p) { return Near(p, qRgb(0x5a, 0x62, 0x75), 12); };
    QRect frame;
    for (const QRect& run : Blobs(shot, QRect(0, shot.height() - 120, shot.width() / 3, 120), is_border, 100))
        if (run.width() > 150)
            frame |= run;
    return frame.height() > 12 && frame.height() < 60 ? frame : QRect();
}

// ---- Zoom to Fit, New View and New on a pipeline spread wide. ----

// Six nodes far apart, one with a drop-down list, as the file store writes them.
void WriteSpreadPipeline(const std::string& home)
{
    const struct {
        const char* id;
        const char* type;
        int x, y;
    } nodes[] = {{"Blur_0", "Blur", 0, 0},       {"Tee_0", "Tee", 900, -400},
                 {"Blur_1", "Blur", 1800, 300},  {"Threshold_0", "Threshold", -700, 900},
                 {"Blur_2", "Blur", 2600, 1400}, {"Tee_1", "Tee", 400, 2000}};
    desktop::Shell("mkdir -p " + desktop::Quoted(home + "/orvane"));
    std::ofstream file(home + "/orvane/default.xml");
    file << "<!DOCTYPE XML>\n<top>\n";
    for (const auto& n : nodes)
        file << "  <Element id=\"" << n.id << "\" type=\"" << n.type << "\">\n"
             << "    <Settings name=\"_position_x\" value=\"" << n.x << "\" extra=\"\"/>\n"
             << "    <Settings name=\"_position_y\" value=\"" << n.y << "\" extra=\"\"/>\n"
             << "  </Element>\n";
    file << "</top>\n";
}

void PointerTo(QPoint at)
{
    desktop::Shell("xdotool mousemove --sync " + std::to_string(at.x()) + " " + std::to_string(at.y()));
}

// A node's body: the flat grey of its outline's fill.
bool IsNodeFill(QRgb p)
{
    return Near(p, qRgb(0x28, 0x28, 0x28), 6) && std::abs(qRed(p) - qBlue(p)) <= 3;
}

std::vector<QRect> NodeBodies(const QImage& shot, const QRect& area)
{
    return Blobs(shot, area, IsNodeFill, 600);
}

// The pop-out frame's strip above a view: grey to dark blue, drawn by the frame itself.
int BelowStrip(const QImage& shot, int x, int from_y, int to_y)
{
    int below = from_y;
    for (int y = from_y; y < to_y; ++y) {
        const QRgb p = shot.pixel(x, y);
        if (qBlue(p) > 90 && qRed(p) < 60 && qGreen(p) < 60)
            below = y + 1;
    }
    return below;
}

// Every node body whole inside the viewport (a node cut off is drawn up to its edge),
// and all of them in its middle along the axis with room to spare; the margins in the
// message otherwise.
::testing::AssertionResult FitsCentred(const QImage& shot, const QRect& viewport, int expected_nodes)
{
    const std::vector<QRect> bodies = NodeBodies(shot, viewport);
    QRect extent;
    for (const QRect& body : bodies) {
        if (!viewport.adjusted(2, 2, -2, -2).contains(body))
            return ::testing::AssertionFailure() << "a node at " << body.x() << ", " << body.y() << " size "
                                                 << body.width() << " x " << body.height() << " is cut off";
        extent |= body;
    }
    for (const QRect& port : Blobs(shot, viewport, IsPort, 8))
        extent |= port;
    if (static_cast<int>(bodies.size()) < expected_nodes)
        return ::testing::AssertionFailure() << bodies.size() << " nodes shown of " << expected_nodes;
    const int left = extent.left() - viewport.left(), right = viewport.right() - extent.right();
    const int top = extent.top() - viewport.top(), bottom = viewport.bottom() - extent.bottom();
    const bool fills_width = left < 30 && right < 30 && std::abs(top - bottom) < 30;
    const bool fills_height = top < 30 && bottom < 30 && std::abs(left - right) < 30;
    if (!(fills_width || fills_height))
        return ::testing::AssertionFailure()
               << "margins left " << left << ", right " << right << ", top " << top << ", bottom " << bottom;
    return ::testing::AssertionSuccess();
}

// The active window's client area on screen, once it is another than the one given
// (xwininfo's absolute place: xdotool's counts the frame's title in).
QRect ActiveWindowOtherThan(const std::string& window)
{
    const std::string id = desktop::Output(
        "for i in $(seq 100); do w=$(xdotool getactivewindow); [ \"$w\" != " + desktop::Quoted(window) +
        " ] && { echo $w; break; }; sleep 0.1; done");
    if (id.empty())
        return QRect();
    std::istringstream info(desktop::Output("xwininfo -id " + id.substr(0, id.find('\n'))));
    int x = 0, y = 0, w = 0, h = 0;
    for (std::string line; std::getline(info, line);) {
        const int value = std::atoi(line.c_str() + line.find(':') + 1);
        if (line.find("Absolute upper-left X") != std::string::npos)
            x = value;
        else if (line.find("Absolute upper-left Y") != std::string::npos)
            y = value;
        else if (line.find("  Width:") != std::string::npos)
            w = value;
        else if (line.find("  Height:") != std::string::npos)
            h = value;
    }
    return QRect(x, y, w, h);
}

TEST_F(OrvaneWindowTest, ZoomToFitNewViewAndNewOnAPipelineSpreadWide)
{
    WriteSpreadPipeline(home_.Path());
    desktop::Application orvane(g_executable, home_.Path(), g_output + "/orvane-fit.log");
    const std::string window = orvane.WaitForWindow(seconds(60));
    ASSERT_FALSE(window.empty()) << "the main window did not show";
    QImage shot = screen_.ShotWhen("fit-loaded", [&](const QImage& s) {
        return !FindSearchLine(s).isNull() && NodeBodies(s, QRect(QPoint(0, 0), s.size())).size() >= 6;
    });
    screen_size_ = shot.size();
    search_line_ = FindSearchLine(shot);
    ASSERT_FALSE(search_line_.isNull()) << "the element search line";
    const int view_top = BelowStrip(shot, screen_size_.width() / 2, 60, 200);
    // Inside the view's frame and scroll bars.
    const QRect viewport(QPoint(search_line_.right() + 14, view_top),
                         QPoint(screen_size_.width() - 16, screen_size_.height() - 207));

    // Ctrl+F, twice, with the pointer over the editor.
    PointerTo(viewport.center());
    for (const char* step : {"fit-pressed", "fit-pressed-again"}) {
        desktop::Shell("xdotool windowactivate --sync " + window + " key --clearmodifiers ctrl+f");
        shot = screen_.ShotWhen(
            step, [&](const QImage& s) { return FitsCentred(s, viewport, 6); }, seconds(5));
        EXPECT_TRUE(FitsCentred(shot, viewport, 6)) << step;
    }

    // Window > New View opens fitted; Ctrl+F in its own window fits it again.
    screen_.Click(FileMenu());
    screen_.Key("Right Right Right Down Return");
    const QRect second = ActiveWindowOtherThan(window);
    ASSERT_FALSE(second.isEmpty()) << "the new view's window did not open";
    shot = screen_.Shot("new-view");
    // Inside its scroll bars.
    const QRect second_viewport(second.topLeft(), second.bottomRight() - QPoint(15, 15));
    shot = screen_.ShotWhen(
        "new-view-fitted", [&](const QImage& s) { return FitsCentred(s, second_viewport, 6); }, seconds(5));
    EXPECT_TRUE(FitsCentred(shot, second_viewport, 6)) << "the new view opens fitted";
    PointerTo(second_viewport.center());
    desktop::Shell("xdotool click 4 sleep 0.2 click 4");  // the wheel zooms in
    shot = screen_.ShotWhen(
        "new-view-zoomed", [&](const QImage& s) { return !FitsCentred(s, second_viewport, 6); }, seconds(5));
    ASSERT_FALSE(FitsCentred(shot, second_viewport, 6)) << "the wheel zoomed the new view in";
    screen_.Key("ctrl+f");
    shot = screen_.ShotWhen(
        "new-view-fit-pressed", [&](const QImage& s) { return FitsCentred(s, second_viewport, 6); },
        seconds(5));
    EXPECT_TRUE(FitsCentred(shot, second_viewport, 6)) << "Ctrl+F fits the new view";
    screen_.Key("alt+F4");

    // File > New asks first: Escape keeps the pipeline, Yes empties it.
    desktop::Shell("xdotool windowactivate --sync " + window);
    PointerTo(viewport.center());
    screen_.Key("shift+Delete");
    ASSERT_FALSE(ActiveWindowOtherThan(window).isEmpty()) << "New asked nothing";
    screen_.Shot("new-asks");
    screen_.Key("Escape");
    shot = screen_.ShotWhen(
        "new-escaped", [&](const QImage& s) { return FitsCentred(s, viewport, 6); }, seconds(5));
    EXPECT_TRUE(FitsCentred(shot, viewport, 6)) << "Escape kept every node";
    screen_.Key("shift+Delete");
    ASSERT_FALSE(ActiveWindowOtherThan(window).isEmpty()) << "New asked nothing";
    screen_.Key("y");
    shot = screen_.ShotWhen(
        "new-confirmed", [&](const QImage& s) { return NodeBodies(s, viewport).empty(); }, seconds(10));
    EXPECT_TRUE(NodeBodies(shot, viewport).empty()) << "Yes emptied the editor";

    desktop::Shell("xdotool windowactivate --sync " + window + " key --clearmodifiers alt+F4");
    EXPECT_EQ(0, orvane.WaitForExit(seconds(60)));
    EXPECT_EQ(std::string::npos, ReadFile(home_.Path() + "/orvane/default.xml").find("<Element"))
        << "the close saved the emptied pipeline";
}

TEST_F(OrvaneWindowTest, BuildCloseAndReopenAPipelineWithTheMouse)
{
    const std::string fixture = WriteFixture(home_.Path());
    const std::string pipeline_file = home_.Path() + "/orvane/default.xml";

    // ---- First run: build the pipeline. ----
    Pipeline pipeline;
    {
        desktop::Application orvane(g_executable, home_.Path(), g_output + "/orvane-run1.log");
        const std::string window = orvane.WaitForWindow(seconds(60));
        ASSERT_FALSE(window.empty()) << "the main window did not show";
        EXPECT_GT(WindowGeometry(window).width(), 1800) << "the window starts maximised";
        // Started: the welcome text shows in the log view.
        QImage shot = screen_.ShotWhen("started", [&](const QImage& s) {
            return Count(s, QRect(470, s.height() - 190, 800, 180), [](QRgb p) { return qGray(p) > 200; }) >
                   500;
        });
        screen_size_ = shot.size();
        search_line_ = FindSearchLine(shot);
        ASSERT_FALSE(search_line_.isNull()) << "the element search line";

        ChooseElement("Image Read");
        const QImage chosen = screen_.Shot("image-read-chosen");
        const QPoint first(EditorArea().left() + 150, 260);
        screen_.DoubleClick(first);
        shot = screen_.ShotWhen("image-read-placed", [&](const QImage& s) {
            return Blobs(s, EditorArea(), IsPort, 30).size() == 1;
        });
        const std::vector<QRect> reader_ports = Blobs(shot, EditorArea(), IsPort, 30);
        ASSERT_EQ(1u, reader_ports.size()) << "an Image Read node with one output port";
        const QRect reader_node = desktop::Changed(chosen, shot, EditorArea());
        ASSERT_TRUE(reader_node.contains(first));
        // Its top-left corner where the double-click was: the title does not go above it.
        EXPECT_LE(std::abs(reader_node.left() - first.x()), 3);
        EXPECT_LE(std::abs(reader_node.top() - first.y()), 3);

        // Its file: the button of the file setting opens a file dialogue.
        screen_.Click(FileButton(reader_ports[0]));
        ASSERT_EQ(0, desktop::Shell(
                         "timeout 30 xdotool search --sync --onlyvisible --name '^Open File' >/dev/null"))
            << "the file dialogue did not open";
        screen_.Shot("file-dialogue");
        screen_.Type(fixture);
        screen_.Key("Return");
        screen_.ShotWhen("file-chosen", [](const QImage&) {
            return desktop::Shell("xdotool search --onlyvisible --name '^Open File' >/dev/null") != 0;
        });

        ChooseElement("Blur");
        const QPoint second(reader_ports[0].right() + 240, first.y());
        screen_.DoubleClick(second);
        shot = screen_.ShotWhen("blur-placed",
                                [&](const QImage& s) { return FindPipeline(s, EditorArea(), &pipeline); });
        ASSERT_TRUE(FindPipeline(shot, EditorArea(), &pipeline)) << "a Blur node with two ports";

        screen_.Drag(pipeline.reader_output.center(), pipeline.blur_input.center());
        shot = screen_.ShotWhen("connected", [&](const QImage& s) { return LineDrawn(s, pipeline); });
        EXPECT_TRUE(LineDrawn(shot, pipeline)) << "the line between the ports";

        shot = screen_.ShotWhen("previews", [&](const QImage& s) {
            return ReaderShowsFixture(s, pipeline) && BlurShowsBlurredFixture(s, pipeline);
        });
        EXPECT_TRUE(ReaderShowsFixture(shot, pipeline)) << "the reader's preview shows the fixture";
        EXPECT_TRUE(BlurShowsBlurredFixture(shot, pipeline)) << "the blur's preview shows it blurred";

        desktop::Shell("xdotool windowactivate --sync " + window + " key --clearmodifiers alt+F4");
        EXPECT_EQ(0, orvane.WaitForExit(seconds(60))) << "closing the window ends the program";
    }
    const std::string first_log = ReadFile(g_output + "/orvane-run1.log");
    EXPECT_NE(std::string::npos, first_log.find("Destroyed Commander"));
    // The application's names give the splitter positions a settings file of their own.
    EXPECT_NE(std::string::npos, ReadFile(home_.Path() + "/.config/Orvane/Orvane.conf").find("splitter_h"));
    const std::string saved = ReadFile(pipeline_file);
    ASSERT_NE(std::string::npos, saved.find(fixture)) << "the pipeline was saved with its file";

    // ---- Second run: the pipeline comes back; File > Exit saves nothing. ----
    {
        desktop::Application orvane(g_executable, home_.Path(), g_output + "/orvane-run2.log");
        const std::string window = orvane.WaitForWindow(seconds(60));
        ASSERT_FALSE(window.empty());
        Pipeline restored;
        const QImage shot = screen_.ShotWhen("restored", [&](const QImage& s) {
            return FindPipeline(s, EditorArea(), &restored) && LineDrawn(s, restored) &&
                   ReaderShowsFixture(s, restored) && BlurShowsBlurredFixture(s, restored);
        });
        ASSERT_TRUE(FindPipeline(shot, EditorArea(), &restored)) << "both nodes came back";
        EXPECT_TRUE(LineDrawn(shot, restored)) << "their link came back";
        EXPECT_TRUE(ReaderShowsFixture(shot, restored)) << "the reader came back with its file";
        EXPECT_TRUE(BlurShowsBlurredFixture(shot, restored));

        screen_.Click(FileMenu());
        screen_.Shot("file-menu");
        screen_.Key("Up Return");  // the last entry, Exit
        EXPECT_EQ(0, orvane.WaitForExit(seconds(60))) << "File > Exit ends with status 0";
    }
    EXPECT_EQ(saved, ReadFile(pipeline_file)) << "File > Exit saved nothing";
}

// ---- The look: tool tips, the completions, the element list and the About box. ----

void MoveMouse(QPoint to)
{
    desktop::Shell("xdotool mousemove " + std::to_string(to.x()) + " " + std::to_string(to.y()));
}

// A tool tip or pop-up in the theme's colours: mostly dark ground with light text, not
// the palette's pale yellow or white one.
bool IsDarkPopUp(const QImage& shot, const QRect& area)
{
    if (area.width() < 30 || area.height() < 12)
        return false;
    const int pixels = area.width() * area.height();
    const int dark = Count(shot, area, [](QRgb p) { return qGray(p) < 70; });
    const int light = Count(shot, area, [](QRgb p) { return qGray(p) > 180; });
    return dark > pixels / 2 && light > 20 && light < pixels / 3;
}

// The area that changed against the picture before, once it shows a dark pop-up there.
QImage ShotOfPopUp(desktop::Screen& screen, const std::string& step, const QImage& before, const QRect& area,
                   QRect* found)
{
    return screen.ShotWhen(
        step,
        [&](const QImage& s) {
            *found = desktop::Changed(before, s, area);
            return IsDarkPopUp(s, *found);
        },
        seconds(10));
}

// A horizontal scroll bar's handle inside the strip.
bool HasSidewaysScrollBar(const QImage& shot, const QRect& strip)
{
    const auto is_handle = [](QRgb p) { return Near(p, qRgb(0x4a, 0x51, 0x61), 10); };
    for (const QRect& handle : Blobs(shot, strip, is_handle, 100))
        if (handle.width() > 40 && handle.height() < 16)
            return true;
    return false;
}

// The active top-level window's client area on screen, once it has the title.
QRect ActiveWindowNamed(const std::string& title)
{
    const std::string id =
        desktop::Output("for i in $(seq 100); do w=$(xdotool getactivewindow); "
                        "[ \"$(xdotool getwindowname $w)\" = " +
                        desktop::Quoted(title) + " ] && { echo $w; break; }; sleep 0.1; done");
    if (id.empty())
        return QRect();
    std::istringstream info(desktop::Output("xwininfo -id " + id));
    int x = 0, y = 0, w = 0, h = 0;
    for (std::string line; std::getline(info, line);) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const int value = std::atoi(line.c_str() + colon + 1);
        if (line.find("Absolute upper-left X") != std::string::npos)
            x = value;
        if (line.find("Absolute upper-left Y") != std::string::npos)
            y = value;
        if (line.find("Width") != std::string::npos)
            w = value;
        if (line.find("Height") != std::string::npos)
            h = value;
    }
    return QRect(x, y, w, h);
}

TEST_F(OrvaneWindowTest, ToolTipsCompletionsElementNamesAndTheAboutBoxAreLegible)
{
    desktop::Application orvane(g_executable, home_.Path(), g_output + "/orvane-looks.log");
    const std::string window = orvane.WaitForWindow(seconds(60));
    ASSERT_FALSE(window.empty()) << "the main window did not show";
    QImage shot = screen_.ShotWhen("looks-started", [&](const QImage& s) {
        return !FindSearchLine(s).isNull() &&
               Count(s, QRect(470, s.height() - 190, 800, 180), [](QRgb p) { return qGray(p) > 200; }) > 500;
    });
    screen_size_ = shot.size();
    search_line_ = FindSearchLine(shot);
    ASSERT_FALSE(search_line_.isNull()) << "the element search line";

    // A node's port names its type in a tool tip.
    ChooseElement("Blur");
    screen_.DoubleClick(QPoint(EditorArea().left() + 250, 300));
    shot = screen_.ShotWhen("looks-blur-placed",
                            [&](const QImage& s) { return Blobs(s, EditorArea(), IsPort, 30).size() == 2; });
    const std::vector<QRect> ports = Blobs(shot, EditorArea(), IsPort, 30);
    ASSERT_EQ(2u, ports.size()) << "a Blur node with two ports";
    QRect tip;
    MoveMouse(ports[0].center() + QPoint(0, 1));
    shot = ShotOfPopUp(screen_, "looks-port-tool-tip", shot,
                       QRect(ports[0].topLeft() - QPoint(60, 0), QSize(400, 90)), &tip);
    EXPECT_TRUE(IsDarkPopUp(shot, tip)) << "the port's tool tip, light text on dark";

    // The search line's completions.
    MoveMouse(QPoint(screen_size_.width() / 2, screen_size_.height() / 2));
    screen_.Click(SearchLine());
    screen_.Key("ctrl+a BackSpace");
    const QImage empty_search = screen_.Shot("looks-search-emptied");
    screen_.Type("C");
    QRect completions;
    shot = ShotOfPopUp(screen_, "looks-completions", empty_search,
                       QRect(QPoint(0, 90), QPoint(search_line_.right() + 20, search_line_.top() - 2)),
                       &completions);
    EXPECT_TRUE(IsDarkPopUp(shot, completions)) << "the completions, light text on dark";
    screen_.Key("Escape");
    screen_.Key("ctrl+a BackSpace");

    // Every element name at once: the list scrolls sideways rather than cut a name short.
    screen_.Click(QPoint(search_line_.left() + 8, search_line_.center().y() + 28));  // "Expand all"
    const QRect under_list(search_line_.left(), search_line_.top() - 30, search_line_.width(), 28);
    shot = screen_.ShotWhen("looks-element-names",
                            [&](const QImage& s) { return HasSidewaysScrollBar(s, under_list); });
    EXPECT_TRUE(HasSidewaysScrollBar(shot, under_list)) << "the expanded list scrolls sideways";
    const QImage names = shot;
    MoveMouse(QPoint(search_line_.right() - 30, 160));
    shot = ShotOfPopUp(screen_, "looks-description-tool-tip", names,
                       QRect(QPoint(0, 90), QPoint(search_line_.right() + 500, 400)), &tip);
    EXPECT_TRUE(IsDarkPopUp(shot, tip)) << "a description's whole text as a tool tip";

    // Help > About...: dark to its edges, with no light bar under it.
    MoveMouse(QPoint(screen_size_.width() / 2, screen_size_.height() / 2));
    screen_.Click(FileMenu());
    screen_.Key("Left");  // from the first menu round to the last, Help
    screen_.Key("Down Return");
    const QRect about = ActiveWindowNamed("Orvane");
    ASSERT_FALSE(about.isEmpty()) << "the About box did not open";
    shot = screen_.Shot("looks-about");
    EXPECT_TRUE(IsDarkPopUp(shot, about.adjusted(1, 1, -1, -1))) << "the About text, light on dark";
    const QRect under(about.left(), about.bottom() + 1, about.width(), 6);
    EXPECT_LT(Count(shot, under, [](QRgb p) { return qGray(p) > 150; }), about.width() / 10)
        << "a light bar under the About box";
    screen_.Key("Escape");

    desktop::Shell("xdotool windowactivate --sync " + window + " key --clearmodifiers alt+F4");
    EXPECT_EQ(0, orvane.WaitForExit(seconds(60)));
}

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ORVANE OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    g_executable = argv[1];
    g_output = argv[2];
    return RUN_ALL_TESTS();
}
