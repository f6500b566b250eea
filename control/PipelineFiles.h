// File handling of the pipeline store: which names may name a pipeline file, where the
// file lives, and reading and writing it safely. Names arrive from remote clients, so
// nothing here touches a path outside the per-user folder. Stateless.
#pragma once

#include <QByteArray>

#include <string>

// Longest pipeline file the store reads.
constexpr long long kMaxPipelineFileBytes = 16LL * 1024 * 1024;

// False for a name that is empty, longer than 255 bytes, not UTF-8, starts with ".",
// or holds "/", "\\", "..", a NUL or another control character.
bool IsSafePipelineName(const std::string& name);

// The per-user folder + name + ".xml"; throws CustomException for an unsafe name.
std::string PipelineFilePath(const std::string& name);

// Writes the content to a temporary file beside the path and puts it in place only when
// every byte was written; the old file stays otherwise. A symbolic link at the path is
// refused (writing would follow it out of the folder). Returns whether it succeeded.
bool WriteFileReplacing(const std::string& path, const QByteArray& content);

// Whether the path itself is a symbolic link (not followed).
bool IsSymbolicLink(const std::string& path);

// The content of a regular file of at most max_bytes; false (content empty) when the file
// is missing, a symbolic link, not a plain file, unreadable or larger.
bool ReadFileBounded(const std::string& path, long long max_bytes, QByteArray& content);
