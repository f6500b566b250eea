// The project's own embedded resources are registered in every widget test program.
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

TEST(ResourcesTest, TheProjectsOwnResourcesAreRegistered)
{
    for (const char* name : {":/stylesheet.css", ":/Messages/About.txt"}) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        EXPECT_GT(file.size(), 0) << name;
    }
    EXPECT_FALSE(QImage(":/images/orvaneLogo2.png").isNull());
}
