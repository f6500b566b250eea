#pragma once
// Conversion of the system's std::string texts (UTF-8) to Qt strings.

#include <QString>
#include <string>

QString ToQString(const std::string& text);
