#include "core/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace {

const int kNoFollowNoBlock = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;

// An open that fails on a link (ELOOP), a FIFO without a reader or a socket (ENXIO)
// or a folder opened for writing (EISDIR) met something that is not a regular file.
FileOutcome OpenFailure(int error)
{
    const bool not_regular = error == ELOOP || error == ENXIO || error == EISDIR;
    return FileOutcome{not_regular ? FileProblem::kNotRegular : FileProblem::kCannotOpen, error};
}

// Checks what the descriptor refers to (status: what fstat told); closes it unless it is
// a regular file.
int KeepRegular(int descriptor, FileOutcome& outcome, struct stat& status)
{
    if (fstat(descriptor, &status) != 0)
        outcome = FileOutcome{FileProblem::kCannotOpen, errno};
    else if (!S_ISREG(status.st_mode))
        outcome = FileOutcome{FileProblem::kNotRegular, 0};
    else
        return descriptor;
    ::close(descriptor);
    return -1;
}

// Reads to the end, one byte past max_bytes at most so that a file grown since its
// size was taken is seen.
FileOutcome ReadAll(int descriptor, std::size_t max_bytes, std::size_t expected,
                    std::vector<unsigned char>& bytes)
{
    bytes.resize(std::min(expected, max_bytes) + 1);
    std::size_t total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > max_bytes)
                return FileOutcome{FileProblem::kTooLarge, 0};
            bytes.resize(std::min(bytes.size() * 2, max_bytes + 1));
        }
        const ssize_t n = ::read(descriptor, bytes.data() + total, bytes.size() - total);
        if (n == 0)
            break;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return FileOutcome{FileProblem::kReadFailed, errno};
        total += static_cast<std::size_t>(n);
    }
    bytes.resize(total);
    return FileOutcome{};
}

FileOutcome WriteAll(int descriptor, const std::vector<unsigned char>& bytes)
{
    if (::ftruncate(descriptor, 0) != 0)
        return FileOutcome{FileProblem::kWriteFailed, errno};
    std::size_t total = 0;
    while (total < bytes.size()) {
        const ssize_t n = ::write(descriptor, bytes.data() + total, bytes.size() - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return FileOutcome{FileProblem::kWriteFailed, errno};
        total += static_cast<std::size_t>(n);
    }
    return FileOutcome{};
}

int OpenForReading(const std::string& path, FileOutcome& outcome, struct stat& status)
{
    outcome = FileOutcome{};
    const int descriptor = ::open(path.c_str(), O_RDONLY | kNoFollowNoBlock);
    if (descriptor < 0) {
        outcome = OpenFailure(errno);
        return -1;
    }
    return KeepRegular(descriptor, outcome, status);
}

}  // namespace

std::string FileOutcome::Describe() const
{
    switch (problem) {
    case FileProblem::kNone:
        return std::string();
    case FileProblem::kNotRegular:
        return "Not a regular file";
    case FileProblem::kTooLarge:
        return "File too large";
    default:
        return error == 0 ? std::string("Input/output error") : std::generic_category().message(error);
    }
}

bool IsRegularFile(const std::string& path)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

int OpenRegularFileForReading(const std::string& path, FileOutcome& outcome)
{
    struct stat status {};
    return OpenForReading(path, outcome, status);
}

FileOutcome ReadRegularFile(const std::string& path, std::size_t max_bytes, std::vector<unsigned char>& bytes)
{
    bytes.clear();
    FileOutcome outcome;
    struct stat status {};
    const int descriptor = OpenForReading(path, outcome, status);
    if (descriptor < 0)
        return outcome;
    if (static_cast<unsigned long long>(status.st_size) > max_bytes)
        outcome = FileOutcome{FileProblem::kTooLarge, 0};
    else
        outcome = ReadAll(descriptor, max_bytes, static_cast<std::size_t>(status.st_size), bytes);
    ::close(descriptor);
    if (!outcome.Ok())
        bytes.clear();
    return outcome;
}

FileOutcome WriteRegularFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    // No O_TRUNC: nothing is changed before the file is known to be a regular one.
    const int opened = ::open(path.c_str(), O_WRONLY | O_CREAT | kNoFollowNoBlock, 0666);
    if (opened < 0)
        return OpenFailure(errno);
    FileOutcome outcome;
    struct stat status {};
    const int descriptor = KeepRegular(opened, outcome, status);
    if (descriptor < 0)
        return outcome;
    outcome = WriteAll(descriptor, bytes);
    if (::close(descriptor) != 0 && outcome.Ok())
        outcome = FileOutcome{FileProblem::kWriteFailed, errno};
    return outcome;
}

FileOutcome CreateRegularFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | kNoFollowNoBlock, 0666);
    if (descriptor < 0)
        return OpenFailure(errno);
    FileOutcome outcome = WriteAll(descriptor, bytes);
    if (::close(descriptor) != 0 && outcome.Ok())
        outcome = FileOutcome{FileProblem::kWriteFailed, errno};
    if (!outcome.Ok())
        ::unlink(path.c_str());
    return outcome;
}
