// The four-pane image container: each pane's picture saved under its own file name, a
// fifth pane refused, the views of the display settings, the size modes and the presses.
#include "ui/display/ImageContainer.h"

#include "MouseEvents.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

#include <QFileInfo>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QSpacerItem>
#include <QStringList>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

const QColor kPaneColours[ImageContainer::kPanes] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};

class ImageContainerTest : public ::testing::Test {
protected:
    ImageContainerTest()
    {
        for (int i = 0; i < ImageContainer::kPanes; ++i) {
            QImage picture(40 + 10 * i, 30, QImage::Format_RGB32);
            picture.fill(kPaneColours[i]);
            container_.SetImage(i, picture);
        }
    }

    std::vector<int> ShownPanes() const
    {
        std::vector<int> shown;
        for (int i = 0; i < ImageContainer::kPanes; ++i) {
            if (!container_.Pane(i)->isHidden())
                shown.push_back(i);
        }
        return shown;
    }

    TempDir folder_;
    ImageContainer container_;
};

}  // namespace

TEST_F(ImageContainerTest, SaveImageWritesEachPanesPictureUnderItsOwnName)
{
    const std::string prefix = folder_.File("frame");
    const char* const endings[] = {"_0.png", "_1.png", "_2.png", "_3.png"};
    for (int i = 0; i < ImageContainer::kPanes; ++i) {
        container_.SaveImage(i, prefix, 12);
        const QString name = QString::fromStdString(prefix) + "12" + endings[i];
        EXPECT_EQ(ImageContainer::ImageFileName(i, prefix, 12), name.toStdString());
        const QImage written(name, "PNG");
        ASSERT_FALSE(written.isNull()) << name.toStdString();
        EXPECT_EQ(written.size(), QSize(40 + 10 * i, 30));
        EXPECT_EQ(QColor(written.pixel(5, 5)), kPaneColours[i]) << i;
    }
}

TEST_F(ImageContainerTest, SaveImageRefusesAPaneThatDoesNotExist)
{
    for (const int pane : {4, -1}) {
        LogCapture log;
        container_.SaveImage(pane, folder_.File("frame"), 1);
        EXPECT_TRUE(log.Contains("Unknown panel number")) << pane;
        EXPECT_FALSE(QFileInfo::exists(
            QString::fromStdString(folder_.File("frame1_" + std::to_string(pane) + ".png"))));
    }
}

TEST_F(ImageContainerTest, AFileThatCannotBeWrittenIsLogged)
{
    LogCapture log;
    container_.SaveImage(0, folder_.File("missing/frame"), 1);
    EXPECT_TRUE(log.Contains("[ERROR]")) << log.Text();
}

TEST_F(ImageContainerTest, EachViewShowsItsPanes)
{
    struct Case {
        QString view;
        std::vector<int> shown;
    };
    const Case cases[] = {
        {"Top", {0, 1}},
        {"Bottom", {2, 3}},
        {"Left", {0, 2}},
        {"Right", {1, 3}},
        {"Top Left", {0}},
        {"Top Right", {1}},
        {"Bottom Left", {2}},
        {"Bottom Right", {3}},
        {"All", {0, 1, 2, 3}},
        {"Select View", {0, 1, 2, 3}},
        {"Sideways", {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        container_.SetVideoToDisplay("All");
        container_.SetVideoToDisplay(c.view);
        EXPECT_EQ(ShownPanes(), c.shown) << c.view.toStdString();
    }
    container_.SetVideoToDisplay("Top Left");
    container_.SetVideoToDisplay("Select View");
    EXPECT_EQ(ShownPanes(), std::vector<int>{0});
}

TEST_F(ImageContainerTest, FixedSizePanesTakeTheirPicturesSize)
{
    container_.SetImagesFixedSize(true);
    for (int i = 0; i < ImageContainer::kPanes; ++i) {
        EXPECT_EQ(container_.Pane(i)->minimumSize(), QSize(40 + 10 * i, 30));
        EXPECT_EQ(container_.Pane(i)->maximumSize(), QSize(40 + 10 * i, 30));
    }
    container_.SetImagesFixedSize(false);
    for (int i = 0; i < ImageContainer::kPanes; ++i) {
        EXPECT_EQ(container_.Pane(i)->minimumSize(), QSize(0, 0));
        EXPECT_EQ(container_.Pane(i)->maximumSize(), QSize(10000, 10000));
    }
}

TEST_F(ImageContainerTest, AFixedAspectRatioLetsTheSpacersExpand)
{
    for (const bool fixed : {true, false}) {
        container_.SetFixedAspectRatio(fixed);
        const QSizePolicy::Policy expected = fixed ? QSizePolicy::Expanding : QSizePolicy::Minimum;
        for (int i = 0; i < ImageContainer::kPanes; ++i) {
            EXPECT_EQ(container_.Spacer(i)->sizePolicy().horizontalPolicy(), expected);
            EXPECT_EQ(container_.Spacer(i)->sizePolicy().verticalPolicy(), expected);
        }
    }
}

TEST_F(ImageContainerTest, APressOnAPaneEmitsThatPanesSignalWithThePosition)
{
    container_.resize(400, 300);
    container_.show();
    const char* const signals_[] = {SIGNAL(MousePress0(QPoint)), SIGNAL(MousePress1(QPoint)),
                                    SIGNAL(MousePress2(QPoint)), SIGNAL(MousePress3(QPoint))};
    for (int pressed = 0; pressed < ImageContainer::kPanes; ++pressed) {
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (const char* signal : signals_)
            spies.push_back(std::make_unique<QSignalSpy>(&container_, signal));
        Press(container_.Pane(pressed), QPoint(7, 9));
        for (int i = 0; i < ImageContainer::kPanes; ++i) {
            ASSERT_EQ(spies[i]->count(), i == pressed ? 1 : 0) << pressed << " " << i;
            if (i == pressed) {
                EXPECT_EQ(spies[i]->front().front().toPoint(), QPoint(7, 9));
            }
        }
    }
}

TEST_F(ImageContainerTest, EachPaneShowsItsPictureInItsCorner)
{
    container_.resize(400, 300);
    container_.show();
    QApplication::processEvents();
    const QImage shown = container_.grab().toImage();
    for (int i = 0; i < ImageContainer::kPanes; ++i) {
        const QRect pane = container_.Pane(i)->geometry();
        EXPECT_EQ(pane.center().x() < 200, i % 2 == 0) << i;
        EXPECT_EQ(pane.center().y() < 150, i / 2 == 0) << i;
        EXPECT_EQ(QColor(shown.pixel(pane.center())), kPaneColours[i]) << i;
    }
}
