#include "support/TestSupport.h"

#include <filesystem>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace testsupport {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("could not create a temporary folder");
    }
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

ScopedHome::ScopedHome()
{
    const char* home = std::getenv("HOME");
    had_home_ = home != nullptr;
    if (had_home_) {
        old_home_ = home;
    }
    setenv("HOME", dir_.Path().c_str(), 1);
}

ScopedHome::~ScopedHome()
{
    if (had_home_) {
        setenv("HOME", old_home_.c_str(), 1);
    } else {
        unsetenv("HOME");
    }
}

ScopedWorkFolder::ScopedWorkFolder() : old_folder_(std::filesystem::current_path().string())
{
    const std::string work = dir_.File("work");
    std::filesystem::create_directory(work);
    std::filesystem::current_path(work);
}

ScopedWorkFolder::~ScopedWorkFolder()
{
    std::error_code ignored;
    std::filesystem::current_path(old_folder_, ignored);
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

}  // namespace testsupport
