// The image button as a person sees it: which image is drawn while hovering, holding
// and after releasing, which presses click, and what a missing image leaves behind.
#include "support/LogCapture.h"
#include "support/TestSupport.h"
#include "ui/MouseEvents.h"
#include "ui/controls/ImageButton.h"

#include <QImage>
#include <QSignalSpy>
#include <gtest/gtest.h>

using testsupport::Click;
using testsupport::Move;
using testsupport::Press;
using testsupport::Release;

namespace {

const QColor kMain(200, 30, 30);
const QColor kPressed(30, 200, 30);
const QColor kHovered(30, 30, 200);

// Writes name_main.png, name_pressed.png and name_hovered.png, each 60 x 40 of one colour.
std::string WriteImages(const testsupport::TempDir& dir)
{
    const std::pair<const char*, QColor> images[] = {
        {"main", kMain}, {"pressed", kPressed}, {"hovered", kHovered}};
    for (const auto& [suffix, colour] : images) {
        QImage image(60, 40, QImage::Format_RGB32);
        image.fill(colour);
        image.save(QString::fromStdString(dir.File(std::string("button_") + suffix + ".png")));
    }
    return dir.File("button.png");
}

QColor Centre(ImageButton& button)
{
    const QImage shot = button.grab().toImage();
    return shot.pixelColor(shot.width() / 2, shot.height() / 2);
}

class ImageButtonTest : public ::testing::Test {
protected:
    void SetUp() override { button.SetImages(WriteImages(dir)); }

    testsupport::TempDir dir;
    ImageButton button;
};

}  // namespace

TEST_F(ImageButtonTest, ScalesToThirtyPixelsAndFixesItsSize)
{
    EXPECT_EQ(button.size(), QSize(45, 30));
    EXPECT_EQ(button.minimumSize(), QSize(45, 30));
    EXPECT_EQ(button.maximumSize(), QSize(45, 30));
    EXPECT_EQ(Centre(button), kMain);
}

TEST_F(ImageButtonTest, HoverShowsTheHoveredImage)
{
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(&button, &enter);
    EXPECT_EQ(Centre(button), kHovered);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_EQ(Centre(button), kMain);
}

TEST_F(ImageButtonTest, HoldingTheLeftButtonShowsPressedAndReleasingClicks)
{
    QSignalSpy clicks(&button, SIGNAL(clicked()));
    Press(&button, QPoint(20, 15));
    EXPECT_EQ(Centre(button), kPressed);
    Release(&button, QPoint(20, 15));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(Centre(button), kHovered);  // the cursor is still on it
}

TEST_F(ImageButtonTest, DraggingOffBeforeReleasingShowsMainAndDoesNotClick)
{
    QSignalSpy clicks(&button, SIGNAL(clicked()));
    Press(&button, QPoint(20, 15));
    Move(&button, QPoint(200, 15));
    EXPECT_EQ(Centre(button), kMain);
    Release(&button, QPoint(200, 15));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(Centre(button), kMain);
}

TEST_F(ImageButtonTest, OtherButtonsNeitherPressNorClick)
{
    QSignalSpy clicks(&button, SIGNAL(clicked()));
    for (const Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton}) {
        Press(&button, QPoint(20, 15), other);
        EXPECT_NE(Centre(button), kPressed) << other;
        Release(&button, QPoint(20, 15), other);
    }
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ImageButtonTest, SinglePressedImageShowsWhileHeld)
{
    QImage image(30, 30, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    const QString path = QString::fromStdString(dir.File("other.png"));
    image.save(path);
    button.SetPressedImage(path);
    EXPECT_EQ(button.size(), QSize(45, 30));  // unchanged by a pressed image
    Press(&button, QPoint(10, 10));
    EXPECT_EQ(button.grab().toImage().pixelColor(10, 10), QColor(Qt::yellow));
    Release(&button, QPoint(10, 10));
}

TEST(ImageButtonMissingTest, LogsThePathAndStaysVisibleWithATip)
{
    testsupport::TempDir dir;
    LogCapture capture;
    ImageButton button;
    const std::string path = dir.File("absent.png");
    button.SetImages(path);

    const std::string log = capture.Text();
    EXPECT_NE(log.find("WARNING"), std::string::npos);
    EXPECT_NE(log.find(dir.File("absent_main.png")), std::string::npos) << log;
    EXPECT_GE(button.minimumWidth(), ImageButton::kImageHeight);
    EXPECT_GE(button.minimumHeight(), ImageButton::kImageHeight);
    EXPECT_TRUE(button.toolTip().contains("absent_main.png"));

    // The outline is drawn, so a person sees where the button is.
    button.setPalette(QPalette(Qt::black, Qt::white));
    const QImage shot = button.grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, shot.height() / 2), QColor(Qt::black));
    QSignalSpy clicks(&button, SIGNAL(clicked()));
    Click(&button, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 1);
}
