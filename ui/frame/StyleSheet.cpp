#include "ui/frame/StyleSheet.h"

#include "core/Utilities.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QWidget>

#include <algorithm>

namespace {

// Written by ReadStyleSheet on the GUI thread, read by ApplyStyleSheet there.
QString& Text()
{
    static QString text;
    return text;
}

bool ReadFile(const QString& path, QString& content)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    content = QString::fromUtf8(file.readAll());
    return true;
}

}  // namespace

void ReadStyleSheet(const std::string& directory)
{
    if (!QDir(QString::fromStdString(directory)).exists()) {
        QString embedded;
        if (ReadFile(QStringLiteral(":/stylesheet.css"), embedded))
            Text() = embedded;
        return;
    }
    // Listing order differs between file systems; name order does not.
    std::vector<std::string> files = ListFilesWithExtension(directory, "css");
    std::sort(files.begin(), files.end());
    QString joined;
    for (const std::string& path : files) {
        QString content;
        if (ReadFile(QString::fromStdString(path), content))
            joined += content;
    }
    Text() = joined;
    QFile combined(QStringLiteral("../stylesheet.css"));
    if (combined.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        combined.write(joined.toUtf8());
}

void ApplyStyleSheet(QWidget* widget)
{
    widget->setStyleSheet(Text());
}

QString StyleSheetText()
{
    return Text();
}
