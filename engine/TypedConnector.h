// The connector for payload type T: joins a Source<T> to a Sink<T> with a
// Looper<T>. Owned by the ConnectionManager, which owns the Loopers it makes.
#pragma once

#include <string>

#include <boost/pointer_cast.hpp>
#include <boost/shared_ptr.hpp>

#include "engine/Looper.h"
#include "engine/TypedConnectorInterface.h"

class ControlAndStatus;

template <typename T>
class TypedConnector final : public TypedConnectorInterface {
public:
    TypedConnector(std::string type_name, boost::shared_ptr<ControlAndStatus> context)
        : TypedConnectorInterface(std::move(type_name)), context_(std::move(context))
    {
    }

    std::string GetTypeName() override { return type_name_; }

    boost::shared_ptr<LooperInterface> Connect(boost::shared_ptr<SourceBase> source,
                                               boost::shared_ptr<SinkBase> sink) override
    {
        if (!boost::dynamic_pointer_cast<Source<T>>(source) || !boost::dynamic_pointer_cast<Sink<T>>(sink))
            return boost::shared_ptr<LooperInterface>();
        boost::shared_ptr<Looper<T>> looper(new Looper<T>(source, sink, context_));
        return looper;
    }

private:
    boost::shared_ptr<ControlAndStatus> context_;
};
