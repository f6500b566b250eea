// Base of every internal pipe, so that code holding pipes of several payload
// types can keep them in one list and cast each to its typed InternalPipe<T>
// (a failed cast means another payload type). Pipes are held by shared pointer.
#pragma once

#include <string>

#include "core/ParameterContainer.h"

class PipeBase_ {
public:
    PipeBase_() = default;
    virtual ~PipeBase_() = default;
    PipeBase_(const PipeBase_&) = delete;
    PipeBase_& operator=(const PipeBase_&) = delete;

    std::string GetName() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    std::string GetDescription() const { return description_; }
    void SetDescription(const std::string& description) { description_ = description; }
    ParameterContainer& GetSettings() { return settings_; }

protected:
    // Items a push leaves in place before it appends, so a pipe holds at
    // most limit + 1 items.
    static constexpr int kLimit = 3;

private:
    // Written before the pipe is shared, only read afterwards.
    std::string name_;
    std::string description_;
    ParameterContainer settings_;
};
