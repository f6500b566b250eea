// Turns a catalogue name and an optional id into a new element, through the element
// registry. It does not add the element to any table. The commander owns one, built
// with its own element table as the id table, and uses it on the GUI thread only.
#pragma once

#include "control/ElementIdMaker.h"

#include <boost/shared_ptr.hpp>

#include <string>

class ElementBase;
class ElementTable;

class ElementFactory {
public:
    // id_table: the table whose ids a made id avoids (see ElementIdMaker); may be null.
    explicit ElementFactory(const ElementTable* id_table);

    // Makes the element of the first registry maker named exactly name. An empty id or
    // "no_id_given" means none was given: a unique id is made and written back into id.
    // A given id is used unchanged. Throws CustomException "Could not make element : "
    // + name when no maker has the name or the element's constructor failed (the latter
    // also logs "... is this resource in use?").
    boost::shared_ptr<ElementBase> MakeElement(const std::string& name, std::string& id);

private:
    ElementIdMaker id_maker_;
};
