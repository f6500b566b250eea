#include "core/SafeFiles.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kMaxNameBytes = 255;

bool IsControlCharacter(char c)
{
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

bool IsValidUtf8(const std::string& text)
{
    return QString::fromStdString(text).toStdString() == text;
}

// Whether something other than a regular file lies at the path (links are not followed).
bool HoldsOtherThanAFile(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

}  // namespace

bool IsSafeFileName(const std::string& name)
{
    if (name.empty() || name.size() > kMaxNameBytes || name[0] == '.')
        return false;
    if (name.find_first_of("/\\") != std::string::npos || name.find("..") != std::string::npos)
        return false;
    for (char c : name)
        if (IsControlCharacter(c))
            return false;
    return IsValidUtf8(name);
}

bool PathExists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool IsSymbolicLink(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool WriteFileReplacing(const std::string& path, const QByteArray& content)
{
    if (HoldsOtherThanAFile(path))
        return false;
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The flush is checked here: commit() would put a file cut short by a failed flush in place.
    if (file.write(content) != content.size() || !file.flush()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

bool ReadFileBounded(const std::string& path, long long max_bytes, QByteArray& content)
{
    content.clear();
    // Not through a link, and without blocking on a FIFO or device; only plain files are read.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    QFile file;
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > max_bytes ||
        !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return false;
    }
    // The size may change between the check and the read: read one byte more to see it.
    QByteArray read = file.read(max_bytes + 1);
    if (read.size() > max_bytes || file.error() != QFileDevice::NoError)
        return false;
    content = read;
    return true;
}
