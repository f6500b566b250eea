// "Snap Shot": writes the next frame to an image file after each press of its
// "_take_image" button, and passes every frame on unchanged. The button runs
// on the GUI thread, the writing on the processing thread; they meet only in
// the take flag. A press stays pending until a write succeeds; only a regular file, or a
// new one, is written, never through a link, and a numbered shot only ever makes a new
// file. The element owns its signal and variables.
#pragma once

#include <atomic>
#include <string>

#include <boost/signals2/signal.hpp>

#include "core/ThreadSafeVariable.h"
#include "core/VideoFrame.h"
#include "engine/ElementFilter.h"

class ControlAndStatus;

class SnapShotElement : public ElementFilter<VideoFrame> {
public:
    explicit SnapShotElement(boost::shared_ptr<ControlAndStatus> controls);
    ~SnapShotElement() override;

    PassableItem<VideoFrame> Process(PassableItem<VideoFrame> item) override;

    // The button: the next frame is written. Presses before it count once.
    void TakeImage();
    // Directory, base name (without its extension), "_<n>" when numbering, and the
    // extension of the chosen format. n follows the element's last shot and every shot of
    // that name and format already in the folder.
    std::string MakeFileName();

private:
    // The settings that name a shot, read once for it.
    struct ShotName {
        std::string stem;  // directory and base name
        std::string extension;
        bool numbered;
    };

    // Writes the one named file, or with numbering a new file under the next free number;
    // path: the file written, or the last one tried. Why the image could not be written;
    // empty when it was. Throws on an empty image.
    std::string WriteImage(const cv::Mat& image, std::string& path);
    ShotName ReadShotName();
    static std::string PathOf(const ShotName& name, int number);
    int NextNumber(const ShotName& name);

    boost::signals2::signal<void()> take_image_signal_;
    std::atomic<bool> take_image_{false};
    // Whether the last write of the pending press failed, and whether it was said that the
    // press waits for a frame with an image; processing thread only.
    bool retrying_ = false;
    bool waiting_reported_ = false;
    ThreadSafeVariable<std::string> directory_;
    ThreadSafeVariable<std::string> file_name_{std::string("hippopotamus")};
    // 0 Bitmap, 1 JPEG, 2 PNG; anything else is written as PNG.
    ThreadSafeVariable<int> image_format_{0};
    ThreadSafeVariable<bool> auto_number_{false};
    // The number after the element's last numbered shot; starts at 0, never reset.
    ThreadSafeVariable<int> counter_{0};
};
