// Every embedded image the program refers to loads, and so does every file of the
// embedded images folder. The interface's sources and style sheet are searched for
// image paths, so a path added anywhere is checked too.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPixmap>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <gtest/gtest.h>

namespace {

// Paths given to ImageButton::SetImages: the button loads three variants of each.
const char* const kButtonSets[] = {
    ":/images/blue_round_button.png",      ":/images/blue_round_restart_button.png",
    ":/images/blue_round_play_button.png", ":/images/blue_round_pause_button.png",
    ":/images/blue_round_stop_button.png", ":/images/blue_round_step_forward_button.png",
};

// Paths loaded as they are.
const char* const kImages[] = {
    ":/images/play_button.png",
    ":/images/play_button_pressed.png",
    ":/images/play_button_hover.png",
    ":/images/pause_button.png",
    ":/images/pause_button_pressed.png",
    ":/images/pause_button_hover.png",
    ":/images/forward_button.png",
    ":/images/forward_button_pressed.png",
    ":/images/forward_button_hover.png",
    ":/images/back_button.png",
    ":/images/back_button_pressed.png",
    ":/images/back_button_hover.png",
    ":/images/green_led_on.png",
    ":/images/red_led_on.png",
    ":/images/background.png",
    ":/images/background.jpg",
    ":/images/orvaneLogo2.png",
    ":/images/zoom_in.png",
    ":/images/zoom_out.png",
    ":/images/zoom_to_fit.png",
    ":/images/new_file.png",
    ":/images/restart_icon.png",
    ":/images/open_in_new_window.png",
    ":/images/checkbox_checked.png",
    ":/images/checkbox_unchecked.png",
    ":/images/arrow_up.png",
    ":/images/arrow_down.png",
    ":/images/arrow_left.png",
    ":/images/arrow_right.png",
};

void ExpectLoads(const QString& path)
{
    const QPixmap pixmap(path);
    EXPECT_FALSE(pixmap.isNull()) << path.toStdString();
}

bool Loads(const QString& path)
{
    return !QPixmap(path).isNull();
}

// Every whole ":/images/..." path written in the files of the folder.
QSet<QString> PathsWrittenIn(const QString& folder)
{
    const QRegularExpression image_path(":/images/[A-Za-z0-9_./]+\\.(png|jpg)");
    QSet<QString> paths;
    QDirIterator files(folder, {"*.cpp", "*.h", "*.css"}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto match = image_path.globalMatch(text); match.hasNext();)
            paths.insert(match.next().captured(0));
    }
    return paths;
}

}  // namespace

TEST(ImageResourcesTest, EveryButtonSetHasItsThreeVariants)
{
    for (const char* path : kButtonSets) {
        const QString base = QString(path).chopped(4);
        for (const char* variant : {"_main.png", "_pressed.png", "_hovered.png"})
            ExpectLoads(base + variant);
    }
}

TEST(ImageResourcesTest, EveryImageLoads)
{
    for (const char* path : kImages)
        ExpectLoads(path);
}

// A path either loads, or is given to ImageButton::SetImages and its three variants load.
TEST(ImageResourcesTest, EveryPathWrittenInTheSourcesLoads)
{
    QSet<QString> paths = PathsWrittenIn(ORVANE_SOURCE_DIR "/ui");
    paths.unite(PathsWrittenIn(ORVANE_SOURCE_DIR "/resources"));
    EXPECT_GE(paths.size(), 10);
    for (const QString& path : paths) {
        const QString base = path.left(path.lastIndexOf('.'));
        const QString extension = path.mid(path.lastIndexOf('.'));
        const bool variants = Loads(base + "_main" + extension) && Loads(base + "_pressed" + extension) &&
                              Loads(base + "_hovered" + extension);
        EXPECT_TRUE(Loads(path) || variants) << path.toStdString();
    }
}

TEST(ImageResourcesTest, EveryEmbeddedFileIsAnImage)
{
    const QStringList files = QDir(":/images").entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& file : files)
        ExpectLoads(":/images/" + file);
}
