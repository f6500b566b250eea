// A running pipeline for the elements with an extra input: a picture source feeds a Tee
// whose "output" goes to a counting branch and whose "cloned output 0" the test joins to
// the extra input under test (directly, or through more elements). Should that input hold
// its feed back, the Tee stops and the branch receives nothing more. Real connections
// through a real ConnectionManager; the pipeline owns its elements and stops first.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>
#include <gtest/gtest.h>
#include <opencv2/core.hpp>

#include "core/ControlAndStatus.h"
#include "core/VideoFrame.h"
#include "elements/TeeElement.h"
#include "engine/ConnectionManager.h"
#include "engine/ConnectionTestElements.h"
#include "engine/ElementInput.h"
#include "engine/ElementOutput.h"
#include "support/FrameMaker.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

namespace teebranch {

// Numbered black pictures, as many as are asked for.
class PictureSource : public ElementOutput<VideoFrame> {
public:
    using ElementOutput<VideoFrame>::ElementOutput;
    PassableItem<VideoFrame> MakeData() override
    {
        return testsupport::MakeFrame(cv::Mat(24, 32, CV_8UC3, cv::Scalar::all(0)), next_++);
    }

private:
    std::int64_t next_ = 0;  // connection thread only
};

class CountingBranch : public ElementInput<VideoFrame> {
public:
    using ElementInput<VideoFrame>::ElementInput;
    void ConsumeData(PassableItem<VideoFrame>) override { ++count; }
    std::atomic<int> count{0};
};

class TeeBranch {
public:
    TeeBranch()
    {
        source = Add<PictureSource>("Frames_0");
        tee = Add<TeeElement>("Tee_0");
        branch = Add<CountingBranch>("Branch_0");
        Connect(source, "output", tee, "input");
        Connect(tee, "output", branch, "input");
    }
    ~TeeBranch() { manager_.StopAll(); }
    TeeBranch(const TeeBranch&) = delete;
    TeeBranch& operator=(const TeeBranch&) = delete;

    // Makes an element that the pipeline keeps until it has gone.
    template <typename E>
    boost::shared_ptr<E> Add(const std::string& id)
    {
        auto element = boost::make_shared<E>(hub);
        element->SetId(id);
        elements_.push_back(element);
        return element;
    }

    void Connect(const boost::shared_ptr<ElementBase>& from, const std::string& output,
                 const boost::shared_ptr<ElementBase>& to, const std::string& input)
    {
        bool connected = false;
        manager_.Connect(from->GetOutputByName(output), to->GetInputByName(input), &connected, from, to);
        EXPECT_TRUE(connected) << from->GetId() << " " << output << " -> " << to->GetId() << " " << input;
    }

    // Whether the branch receives `more` frames beyond those it has had before the deadline,
    // which only guards against a pipeline that has stopped.
    bool BranchKeepsReceiving(int more = 50, std::chrono::milliseconds deadline = std::chrono::seconds(20))
    {
        const int target = branch->count.load() + more;
        return testsupport::WaitFor([&] { return branch->count.load() >= target; }, deadline);
    }

    ConnectionManager& Manager() { return manager_; }

    boost::shared_ptr<ControlAndStatus> hub = boost::make_shared<ControlAndStatus>();
    boost::shared_ptr<PictureSource> source;
    boost::shared_ptr<TeeElement> tee;
    boost::shared_ptr<CountingBranch> branch;

private:
    std::vector<boost::shared_ptr<ElementBase>> elements_;
    // After the elements: the connections go before the elements they join.
    ConnectionManager manager_{hub};
};

// The element `id` of type E, its extra input joined to the Tee by join_extra and its
// main input called main_input. Wired extra input first, the Tee's other branch goes on
// receiving frames, and the element says once which input it waits for. With a main
// feed that stalls, the extra input holds the Tee back, as it should; removing that
// feed while running lets the Tee go on.
template <typename E>
void ExpectALoneExtraInputLetsTheTeeRun(
    const std::string& id, const std::string& main_input,
    const std::function<void(TeeBranch&, const boost::shared_ptr<E>&)>& join_extra)
{
    {
        SCOPED_TRACE("only the extra input connected");
        TeeBranch pipeline;
        auto element = pipeline.Add<E>(id);
        join_extra(pipeline, element);
        LogCapture log;
        pipeline.Manager().StartAll();
        EXPECT_TRUE(pipeline.BranchKeepsReceiving());
        pipeline.Manager().StopAll();
        EXPECT_EQ(1, log.LinesWith("[WARNING]"));
        EXPECT_EQ(1, log.LinesWith(id + ": waiting for \"" + main_input + "\" to be connected"))
            << log.Text();
    }
    {
        SCOPED_TRACE("main feed removed while running");
        TeeBranch pipeline;
        auto element = pipeline.Add<E>(id);
        auto main_feed = pipeline.Add<QueueSource>("Main_0");
        join_extra(pipeline, element);
        pipeline.Connect(main_feed, "output", element, main_input);
        pipeline.Manager().StartAll();
        for (int n = 0; n < 3; ++n)
            main_feed->queue.Push(testsupport::MakeFrame(cv::Mat(24, 32, CV_8UC3, cv::Scalar::all(0)), n));
        // The main feed has stopped: the extra input waits for it, and so does the Tee.
        EXPECT_FALSE(pipeline.BranchKeepsReceiving(50, std::chrono::milliseconds(100)));
        pipeline.Manager().DisconnectPair("Main_0", id);
        EXPECT_TRUE(pipeline.BranchKeepsReceiving());
    }
}

}  // namespace teebranch
