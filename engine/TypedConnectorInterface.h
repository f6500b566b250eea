// Builds connections for one payload type. The ConnectionManager owns one
// connector per type and tries them in order until one recognises both pads.
#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "engine/LooperInterface.h"
#include "engine/SinkBase.h"
#include "engine/SourceBase.h"

class TypedConnectorInterface {
public:
    explicit TypedConnectorInterface(std::string type_name) : type_name_(std::move(type_name)) {}
    virtual ~TypedConnectorInterface() = default;

    virtual std::string GetTypeName() = 0;
    // A new, unstarted connection, or an empty pointer when the pads do not
    // both carry this connector's type.
    virtual boost::shared_ptr<LooperInterface> Connect(boost::shared_ptr<SourceBase> source,
                                                       boost::shared_ptr<SinkBase> sink) = 0;

protected:
    std::string type_name_;
};
