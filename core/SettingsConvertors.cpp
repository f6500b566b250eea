#include "core/SettingsConvertors.h"

#include "core/SettingsConvertor.h"
#include "core/SettingsConvertorThreadSafe.h"

#include <string>

namespace {

template <typename T>
void RegisterBothFamilies(SettingsConvertorList& registry)
{
    RegisterSettingsConvertor<SettingsConvertor<T>>(registry);
    RegisterSettingsConvertor<SettingsConvertorThreadSafe<T>>(registry);
}

SettingsConvertorList* MakeRegistry()
{
    auto* registry = new SettingsConvertorList;
    RegisterSettingsConvertors(*registry);
    return registry;
}

}  // namespace

const SettingsConvertorList& GetSettingsConvertors()
{
    // Built once under the language's static-initialisation guard, so two first lookups
    // cannot both fill it; never destroyed, so lookups during process exit stay valid.
    static const SettingsConvertorList* const registry = MakeRegistry();
    return *registry;
}

void RegisterSettingsConvertors(SettingsConvertorList& registry)
{
    RegisterBothFamilies<float>(registry);
    RegisterBothFamilies<double>(registry);
    RegisterBothFamilies<int>(registry);
    RegisterBothFamilies<long>(registry);
    RegisterBothFamilies<unsigned long long>(registry);
    RegisterBothFamilies<unsigned int>(registry);
    RegisterBothFamilies<unsigned long>(registry);
    RegisterBothFamilies<long long>(registry);
    RegisterBothFamilies<short>(registry);
    RegisterBothFamilies<unsigned short>(registry);
    RegisterBothFamilies<char>(registry);
    RegisterBothFamilies<unsigned char>(registry);
    RegisterBothFamilies<bool>(registry);
    RegisterBothFamilies<std::string>(registry);
    RegisterOwnTypeSettingsConvertors(registry);
}
