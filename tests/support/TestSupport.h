#pragma once
// Helpers shared by the tests: a temporary folder that removes itself, and a
// bounded wait on a condition (the deadline only guards against a hang).

#include <chrono>
#include <functional>
#include <string>

namespace testsupport {

// How many times slower a sanitizer build runs: the factor for a test's timing bound.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr int kSanitizerSlowdown = 10;
#else
constexpr int kSanitizerSlowdown = 1;
#endif

// A fresh folder under the system's temporary folder, removed with its contents on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Path of a file inside the folder.
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Sets HOME to a temporary folder for the lifetime of the object and restores it afterwards.
class ScopedHome {
public:
    ScopedHome();
    ~ScopedHome();
    ScopedHome(const ScopedHome&) = delete;
    ScopedHome& operator=(const ScopedHome&) = delete;

    const std::string& Path() const { return dir_.Path(); }

private:
    TempDir dir_;
    std::string old_home_;
    bool had_home_;
};

// Works in <temp>/work for the lifetime of the object, so a path relative to the working
// folder ("../stylesheet.css") lands in <temp>; restores the old folder afterwards.
class ScopedWorkFolder {
public:
    ScopedWorkFolder();
    ~ScopedWorkFolder();
    ScopedWorkFolder(const ScopedWorkFolder&) = delete;
    ScopedWorkFolder& operator=(const ScopedWorkFolder&) = delete;

    // The folder that holds "work".
    const TempDir& Root() const { return dir_; }

private:
    TempDir dir_;
    std::string old_folder_;
};

// Polls the condition until it holds or the deadline passes; returns whether it held.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds deadline = std::chrono::seconds(20));

}  // namespace testsupport
