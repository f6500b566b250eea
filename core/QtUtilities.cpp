#include "core/QtUtilities.h"

QString ToQString(const std::string& text)
{
    return QString::fromStdString(text);
}
