#include "core/Utilities.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Position of the "." that starts the extension, or npos. A "." inside a directory name
// ("/home/j.doe/shot") does not start one.
std::size_t ExtensionDot(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos)
        return std::string::npos;
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > dot)
        return std::string::npos;
    return dot;
}

}  // namespace

std::string GetExtension(const std::string& path)
{
    const std::size_t dot = ExtensionDot(path);
    return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

std::string GetFileExtension(const std::string& path)
{
    return GetExtension(path);
}

std::string RemoveExtension(const std::string& path)
{
    const std::size_t dot = ExtensionDot(path);
    return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string StripExtension(const std::string& path)
{
    return RemoveExtension(path);
}

std::string GetFileName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(slash + 1);
}

std::string GetDirectory(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).absoluteDir().path().toStdString();
}

std::vector<std::string> ListDirectory(const std::string& directory)
{
    std::vector<std::string> files;
    const QFileInfoList entries =
        QDir(QString::fromStdString(directory)).entryInfoList(QDir::Files, QDir::NoSort);
    for (const QFileInfo& entry : entries)
        files.push_back(entry.absoluteFilePath().toStdString());
    return files;
}

std::vector<std::string> ListFilesWithExtension(const std::string& directory, const std::string& extension)
{
    std::vector<std::string> matching;
    for (const std::string& file : ListDirectory(directory))
        if (GetExtension(file) == extension)
            matching.push_back(file);
    return matching;
}
