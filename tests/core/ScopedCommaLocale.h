// While alive, the process's global C++ locale writes numbers with a decimal comma and
// grouped thousands, as a user's locale (set by Qt on Linux) may; the previous global
// locale comes back when it goes. Each test owns the one it makes.
#pragma once

#include <locale>
#include <string>

class ScopedCommaLocale {
public:
    ScopedCommaLocale()
        : previous_(std::locale::global(std::locale(std::locale::classic(), new CommaDecimal)))
    {
    }
    ~ScopedCommaLocale() { std::locale::global(previous_); }
    ScopedCommaLocale(const ScopedCommaLocale&) = delete;
    ScopedCommaLocale& operator=(const ScopedCommaLocale&) = delete;

private:
    struct CommaDecimal : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
        char do_thousands_sep() const override { return '.'; }
        std::string do_grouping() const override { return "\3"; }
    };

    std::locale previous_;
};
