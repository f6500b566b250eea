#include "control/ElementFactory.h"

#include "control/ElementRegistry.h"
#include "core/CustomException.h"
#include "core/FILELog.h"
#include "engine/ElementBase.h"

ElementFactory::ElementFactory(const ElementTable* id_table) : id_maker_(id_table) {}

boost::shared_ptr<ElementBase> ElementFactory::MakeElement(const std::string& name, std::string& id)
{
    boost::shared_ptr<ElementBase> element;
    for (const boost::shared_ptr<ElementMakerInterface>& maker : GetElementRegistry()) {
        if (maker->GetName() != name)
            continue;
        try {
            element = maker->Make();
        } catch (...) {
            FILE_LOG(logERROR) << "Exception thrown when constructing element " << name
                               << " is this resource in use?";
        }
        break;
    }
    if (!element)
        throw CustomException("Could not make element : " + name);

    if (id.empty() || id == "no_id_given")
        id = id_maker_.MakeUniqueId(name);
    element->SetId(id);
    element->SetType(name);
    return element;
}
