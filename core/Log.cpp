#include "core/Log.h"

#include <ctime>

std::string NowTime()
{
    // A fixed numeric layout: "%X" would follow the user's locale and break the line layout.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[80];
    const std::size_t length = std::strftime(buffer, sizeof(buffer), "%Y-%m-%d.%H:%M:%S", &local);
    return std::string(buffer, length);
}
