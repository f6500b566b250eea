#pragma once
// What the real-window test does as a person at the screen: it starts the application,
// moves and clicks the mouse and types with xdotool, and looks at screenshots taken with
// ImageMagick's import (each one kept in the output folder, numbered by step).

#include <QImage>
#include <QPoint>
#include <QRect>

#include <chrono>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace desktop {

// Runs a shell command and returns its exit status; standard output is returned by Output.
int Shell(const std::string& command);
std::string Output(const std::string& command);
std::string Quoted(const std::string& text);

// One run of the application, with its own HOME; its standard output and error go to a file.
class Application {
public:
    Application(const std::string& executable, const std::string& home, const std::string& log);
    ~Application();  // kills the process when it still runs
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The X window of the main window, once it is shown; "" when none came in time.
    std::string WaitForWindow(std::chrono::seconds deadline);
    // The exit status, or -1 when the process did not end in time (or ended by a signal).
    int WaitForExit(std::chrono::seconds deadline);

private:
    pid_t pid_ = -1;
};

class Screen {
public:
    explicit Screen(std::string folder) : folder_(std::move(folder)) {}

    // A screenshot of the whole screen, kept as "NN-step.png".
    QImage Shot(const std::string& step);
    // Takes screenshots until the condition holds for one (kept under the step's name) or
    // the deadline passes; returns the last one.
    QImage ShotWhen(const std::string& step, const std::function<bool(const QImage&)>& condition,
                    std::chrono::seconds deadline = std::chrono::seconds(40));

    void Click(QPoint at);
    void DoubleClick(QPoint at);
    // Left button down at from, moved in small steps, released at to.
    void Drag(QPoint from, QPoint to);
    void Type(const std::string& text);
    void Key(const std::string& keys);

private:
    std::string folder_;
    int count_ = 0;
};

// Connected areas of matching pixels inside the area, each at least min_pixels large,
// as bounding rectangles, ordered left to right.
std::vector<QRect> Blobs(const QImage& image, QRect area, const std::function<bool(QRgb)>& match,
                         int min_pixels);
// How many pixels inside the area match.
int Count(const QImage& image, QRect area, const std::function<bool(QRgb)>& match);
// The bounding rectangle of the pixels that differ between two pictures inside the area.
QRect Changed(const QImage& before, const QImage& after, QRect area);

}  // namespace desktop
