#pragma once
// Qt signals between the menus, the node editor, the main display window and the element tester;
// a shared record of the hub's registry (the hub caches a plain pointer to it). It belongs to
// the application's thread, whichever thread makes it.

#include "core/ControlBaseClass.h"

#include <QObject>

class SharedGUI : public QObject, public ControlBaseClass {
    Q_OBJECT
public:
    SharedGUI();
    ~SharedGUI() override;

signals:
    void Load();
    void Save();
    void New();
    void ZoomIn();
    void ZoomOut();
    void ZoomToFit();
    void UpdateGUIFromBackend();
    void Close();
};
