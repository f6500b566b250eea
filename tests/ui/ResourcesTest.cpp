// The embedded resources are registered in every widget test program.
#include <QFile>
#include <gtest/gtest.h>

TEST(ResourcesTest, TheResourceRootIsRegistered)
{
    EXPECT_TRUE(QFile::exists(":/"));
}
