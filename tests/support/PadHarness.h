// The filter harness: drives one element through its real pads, as connections would.
// It marks the chosen input and output pads joined (as a connection does when it is
// made), hands each item to the input pad's PassData on the test's thread, and takes
// what the element queued on its output pad on a thread of its own, as the downstream
// connection does. The element belongs to the test and must outlive the harness.
#pragma once

#include <chrono>
#include <exception>
#include <stdexcept>
#include <string>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>
#include <boost/shared_ptr.hpp>
#include <boost/thread/thread.hpp>
#include <gtest/gtest.h>

#include "core/PassableItem.h"
#include "core/VideoFrame.h"
#include "engine/ElementBase.h"
#include "engine/PadBase.h"
#include "engine/Sink.h"
#include "engine/Source.h"

namespace testsupport {

template <typename T = VideoFrame>
class PadHarness {
public:
    // An empty output name drives an element that has no output (a sink).
    explicit PadHarness(ElementBase& element, const std::string& input = "input",
                        const std::string& output = "output")
        : element_(element), sink_(PadOf<Sink<T>>(element.GetInputByName(input), input))
    {
        if (!output.empty())
            source_ = PadOf<Source<T>>(element.GetOutputByName(output), output);
        Join(*sink_, "harness source", "output");
        if (source_)
            Join(*source_, "harness sink", "input");
    }

    ~PadHarness()
    {
        Leave(*sink_);
        if (source_)
            Leave(*source_);
    }

    PadHarness(const PadHarness&) = delete;
    PadHarness& operator=(const PadHarness&) = delete;

    // What "start" does for this element: both pads reset, then the element.
    void Start()
    {
        sink_->Reset();
        if (source_)
            source_->Reset();
        element_.Reset();
        element_.Start();
    }

    // Hands the item to the input pad; a connection hands on valid items only.
    void Push(PassableItem<T> item)
    {
        ASSERT_TRUE(item.IsValid()) << "a connection never hands on an invalid item";
        sink_->PassData(item);
    }

    // The next item of the output pad, waiting at most `wait`; invalid when none came.
    // What the pad throws is thrown here.
    PassableItem<T> Take(std::chrono::milliseconds wait = std::chrono::seconds(5))
    {
        if (!source_)
            throw std::logic_error("the harness drives no output pad");
        PassableItem<T> taken;
        std::exception_ptr failure;
        boost::thread reader([&] {
            try {
                taken = source_->GetData();
            } catch (const boost::thread_interrupted&) {
            } catch (...) {
                failure = std::current_exception();
            }
        });
        if (!reader.try_join_for(boost::chrono::milliseconds(wait.count()))) {
            reader.interrupt();
            reader.join();
        }
        if (failure)
            std::rethrow_exception(failure);
        return taken;
    }

    // The item as the next element would receive it. When nothing comes the test fails
    // and gets an empty payload, so it can go on checking without a crash.
    PassableItem<T> Pass(PassableItem<T> item)
    {
        Push(item);
        PassableItem<T> taken = Take();
        if (taken.IsValid())
            return taken;
        ADD_FAILURE() << "the element put nothing on its output pad";
        return PassableItem<T>(boost::make_shared<T>());
    }

    Sink<T>& Input() { return *sink_; }
    Source<T>& Output() { return *source_; }

private:
    template <typename Pad, typename Base>
    static boost::shared_ptr<Pad> PadOf(const boost::shared_ptr<Base>& pad, const std::string& name)
    {
        boost::shared_ptr<Pad> typed = boost::dynamic_pointer_cast<Pad>(pad);
        if (!typed)
            throw std::invalid_argument("pad \"" + name + "\" does not carry " + T::GetTypeName());
        return typed;
    }

    static void Join(PadBase& pad, const std::string& peer_id, const std::string& peer_pad)
    {
        pad.held.Set(true);
        pad.peer_element_id.Set(peer_id);
        pad.peer_pad_name.Set(peer_pad);
    }

    static void Leave(PadBase& pad)
    {
        pad.held.Set(false);
        pad.peer_element_id.Set("");
        pad.peer_pad_name.Set("");
    }

    ElementBase& element_;
    boost::shared_ptr<Sink<T>> sink_;
    boost::shared_ptr<Source<T>> source_;
};

}  // namespace testsupport
