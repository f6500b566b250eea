#include "control/RegsteredTypesTest.h"

#include <utility>

RegsteredTypesTest::RegsteredTypesTest(boost::shared_ptr<ControlAndStatus> shared_controls)
    : shared_controls_(std::move(shared_controls))
{
}

ElementMakerList RegsteredTypesTest::GetMakers() const
{
    return makers_;
}
