#pragma once
// Shared by the main-window tests: a temporary per-user folder (HOME and the Qt settings
// path) with the application's names set, a fixture image, and small probes of the window.

#include "control/PowerCommanderTop.h"
#include "core/Output2FILE.h"
#include "support/TestSupport.h"
#include "ui/editor/NodalConnectorTop.h"
#include "ui/panels/LoggingWidget.h"
#include "ui/shell/MainWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSettings>
#include <QString>

#include <sstream>
#include <string>

namespace windowtest {

// HOME and the user-scope Qt settings point into one temporary folder while it lives.
class ScopedUserFolder {
public:
    ScopedUserFolder();
    ~ScopedUserFolder();

    const std::string& Home() const { return home_.Path(); }
    // The per-user folder of pipelines and settings files.
    std::string OrvaneFolder() const { return home_.Path() + "/orvane/"; }
    QString QtSettingsFile() const;

private:
    testsupport::ScopedHome home_;
};

inline ScopedUserFolder::ScopedUserFolder()
{
    QCoreApplication::setOrganizationName("Orvane");
    QCoreApplication::setApplicationName("Orvane");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(home_.Path() + "/.config"));
}

inline ScopedUserFolder::~ScopedUserFolder() = default;

inline QString ScopedUserFolder::QtSettingsFile() const
{
    return QSettings().fileName();
}

inline std::string WriteFixtureImage(const std::string& folder)
{
    QImage image(64, 48, QImage::Format_RGB888);
    image.fill(QColor(0, 0, 200));
    QPainter painter(&image);
    painter.setPen(QColor(255, 255, 0));
    for (int x = 4; x < image.width(); x += 8)
        painter.drawLine(x, 0, x, image.height() - 1);
    painter.end();
    const std::string path = folder + "/fixture.png";
    image.save(QString::fromStdString(path));
    return path;
}

inline QString LogViewText(MainWindow& window)
{
    LoggingWidget* view = window.findChild<LoggingWidget*>();
    if (!view)
        return QString();
    view->UpdateLog();
    return view->TextBox()->toPlainText();
}

// Runs the event loop until the editor's queued rebuilds have run.
inline void SettleEditor(NodalConnectorTop& editor)
{
    testsupport::WaitFor([&] {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return !editor.HasQueuedWork();
    });
}

inline void BuildImagePipeline(PowerCommanderTop& commander, NodalConnectorTop& editor,
                               const std::string& image_path)
{
    const std::string reader = commander.MakeElement("Image Read", "");
    commander.GetElement(reader)->settings.SetValue("_file_path", image_path, "");
    const std::string blur = commander.MakeElement("Blur", "");
    commander.ConnectElements(reader, blur);
    commander.Start();
    editor.UpdateFromBackend();
    SettleEditor(editor);
}

inline long FramesPassed(PowerCommanderTop& commander)
{
    Output2FILE::Drain();
    commander.ParseCommand("log");
    std::istringstream lines(Output2FILE::Drain());
    long frames = 0;
    const std::string marker = "Frame count: ";
    for (std::string line; std::getline(lines, line);) {
        const std::size_t at = line.find(marker);
        if (at != std::string::npos)
            frames += std::stol(line.substr(at + marker.size()));
    }
    return frames;
}

inline int NodeCount(NodalConnectorTop& editor)
{
    return static_cast<int>(editor.GetAllNodes().size());
}

inline void ProcessEventsFor(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

}  // namespace windowtest
