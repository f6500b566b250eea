#include "control/PipelineFiles.h"

#include "core/ControlAndStatus.h"
#include "core/CustomException.h"

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

}  // namespace

bool IsSafePipelineName(const std::string& name)
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

std::string PipelineFilePath(const std::string& name)
{
    if (!IsSafePipelineName(name))
        throw CustomException("Refused pipeline name");
    return ControlAndStatus::GetSettingsDirectory() + name + ".xml";
}

bool IsSymbolicLink(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool WriteFileReplacing(const std::string& path, const QByteArray& content)
{
    if (IsSymbolicLink(path))
        return false;
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(content) != content.size()) {
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
