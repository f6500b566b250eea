#include "control/PipelineFiles.h"

#include "core/ControlAndStatus.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(PipelineFilesTest, PathLiesInThePerUserFolder)
{
    testsupport::ScopedHome home;
    EXPECT_EQ(PipelineFilePath("default"), ControlAndStatus::GetSettingsDirectory() + "default.xml");
    EXPECT_THROW(PipelineFilePath("../default"), std::exception);
}

}  // namespace
