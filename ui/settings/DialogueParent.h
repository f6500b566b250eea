// The parent for a picker's modal dialogue: the editor's window, or the active window
// when the editor sits in a panel embedded in the node editor's scene.
#pragma once

class QWidget;

// A dialogue parented inside an embedded panel would be embedded in the scene too,
// where it neither paints nor takes keys.
QWidget* DialogueParent(QWidget* editor);
