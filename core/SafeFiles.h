// Reading and writing files in the per-user folder without trusting what lies at their paths:
// no link is followed, only regular files are read or replaced, reads are bounded, and a
// replacement goes through a temporary file beside the old one, so a failed write leaves the
// old file whole. Names that arrive from outside are checked before they become paths.
// Stateless.
#pragma once

#include <QByteArray>

#include <string>

// False for a name that is empty, longer than 255 bytes, not UTF-8, starts with ".",
// or holds "/", "\\", "..", a NUL or another control character.
bool IsSafeFileName(const std::string& name);

// Whether anything, a dangling link included, lies at the path (links are not followed).
bool PathExists(const std::string& path);

// Whether the path itself is a symbolic link (not followed).
bool IsSymbolicLink(const std::string& path);

// Writes the content to a temporary file beside the path, flushed to disk, and puts it in
// place only when every byte was written; the old file stays otherwise. Anything but a
// regular file at the path is refused: a link (writing would follow it out of the folder),
// a FIFO or device (opening one may block), a folder. Returns whether it succeeded.
bool WriteFileReplacing(const std::string& path, const QByteArray& content);

// The content of a regular file of at most max_bytes, read as ReadRegularFile reads it;
// false (content empty) when the file is missing, a symbolic link, not a plain file,
// unreadable or larger. Never blocks on a FIFO or device.
bool ReadFileBounded(const std::string& path, long long max_bytes, QByteArray& content);
