// The application's one style-sheet text: read once at start-up and applied to the
// main window and to each node's embedded settings panel (widgets in a graphics scene
// do not inherit the window's sheet). The text lives until the process ends.
#pragma once

#include <string>

class QString;
class QWidget;

// From the folder's ".css" files joined in name order (also written to
// "../stylesheet.css"), or from the embedded ":/stylesheet.css" when the folder is missing.
void ReadStyleSheet(const std::string& directory);
void ApplyStyleSheet(QWidget* widget);
QString StyleSheetText();
