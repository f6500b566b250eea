// A sink that drops whatever it gets; the element tester ends every video
// output of the element under test with one.
#pragma once

#include <boost/shared_ptr.hpp>

#include "engine/ElementInput.h"

class ControlAndStatus;

template <typename T>
class FakeSink : public ElementInput<T> {
public:
    explicit FakeSink(boost::shared_ptr<ControlAndStatus> context) : ElementInput<T>(context) {}

    void ConsumeData(PassableItem<T> item) override {}
};
