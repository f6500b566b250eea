#include "Desktop.h"

#include <QColor>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sstream>
#include <thread>
#include <unistd.h>
#include <sys/wait.h>

namespace desktop {

int Shell(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Output(const std::string& command)
{
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 256> buffer;
        while (std::fgets(buffer.data(), buffer.size(), pipe))
            text += buffer.data();
        pclose(pipe);
    }
    return text;
}

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

Application::Application(const std::string& executable, const std::string& home, const std::string& log)
{
    pid_ = fork();
    if (pid_ == 0) {
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        setenv("HOME", home.c_str(), 1);
        unsetenv("QT_QPA_PLATFORM");
        execl(executable.c_str(), executable.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

Application::~Application()
{
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

std::string Application::WaitForWindow(std::chrono::seconds deadline)
{
    const std::string id = Output("timeout " + std::to_string(deadline.count()) +
                                  " xdotool search --sync --onlyvisible --name '^Orvane - ' 2>/dev/null");
    return id.substr(0, id.find('\n'));
}

int Application::WaitForExit(std::chrono::seconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (pid_ > 0 && std::chrono::steady_clock::now() < end) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
}

QImage Screen::Shot(const std::string& step)
{
    char number[16];
    std::snprintf(number, sizeof number, "%02d-", ++count_);
    const std::string path = folder_ + "/" + number + step + ".png";
    Shell("import -window root " + Quoted(path));
    return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
}

QImage Screen::ShotWhen(const std::string& step, const std::function<bool(const QImage&)>& condition,
                        std::chrono::seconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    const std::string path = folder_ + "/latest.png";
    QImage image;
    do {
        Shell("import -window root " + Quoted(path));
        image = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
        if (!image.isNull() && condition(image))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    } while (std::chrono::steady_clock::now() < end);
    std::remove(path.c_str());
    return Shot(step);
}

namespace {

std::string At(QPoint at)
{
    return std::to_string(at.x()) + " " + std::to_string(at.y());
}

}  // namespace

void Screen::Click(QPoint at)
{
    Shell("xdotool mousemove --sync " + At(at) + " click 1");
}

void Screen::DoubleClick(QPoint at)
{
    Shell("xdotool mousemove --sync " + At(at) + " click --repeat 2 --delay 80 1");
}

void Screen::Drag(QPoint from, QPoint to)
{
    std::ostringstream command;
    command << "xdotool mousemove --sync " << At(from) << " mousedown 1";
    const int steps = 20;
    for (int i = 1; i <= steps; ++i) {
        const QPoint step = from + (to - from) * i / steps;
        command << " sleep 0.03 mousemove " << At(step);
    }
    command << " sleep 0.1 mouseup 1";
    Shell(command.str());
}

void Screen::Type(const std::string& text)
{
    Shell("xdotool type --delay 40 " + Quoted(text));
}

void Screen::Key(const std::string& keys)
{
    Shell("xdotool key --delay 60 " + keys);
}

std::vector<QRect> Blobs(const QImage& image, QRect area, const std::function<bool(QRgb)>& match,
                         int min_pixels)
{
    area &= image.rect();
    std::vector<char> seen(static_cast<std::size_t>(area.width()) * area.height(), 0);
    auto index = [&](int x, int y) {
        return static_cast<std::size_t>(y - area.top()) * area.width() + (x - area.left());
    };
    std::vector<QRect> blobs;
    std::vector<QPoint> stack;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (seen[index(x, y)] || !match(image.pixel(x, y)))
                continue;
            QRect box(x, y, 1, 1);
            int pixels = 0;
            stack.assign(1, QPoint(x, y));
            seen[index(x, y)] = 1;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                ++pixels;
                box |= QRect(p, QSize(1, 1));
                for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint n = p + d;
                    if (area.contains(n) && !seen[index(n.x(), n.y())] && match(image.pixel(n))) {
                        seen[index(n.x(), n.y())] = 1;
                        stack.push_back(n);
                    }
                }
            }
            if (pixels >= min_pixels)
                blobs.push_back(box);
        }
    }
    std::sort(blobs.begin(), blobs.end(), [](const QRect& a, const QRect& b) { return a.left() < b.left(); });
    return blobs;
}

int Count(const QImage& image, QRect area, const std::function<bool(QRgb)>& match)
{
    area &= image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += match(image.pixel(x, y)) ? 1 : 0;
    return count;
}

QRect Changed(const QImage& before, const QImage& after, QRect area)
{
    area &= before.rect() & after.rect();
    QRect changed;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb a = before.pixel(x, y);
            const QRgb b = after.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                    std::abs(qBlue(a) - qBlue(b)) >
                30)
                changed |= QRect(x, y, 1, 1);
        }
    return changed;
}

}  // namespace desktop
