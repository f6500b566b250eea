// A running pipeline for the display widget tests: "Image Read" of a picture made by the
// test, chained through the given elements by the commander. Also waits that keep the
// Qt event loop turning, and a look at a widget's pixels.
#pragma once

#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "engine/ElementBase.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <boost/any.hpp>
#include <boost/make_shared.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// Polls the condition with the Qt events delivered; the deadline only guards against a hang.
inline bool WaitForGui(const std::function<bool()>& condition,
                       std::chrono::milliseconds deadline = std::chrono::seconds(20))
{
    return WaitFor(
        [&] {
            QApplication::processEvents();
            // Outside a running event loop deferred deletions wait for one.
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return condition();
        },
        deadline);
}

inline QColor PixelOf(QWidget* widget, int x, int y)
{
    return QColor(widget->grab().toImage().pixel(x, y));
}

inline bool Near(const QColor& a, const QColor& b, int tolerance = 40)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// The picture every pipeline reads: 640 x 480, red on the left half, blue on the right.
const QColor kLeftColour(255, 0, 0);
const QColor kRightColour(0, 0, 255);

// That picture as an image of the given depth (8 or 16 bits) and channels (three or four,
// the alpha half opaque), as a file would hold it.
inline cv::Mat SplitPicture(int type = CV_8UC3)
{
    cv::Mat picture(480, 640, CV_8UC3, cv::Scalar(255, 0, 0));
    picture(cv::Rect(0, 0, 320, 480)).setTo(cv::Scalar(0, 0, 255));
    if (CV_MAT_CN(type) == 4) {
        cv::cvtColor(picture, picture, cv::COLOR_BGR2BGRA);
        picture.reshape(1, picture.rows * picture.cols).col(3).setTo(128);
    }
    if (CV_MAT_DEPTH(type) == CV_16U)
        picture.convertTo(picture, CV_16U, 257.0);
    return picture;
}

class PipelineFixture {
public:
    PipelineFixture() : hub_(boost::make_shared<ControlAndStatus>()), commander_(new PowerCommanderTop(hub_))
    {
        cv::imwrite(files_.File("picture.png"), SplitPicture());
    }

    ~PipelineFixture()
    {
        commander_->Stop();
        commander_->Clear();
    }

    // Reads the picture into the named elements, made in this order, and starts the run.
    // Returns the ids: the reader first.
    std::vector<std::string> Run(const std::vector<std::string>& names)
    {
        const std::string reader = commander_->MakeElement("Image Read", "");
        commander_->GetElement(reader)->settings.SetValue("_file_path", files_.File("picture.png"), "");
        std::vector<std::string> ids{reader};
        for (const std::string& name : names) {
            ids.push_back(commander_->MakeElement(name, ""));
            commander_->ConnectElements(ids[ids.size() - 2], ids.back());
        }
        commander_->Start();
        return ids;
    }

    // The reader of the given id reads this picture instead, from a file of the given name.
    void ReadPicture(const std::string& reader, const cv::Mat& picture, const std::string& name)
    {
        cv::imwrite(files_.File(name), picture);
        commander_->GetElement(reader)->settings.SetValue("_file_path", files_.File(name), "");
    }

    // The live variable behind an element's setting.
    template <typename T>
    T Setting(const std::string& id, const std::string& name)
    {
        return boost::any_cast<T>(commander_->GetElement(id)->settings.FindItem(name).value);
    }

    const boost::shared_ptr<ControlAndStatus>& Hub() const { return hub_; }
    PowerCommanderTop& Commander() { return *commander_; }

private:
    ScopedHome home_;
    TempDir files_;
    boost::shared_ptr<ControlAndStatus> hub_;
    boost::shared_ptr<PowerCommanderTop> commander_;
};

}  // namespace testsupport
