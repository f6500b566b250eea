// Every embedded image the program refers to loads, and so does every file of the
// embedded images folder.
#include <QDir>
#include <QPixmap>
#include <QString>
#include <gtest/gtest.h>

namespace {

// Paths given to ImageButton::SetImages: the button loads three variants of each.
const char* const kButtonSets[] = {
    ":/images/blue_round_button.png",
    ":/images/blue_round_restart_button.png",
    ":/images/blue_round_play_button.png",
    ":/images/blue_round_pause_button.png",
    ":/images/blue_round_stop_button.png",
    ":/images/blue_round_step_forward_button.png",
};

// Paths loaded as they are.
const char* const kImages[] = {
    ":/images/play_button.png", ":/images/play_button_pressed.png", ":/images/play_button_hover.png",
    ":/images/pause_button.png", ":/images/pause_button_pressed.png", ":/images/pause_button_hover.png",
    ":/images/forward_button.png", ":/images/forward_button_pressed.png", ":/images/forward_button_hover.png",
    ":/images/back_button.png", ":/images/back_button_pressed.png", ":/images/back_button_hover.png",
    ":/images/green_led_on.png", ":/images/red_led_on.png",
    ":/images/background.png", ":/images/background.jpg",
    ":/images/orvaneLogo2.png", ":/images/zoom_in.png", ":/images/zoom_out.png", ":/images/zoom_to_fit.png",
    ":/images/new_file.png", ":/images/restart_icon.png", ":/images/open_in_new_window.png",
    ":/images/checkbox_checked.png", ":/images/checkbox_unchecked.png",
    ":/images/arrow_up.png", ":/images/arrow_down.png", ":/images/arrow_left.png", ":/images/arrow_right.png",
};

void ExpectLoads(const QString& path) {
    const QPixmap pixmap(path);
    EXPECT_FALSE(pixmap.isNull()) << path.toStdString();
}

}  // namespace

TEST(ImageResourcesTest, EveryButtonSetHasItsThreeVariants) {
    for (const char* path : kButtonSets) {
        const QString base = QString(path).chopped(4);
        for (const char* variant : {"_main.png", "_pressed.png", "_hovered.png"}) ExpectLoads(base + variant);
    }
}

TEST(ImageResourcesTest, EveryImageLoads) {
    for (const char* path : kImages) ExpectLoads(path);
}

TEST(ImageResourcesTest, EveryEmbeddedFileIsAnImage) {
    const QStringList files = QDir(":/images").entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& file : files) ExpectLoads(":/images/" + file);
}
