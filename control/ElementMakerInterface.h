// A maker of one element type of the catalogue: its catalogue name, category and
// description, and a way to make a new element of the type. Makers never change after
// construction and are shared between the catalogue and the element registry.
#pragma once

#include <boost/shared_ptr.hpp>

#include <string>

class ElementBase;

class ElementMakerInterface {
public:
    virtual ~ElementMakerInterface() = default;
    // A new element with its type, description and category set and no id yet.
    // Exceptions of the element's constructor pass to the caller.
    virtual boost::shared_ptr<ElementBase> Make() = 0;
    virtual std::string GetName() = 0;
    virtual std::string GetCategory() = 0;
    virtual std::string GetDescription() = 0;
};
