// "Tee": frames go through its input and output pads, and clone pads are popped
// the way their connections would.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "core/ControlAndStatus.h"
#include "elements/TeeElement.h"
#include "support/FrameMaker.h"
#include "support/PadHarness.h"

namespace {

PassableItem<VideoFrame> MakeFrame(std::int64_t number)
{
    return testsupport::MakeFrame(cv::Mat(4, 6, CV_8UC3, cv::Scalar(10, 20, 30)), number, 0.25 * number);
}

boost::shared_ptr<BoltOnSource<VideoFrame>> CloneOf(TeeElement& tee, int index)
{
    return boost::dynamic_pointer_cast<BoltOnSource<VideoFrame>>(
        tee.GetOutputByName("cloned output " + std::to_string(index)));
}

void ConnectClone(TeeElement& tee, int index)
{
    CloneOf(tee, index)->peer_element_id.Set("Branch_" + std::to_string(index));
}

class TeeElementTest : public ::testing::Test {
protected:
    boost::shared_ptr<BoltOnSource<VideoFrame>> Clone(int index) { return CloneOf(element, index); }
    void Connect(int index) { ConnectClone(element, index); }

    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
    TeeElement element{hub};
    testsupport::PadHarness<> pads{element};
};

TEST_F(TeeElementTest, HasOutputAndFourNumberedClonePadsButNoSettingsOfItsOwn)
{
    const auto outputs = element.GetOutputs();
    ASSERT_EQ(5u, outputs.size());
    EXPECT_EQ("output", outputs[0]->pad_name.Get());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ("cloned output " + std::to_string(i), outputs[i + 1]->pad_name.Get());
        EXPECT_EQ("2D Info", outputs[i + 1]->GetTypeName());
        EXPECT_TRUE(Clone(i));
    }
    EXPECT_EQ("_preview_controls", element.settings.GetItems().back().name);
}

TEST_F(TeeElementTest, OnlyConnectedClonesGetACopy)
{
    const struct {
        std::vector<int> connected;
    } cases[] = {{{}}, {{2}}, {{0, 3}}, {{0, 1, 2, 3}}};
    for (const auto& c : cases) {
        TeeElement tee{hub};
        for (int index : c.connected)
            ConnectClone(tee, index);
        const PassableItem<VideoFrame> frame = MakeFrame(5);
        EXPECT_EQ(frame.data, testsupport::PadHarness<>(tee).Pass(frame).data);
        for (int index = 0; index < 4; ++index) {
            const bool connected =
                std::find(c.connected.begin(), c.connected.end(), index) != c.connected.end();
            EXPECT_EQ(connected, tee.IsCloneConnected(index));
            EXPECT_EQ(connected ? 1 : 0, CloneOf(tee, index)->queue.Count()) << index;
        }
    }
}

TEST_F(TeeElementTest, CopiesAreIndependentOfTheOriginalAndOfEachOther)
{
    Connect(1);
    Connect(2);
    const PassableItem<VideoFrame> original = MakeFrame(9);
    pads.Pass(original);
    PassableItem<VideoFrame> first = Clone(1)->GetData();
    PassableItem<VideoFrame> second = Clone(2)->GetData();
    ASSERT_TRUE(first.IsValid());
    ASSERT_TRUE(second.IsValid());
    EXPECT_NE(original.data, first.data);
    EXPECT_NE(first.data, second.data);
    EXPECT_NE(original.data->image.data, first.data->image.data);
    EXPECT_EQ(9, first.data->frame_number);
    EXPECT_EQ(0.25 * 9, first.data->time);
    EXPECT_EQ(0, cv::norm(original.data->image, first.data->image, cv::NORM_INF));

    first.data->image.setTo(cv::Scalar(255, 255, 255));
    EXPECT_EQ(cv::Vec3b(10, 20, 30), original.data->image.at<cv::Vec3b>(0, 0));
    EXPECT_EQ(cv::Vec3b(10, 20, 30), second.data->image.at<cv::Vec3b>(0, 0));
}

TEST_F(TeeElementTest, OneCopyPerFrameOnAConnectedClone)
{
    Connect(2);
    for (std::int64_t number = 0; number < 3; ++number) {
        pads.Pass(MakeFrame(number));
        ASSERT_EQ(1, Clone(2)->queue.Count());
        EXPECT_EQ(number, Clone(2)->GetData().data->frame_number);
        EXPECT_EQ(0, Clone(2)->queue.Count());
    }
}

}  // namespace
