// The process-wide convertor registry, filled once at the first lookup and only read
// afterwards. Rows of the plain value types come first, then the rows of the system's
// own types (RegisterOwnTypeSettingsConvertors, in OwnTypeSettingsConvertors.cpp).
#pragma once

#include "core/SettingsConvertorInterface.h"

#include <boost/shared_ptr.hpp>

#include <vector>

using SettingsConvertorList = std::vector<boost::shared_ptr<SettingsConvertorInterface>>;

// Fills the registry on the first call (once, whichever threads ask), then returns it
// in lookup order. It lives until process exit.
const SettingsConvertorList& GetSettingsConvertors();

// Appends every row in registration order: the plain and thread-safe convertors of the
// fourteen value types, then the system's own types.
void RegisterSettingsConvertors(SettingsConvertorList& registry);

// Appends the rows of the system's own types and control records, after the plain rows.
void RegisterOwnTypeSettingsConvertors(SettingsConvertorList& registry);

// Appends one row: a new Convertor, owned by the registry.
template <typename Convertor>
void RegisterSettingsConvertor(SettingsConvertorList& registry)
{
    registry.push_back(boost::shared_ptr<SettingsConvertorInterface>(new Convertor));
}
