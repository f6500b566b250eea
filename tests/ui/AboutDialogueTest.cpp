// Help > About...: the dialogue shows the embedded rich text.
#include "ui/window/AboutDialogue.h"

#include <QFile>
#include <QLabel>

#include <gtest/gtest.h>

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

    // What a person sees: the heading is drawn, so the grab is not one flat colour.
    dialogue.resize(dialogue.sizeHint());
    const QImage picture = dialogue.grab().toImage();
    const QRgb background = picture.pixel(picture.width() - 1, picture.height() - 1);
    bool drawn = false;
    for (int y = 0; y < picture.height() / 2 && !drawn; ++y)
        for (int x = 0; x < picture.width() && !drawn; ++x)
            drawn = picture.pixel(x, y) != background;
    EXPECT_TRUE(drawn);
}
