// The catalogue of the eighteen element types the user can make, in catalogue order.
// Owned by the commander, which copies its makers into the element registry.
#pragma once

#include "control/ElementMaker.h"
#include "control/ElementRegistry.h"

#include <boost/shared_ptr.hpp>

#include <string>

class ControlAndStatus;

class UserRegisteredTypes {
public:
    // Fills the catalogue; every maker hands the hub to the elements it makes.
    explicit UserRegisteredTypes(boost::shared_ptr<ControlAndStatus> shared_controls);

    // The category the next registered maker receives.
    void SetCategory(const std::string& category);

    template <typename T>
    void AddElement(const std::string& name, const std::string& description)
    {
        makers_.push_back(boost::shared_ptr<ElementMakerInterface>(
            new ElementMaker<T>(name, shared_controls_, description, current_category_)));
    }

    ElementMakerList GetMakers() const;

private:
    void RegisterTypes();

    ElementMakerList makers_;
    boost::shared_ptr<ControlAndStatus> shared_controls_;
    std::string current_category_;
};
