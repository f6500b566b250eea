// Runs a test's checks in a child process that the system ends when it takes longer than a
// few seconds or grows by more than a gigabyte, so code that blocks or reads without end
// fails the test instead of hanging it or exhausting the machine. A child may also lower its
// own limits (file size, say) without touching the test program.
#pragma once

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>

namespace testsupport {

// The child's body: bounded, then the checks; exits 0 only when none of them failed.
inline void RunBounded(const std::function<void()>& checks)
{
    alarm(5 * kSanitizerSlowdown);
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t grown =
        static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (1ULL << 30);
    const rlimit memory{grown, grown};
    setrlimit(RLIMIT_AS, &memory);
    checks();
    std::fflush(nullptr);
    // No exit handlers: the child's result is its checks alone.
    _exit(::testing::Test::HasFailure() ? 1 : 0);
}

// Lowers the file-size limit of the process for its lifetime, with SIGXFSZ ignored, so a
// write past it fails as on a full disk; for a child of RunBounded only. Restored afterwards,
// so the child's own output is not cut.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes)
    {
        signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit lowered = old_;
        lowered.rlim_cur = bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &lowered), 0);
    }
    ~ScopedFileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    rlimit old_{};
};

}  // namespace testsupport

// The checks run in a fresh child process of the test program, bounded as above.
#define EXPECT_BOUNDED_IN_CHILD(checks)                                                                      \
    do {                                                                                                     \
        GTEST_FLAG_SET(death_test_style, "threadsafe");                                                      \
        EXPECT_EXIT(::testsupport::RunBounded(checks), ::testing::ExitedWithCode(0), "");                    \
    } while (false)
