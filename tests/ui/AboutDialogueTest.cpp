// Help > About...: the dialogue shows the embedded rich text.
#include "ui/shell/AboutDialogue.h"

#include "ui/frame/StyleSheet.h"

#include <QFile>
#include <QImage>
#include <QLabel>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

TEST(AboutDialogueTest, ShowsTheEmbeddedTextWordWrapped)
{
    QFile resource(":/Messages/About.txt");
    ASSERT_TRUE(resource.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(resource.readAll());
    ASSERT_TRUE(text.contains("<h1>Orvane</h1>"));

    AboutDialogue dialogue(nullptr);
    EXPECT_EQ(QSize(600, 400), dialogue.sizeHint());
    const QList<QLabel*> labels = dialogue.findChildren<QLabel*>();
    ASSERT_EQ(1, labels.size());
    EXPECT_TRUE(labels.front()->wordWrap());
    EXPECT_EQ(text, labels.front()->text());
    EXPECT_EQ(Qt::AutoText, labels.front()->textFormat());
}

TEST(AboutDialogueTest, TheTextStandsOutUnderTheApplicationsLook)
{
    // Shown from the main window, the dialogue takes the window's style sheet.
    ReadStyleSheet("/no/such/style/folder");
    QWidget window;
    ApplyStyleSheet(&window);
    AboutDialogue dialogue(&window);
    dialogue.resize(dialogue.sizeHint());
    const QImage picture = dialogue.grab().toImage();
    const int background = qGray(picture.pixel(picture.width() - 1, picture.height() - 1));
    int strongest = 0;
    for (int y = 0; y < picture.height() / 3; ++y)
        for (int x = 0; x < picture.width(); ++x)
            strongest = std::max(strongest, std::abs(qGray(picture.pixel(x, y)) - background));
    EXPECT_GT(strongest, 120) << "the heading is hard to read against the background";
}

TEST(AboutDialogueTest, IsDarkToItsEdgesAndFixedToItsWholeText)
{
    ReadStyleSheet("/no/such/style/folder");
    QWidget window;
    ApplyStyleSheet(&window);
    AboutDialogue dialogue(&window);
    dialogue.show();
    // A window that cannot be resized gets no light resize handle from the window manager.
    EXPECT_EQ(dialogue.minimumSize(), dialogue.maximumSize());
    EXPECT_EQ(dialogue.width(), dialogue.sizeHint().width());
    QLabel* label = dialogue.findChild<QLabel*>();
    EXPECT_GE(label->height(), label->heightForWidth(label->width())) << "the text is cut";
    const QImage picture = dialogue.grab().toImage();
    int light = 0;
    for (int x = 0; x < picture.width(); ++x)
        for (int y : {0, picture.height() - 1})
            light += qGray(picture.pixel(x, y)) > 60;
    for (int y = 0; y < picture.height(); ++y)
        for (int x : {0, picture.width() - 1})
            light += qGray(picture.pixel(x, y)) > 60;
    EXPECT_EQ(light, 0) << "light pixels on the dialogue's edges";
}
