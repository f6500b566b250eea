#pragma once
// The system's log statement: FILE_LOG(logERROR) << "text " << value;
// The message is only evaluated when the level is reported and the log stream is good.

#include "core/Log.h"
#include "core/Output2FILE.h"

class FILELog : public Log<Output2FILE> {};

// A one-pass loop rather than if/else, so that the statement nests safely in an
// unbraced if. The line is emitted when the temporary dies at the end of the statement.
#define FILE_LOG(level)                                                                                      \
    for (bool file_log_pending_ = (level) <= FILELog::ReportingLevel() && Output2FILE::IsGood();             \
         file_log_pending_; file_log_pending_ = false)                                                       \
    FILELog().Get(level)
