// Where the pipeline store's files live and the bounds of what they may hold; reading and
// writing them safely comes from the core's file helpers. Names arrive from remote clients,
// so nothing here touches a path outside the per-user folder. Stateless.
//
// The bounds lie far beyond any pipeline that the element cap allows, and keep a load's
// work in proportion to the file's size: a file beyond one is refused before anything of
// it is made, and a save that would write one is refused, so what is saved loads back.
#pragma once

#include "core/SafeFiles.h"

#include <string>

// Longest pipeline file the store reads.
constexpr long long kMaxPipelineFileBytes = 16LL * 1024 * 1024;
// Elements of a pipeline, in a file (children of "top") and in the commander's table: a
// load of more would hold the window for many seconds.
constexpr int kMaxPipelineElements = 20000;
// Attributes of one tag; the file's tags have at most four. Checking a tag's attributes
// for repeats takes time in the square of their number.
constexpr int kMaxPipelineTagAttributes = 32;
// Children of one element's entry; the largest element has under twenty settings and a
// connection per pad.
constexpr int kMaxPipelineEntryChildren = 256;
// Tags in the whole file: twenty-five for each element that the cap allows. A file of
// real elements reaches the byte bound first.
constexpr int kMaxPipelineTags = 25 * kMaxPipelineElements;
// Nesting of tags; the file's own go three deep.
constexpr int kMaxPipelineDepth = 64;

// The per-user folder + name + ".xml"; throws CustomException for a name that IsSafeFileName
// refuses.
std::string PipelineFilePath(const std::string& name);
