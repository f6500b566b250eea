#include "core/StructureBase.h"

#include <ctime>

StructureBase::StructureBase() : creation_time(static_cast<std::int64_t>(std::time(nullptr))) {}

StructureBase::StructureBase(const StructureBase& other)
    : texts(other.texts), creation_time(static_cast<std::int64_t>(std::time(nullptr)))
{
}

StructureBase& StructureBase::operator=(const StructureBase& other)
{
    texts = other.texts;
    return *this;
}

StructureBase::~StructureBase() = default;
