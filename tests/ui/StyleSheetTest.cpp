// Reading the style sheet: the embedded fallback, the folder's files in name order and
// the combined copy written beside the working directory; what the embedded one shows.
#include "WindowTestSupport.h"
#include "support/TestSupport.h"
#include "ui/frame/StyleSheet.h"

#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QString>
#include <QToolTip>
#include <QWidget>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

namespace {

// Each case works in a fresh <temp>/work, so "../stylesheet.css" lands in <temp>.
class StyleSheetTest : public ::testing::Test {
protected:
    std::string Folder(const std::string& name)
    {
        QDir(QString::fromStdString(temp_.Path())).mkpath(QString::fromStdString(name));
        return temp_.File(name);
    }

    static void Write(const std::string& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }

    bool CombinedExists() const
    {
        return QFile::exists(QString::fromStdString(temp_.File("stylesheet.css")));
    }

    std::string Combined() const
    {
        QFile file(QString::fromStdString(temp_.File("stylesheet.css")));
        file.open(QIODevice::ReadOnly);
        return file.readAll().toStdString();
    }

    testsupport::ScopedWorkFolder folder_;
    const testsupport::TempDir& temp_ = folder_.Root();
};

TEST_F(StyleSheetTest, AMissingFolderFallsBackToTheEmbeddedSheet)
{
    ReadStyleSheet(temp_.File("no such folder"));
    const QString text = StyleSheetText();
    EXPECT_TRUE(text.contains("Proxima Nova"));
    EXPECT_TRUE(text.contains("#centralWidget"));
    EXPECT_TRUE(text.contains(":/images/background.png"));
    EXPECT_FALSE(CombinedExists());
}

TEST_F(StyleSheetTest, EveryImageTheEmbeddedSheetNamesIsEmbedded)
{
    ReadStyleSheet(temp_.File("no such folder"));
    const QRegularExpression url(QStringLiteral("url\\((:/[^)]+)\\)"));
    int images = 0;
    for (QRegularExpressionMatchIterator it = url.globalMatch(StyleSheetText()); it.hasNext(); ++images) {
        const QString name = it.next().captured(1);
        EXPECT_TRUE(QFile::exists(name)) << name.toStdString();
    }
    EXPECT_GE(images, 7);  // background, two check-box states, four arrows
}

TEST_F(StyleSheetTest, AnEmptyFolderGivesAnEmptySheetAndWritesItEmpty)
{
    ReadStyleSheet(temp_.File("no such folder"));
    ReadStyleSheet(Folder("empty"));
    EXPECT_TRUE(StyleSheetText().isEmpty());
    ASSERT_TRUE(CombinedExists());
    EXPECT_EQ("", Combined());
}

TEST_F(StyleSheetTest, TheFoldersCssFilesAreJoinedInNameOrder)
{
    const std::string folder = Folder("skin");
    // Made out of order, so a listing in creation order would differ.
    Write(folder + "/c.css", "QLabel { color: blue; }\n");
    Write(folder + "/a.css", "QWidget { color: red; }\n");
    Write(folder + "/notes.txt", "not a sheet");
    Write(folder + "/b.CSS", "QMenu { color: green; }\n");
    Write(folder + "/b.css", "QMenu { color: white; }\n");
    ReadStyleSheet(folder);
    const std::string expected =
        "QWidget { color: red; }\nQMenu { color: white; }\nQLabel { color: blue; }\n";
    EXPECT_EQ(expected, StyleSheetText().toStdString());
    EXPECT_EQ(expected, Combined());

    QWidget widget;
    ApplyStyleSheet(&widget);
    EXPECT_EQ(QString::fromStdString(expected), widget.styleSheet());
}

}  // namespace

namespace {

// Whether the area holds a light pixel, as an arrow or text drawn in white would.
bool HasLightPixel(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) > 160)
                return true;
    return false;
}

}  // namespace

TEST_F(StyleSheetTest, TheEmbeddedSheetGivesSpinBoxesVisibleStepArrows)
{
    ReadStyleSheet(temp_.File("no such folder"));
    for (QAbstractSpinBox* box : std::initializer_list<QAbstractSpinBox*>{new QSpinBox, new QDoubleSpinBox}) {
        std::unique_ptr<QAbstractSpinBox> owner(box);
        ApplyStyleSheet(box);
        box->resize(90, 28);
        const QImage image = box->grab().toImage();
        // The step buttons sit at the right edge, clear of the number.
        EXPECT_TRUE(HasLightPixel(image, QRect(image.width() - 14, 2, 10, image.height() / 2 - 3)))
            << box->metaObject()->className() << " up";
        EXPECT_TRUE(HasLightPixel(
            image, QRect(image.width() - 14, image.height() / 2 + 1, 10, image.height() / 2 - 3)))
            << box->metaObject()->className() << " down";
    }
}

// A tool tip is a window of its own, outside the styled window: the rules must still
// reach it through the widget that shows it.
TEST_F(StyleSheetTest, ToolTipsOfAStyledWindowAreLightOnDark)
{
    ReadStyleSheet(temp_.File("no such folder"));
    QWidget window;
    ApplyStyleSheet(&window);
    auto* button = new QPushButton("New", &window);
    button->setToolTip("Clears all of the elements");
    window.show();
    windowtest::HoverForToolTip(button, button->rect().center());
    QWidget* tip = windowtest::ShownToolTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(windowtest::IsLightTextOnDark(tip->grab().toImage()));
    QToolTip::hideText();
}
