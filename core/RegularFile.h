// Safe access to files named from outside (a setting, a command over TCP, a loaded
// pipeline): a FIFO or a device must not hold the caller's thread, and a link must not
// send a read or a write elsewhere. Each file is opened once, without blocking and
// without following a link in its last component, and only what turns out to be a
// regular file is read or written; the caller owns the bytes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Why a file was not used; kNone when it was.
enum class FileProblem { kNone, kCannotOpen, kNotRegular, kTooLarge, kReadFailed, kWriteFailed };

// The outcome of an access, with the system's error number when a call failed.
struct FileOutcome {
    FileProblem problem = FileProblem::kNone;
    int error = 0;

    bool Ok() const { return problem == FileProblem::kNone; }
    // For the log: "Not a regular file", "File too large", or the system's error text.
    std::string Describe() const;
};

// Asks the file system about the path, after links, without opening it.
bool IsRegularFile(const std::string& path);

// A read-only descriptor of the regular file at the path, for the caller to close; -1
// when the outcome is not Ok.
int OpenRegularFileForReading(const std::string& path, FileOutcome& outcome);

// The whole content of the regular file at the path, if it holds at most max_bytes.
FileOutcome ReadRegularFile(const std::string& path, std::size_t max_bytes,
                            std::vector<unsigned char>& bytes);

// Replaces the content of the regular file at the path with the bytes, making the file
// (mode 0666 less the umask) when there is none.
FileOutcome WriteRegularFile(const std::string& path, const std::vector<unsigned char>& bytes);

// Makes a new regular file (mode 0666 less the umask) at the path holding the bytes. Whatever
// is at the path already, a link included, is left alone: the outcome is then kCannotOpen
// with EEXIST. A file that could not be written whole is removed again.
FileOutcome CreateRegularFile(const std::string& path, const std::vector<unsigned char>& bytes);
