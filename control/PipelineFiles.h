// Where the pipeline store's files live and how large they may be; reading and writing them
// safely comes from the core's file helpers. Names arrive from remote clients, so nothing
// here touches a path outside the per-user folder. Stateless.
#pragma once

#include "core/SafeFiles.h"

#include <string>

// Longest pipeline file the store reads.
constexpr long long kMaxPipelineFileBytes = 16LL * 1024 * 1024;

// The per-user folder + name + ".xml"; throws CustomException for a name that IsSafeFileName
// refuses.
std::string PipelineFilePath(const std::string& name);
