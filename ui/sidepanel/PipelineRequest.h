#pragma once
// Runs one request of a side-bar widget to the pipeline file store through the hub's
// signals. The store throws when a request fails; the failure must not leave a Qt slot,
// so it ends here, with its line in the log.

#include "core/CustomException.h"
#include "core/FILELog.h"

#include <exception>

template <typename Request>
void RunPipelineRequest(const Request& request) noexcept
{
    try {
        request();
    } catch (const CustomException&) {
        // Already logged when it was made.
    } catch (const std::exception& error) {
        FILE_LOG(logERROR) << "Pipeline request failed : " << error.what();
    }
}
