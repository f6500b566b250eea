#include "control/PipelineFiles.h"

#include "core/ControlAndStatus.h"
#include "core/CustomException.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

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

bool WriteFileReplacing(const std::string& path, const QByteArray& content)
{
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
    const QString file_name = QString::fromStdString(path);
    // A FIFO or device would block or never end; only plain files are read.
    if (!QFileInfo(file_name).isFile())
        return false;
    QFile file(file_name);
    if (!file.open(QIODevice::ReadOnly) || file.size() > max_bytes)
        return false;
    // The size may change between the check and the read: read one byte more to see it.
    QByteArray read = file.read(max_bytes + 1);
    if (read.size() > max_bytes || file.error() != QFileDevice::NoError)
        return false;
    content = read;
    return true;
}
