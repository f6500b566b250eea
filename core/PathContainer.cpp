#include "core/PathContainer.h"

PathContainer::~PathContainer() = default;

std::string PathContainer::GetTypeName()
{
    return "Path";
}
