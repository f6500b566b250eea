// Maker of the element class T, which is built with the hub as its only argument.
#pragma once

#include "control/ElementMakerInterface.h"
#include "engine/ElementBase.h"

#include <boost/shared_ptr.hpp>

#include <string>
#include <utility>

class ControlAndStatus;

template <typename T>
class ElementMaker : public ElementMakerInterface {
public:
    ElementMaker(std::string name, boost::shared_ptr<ControlAndStatus> shared_controls,
                 std::string description, std::string category)
        : shared_controls_(std::move(shared_controls)), name_(std::move(name)),
          category_(std::move(category)), description_(std::move(description))
    {
    }

    boost::shared_ptr<ElementBase> Make() override
    {
        boost::shared_ptr<ElementBase> element = boost::shared_ptr<T>(new T(shared_controls_));
        element->SetDescription(description_);
        element->SetType(name_);
        element->category.Set(category_);
        return element;
    }

    std::string GetName() override { return name_; }
    std::string GetCategory() override { return category_; }
    std::string GetDescription() override { return description_; }

private:
    const boost::shared_ptr<ControlAndStatus> shared_controls_;
    const std::string name_;
    const std::string category_;
    const std::string description_;
};
