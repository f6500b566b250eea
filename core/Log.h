#pragma once
// The line builder of the leveled logger: one temporary per log statement collects a
// line and hands it to the output policy T when it is destroyed. Use FILE_LOG from
// core/FILELog.h rather than this template directly.

#include <sstream>
#include <string>

#include "core/Utilities.h"

enum TLogLevel { logERROR, logWARNING, logINFO, logDEBUG, logDEBUG1, logDEBUG2, logDEBUG3, logDEBUG4 };

// The current local time as "YYYY-MM-DD.HH:MM:SS" (19 characters, locale-independent).
std::string NowTime();

template <typename T>
class Log {
public:
    Log() { os.imbue(std::locale::classic()); }
    virtual ~Log();
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;

    // Writes the line header for the level and returns the stream for the message.
    std::ostringstream& Get(TLogLevel level = logINFO);

    static int& ReportingLevel();
    static std::string ToString(TLogLevel level);

protected:
    std::ostringstream os;
};

template <typename T>
Log<T>::~Log()
{
    os << std::endl;
    T::Output(os.str());
}

template <typename T>
std::ostringstream& Log<T>::Get(TLogLevel level)
{
    std::string header = "[" + NowTime() + "][" + ToString(level) + "] ";
    PadRight(header, 29);
    os << header << " ";
    return os;
}

template <typename T>
int& Log<T>::ReportingLevel()
{
    static int reporting_level = logDEBUG4;
    return reporting_level;
}

template <typename T>
std::string Log<T>::ToString(TLogLevel level)
{
    static const char* const names[] = {"ERROR",  "WARNING", "INFO",   "DEBUG",
                                        "DEBUG1", "DEBUG2",  "DEBUG3", "DEBUG4"};
    const int index = static_cast<int>(level);
    if (index < 0 || index >= static_cast<int>(sizeof(names) / sizeof(names[0])))
        return "UNKNOWN";
    return names[index];
}
