#include "core/SafeFiles.h"

#include "core/RegularFile.h"
#include "core/StorableText.h"

#include <QSaveFile>
#include <QString>

#include <sys/stat.h>

#include <vector>

namespace {

constexpr std::size_t kMaxNameBytes = 255;

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
    return IsStorableName(name);
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
    std::vector<unsigned char> bytes;
    if (max_bytes < 0 || !ReadRegularFile(path, static_cast<std::size_t>(max_bytes), bytes).Ok())
        return false;
    content = QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()));
    return true;
}
