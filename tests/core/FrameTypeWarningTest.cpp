#include "core/FrameTypeWarning.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <opencv2/core.hpp>

#include <string>
#include <vector>

TEST(FrameTypeWarningTest, WarnsOnceForEachType)
{
    FrameTypeWarning warning;
    LogCapture log;
    for (int type : {CV_16SC1, CV_16SC1, CV_8UC2, CV_16SC1, CV_8UC2, CV_MAKETYPE(CV_64F, 512)})
        warning.Warn(type, "type " + cv::typeToString(type));
    EXPECT_EQ(log.Messages(), std::vector<std::string>({"type CV_16SC1", "type CV_8UC2", "type CV_64FC512"}));
    EXPECT_NE(log.Text().find("[WARNING]"), std::string::npos);
}

TEST(FrameTypeWarningTest, EachOwnerWarnsForItself)
{
    FrameTypeWarning first;
    FrameTypeWarning second;
    LogCapture log;
    first.Warn(CV_16SC1, "first");
    second.Warn(CV_16SC1, "second");
    EXPECT_EQ(log.Messages(), std::vector<std::string>({"first", "second"}));
}
