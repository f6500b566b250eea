#include "core/MoveAside.h"

#include "core/FILELog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Far more refused copies than anyone keeps: a bound, so a folder full of them cannot hold us.
constexpr int kMaxNames = 1000;

std::string NameInSeries(const std::string& stem, const std::string& extension, int number)
{
    return number == 0 ? stem + extension : stem + "-" + std::to_string(number) + extension;
}

// Renames without replacing; errno EEXIST when something lies at to.
bool RenameNoReplace(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without that rename: a second link never replaces anything either.
    if (::link(from.c_str(), to.c_str()) != 0)
        return false;
    ::unlink(from.c_str());
    return true;
}

bool IsRegularFileHere(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::string MoveToFirstFreeName(const std::string& path, const std::string& stem,
                                const std::string& extension, std::string& error)
{
    for (int number = 0; number < kMaxNames; ++number) {
        const std::string name = NameInSeries(stem, extension, number);
        if (RenameNoReplace(path, name))
            return name;
        if (errno != EEXIST) {
            error = std::strerror(errno);
            return "";
        }
    }
    error = "every name up to " + NameInSeries(stem, extension, kMaxNames - 1) + " is taken";
    return "";
}

bool MoveRefusedFileAside(const std::string& path, const std::string& stem, const std::string& extension,
                          const std::string& what)
{
    if (!IsRegularFileHere(path))
        return true;
    std::string error;
    const std::string kept = MoveToFirstFreeName(path, stem, extension, error);
    if (kept.empty()) {
        FILE_LOG(logERROR) << what << " could not be read, nor moved aside to " << stem << extension << " : "
                           << error << "; it will not be saved over";
        return false;
    }
    FILE_LOG(logWARNING) << what << " could not be read; it was moved aside to " << kept;
    return true;
}
