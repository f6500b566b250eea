#include <gtest/gtest.h>

#include <iostream>

#include "core/CustomException.h"
#include "core/FILELog.h"
#include "core/Utilities.h"
#include "support/LogCapture.h"

namespace {

class CustomExceptionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testing::internal::CaptureStdout();
        Output2FILE::Drain();
    }
    void TearDown() override { testing::internal::GetCapturedStdout(); }
};

TEST_F(CustomExceptionTest, MakingOneLogsOneErrorLine)
{
    const CustomException error("camera lost");
    EXPECT_STREQ(error.what(), "camera lost");
    const std::vector<std::string> lines = Split(Output2FILE::Drain(), '\n');
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("][ERROR] "), std::string::npos) << lines[0];
    EXPECT_EQ(lines[0].substr(30), "Exception thrown: camera lost");
}

TEST_F(CustomExceptionTest, CopyingLogsNothing)
{
    const CustomException error("once");
    LogCapture capture;
    const CustomException copy(error);
    EXPECT_STREQ(copy.what(), "once");
    EXPECT_EQ(capture.Text(), "");
}

TEST_F(CustomExceptionTest, SwallowedExceptionStillLeavesItsLine)
{
    try {
        throw CustomException("swallowed");
    } catch (...) {
    }
    EXPECT_NE(Output2FILE::Drain().find("Exception thrown: swallowed\n"), std::string::npos);
}

TEST_F(CustomExceptionTest, IsARuntimeError)
{
    EXPECT_THROW(throw CustomException("typed"), std::runtime_error);
}

}  // namespace
