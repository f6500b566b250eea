// Kept apart from the other convertor tests: it must make the process's first lookup.
#include "core/SettingsConvertors.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

TEST(SettingsConvertorRegistryTest, ConcurrentFirstLookupsFillItOnce)
{
    SettingsConvertorList expected;
    RegisterSettingsConvertors(expected);

    const int threads = 8;
    std::vector<const SettingsConvertorList*> seen(threads, nullptr);
    std::vector<std::size_t> sizes(threads, 0);
    std::vector<std::thread> lookups;
    for (int t = 0; t < threads; ++t) {
        lookups.emplace_back([&, t] {
            seen[t] = &GetSettingsConvertors();
            sizes[t] = seen[t]->size();
        });
    }
    for (std::thread& lookup : lookups)
        lookup.join();
    for (int t = 0; t < threads; ++t) {
        EXPECT_EQ(seen[t], seen[0]);
        EXPECT_EQ(sizes[t], expected.size());
    }
    EXPECT_EQ(GetSettingsConvertors().size(), expected.size());
    EXPECT_GE(expected.size(), 28u);
}

}  // namespace
