// A real hub and commander with a node editor in front of them, in a home folder of its
// own, and the mouse events a person would make on the editor's scene.
#pragma once

#include "control/ConnectionRecord.h"
#include "control/ElementTable.h"
#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "engine/ElementBase.h"
#include "support/TestSupport.h"
#include "ui/editor/ElementNodeBase.h"
#include "ui/editor/NodalConnectorTop.h"
#include "ui/editor/QNEConnection.h"
#include "ui/editor/QNEPort.h"

#include <QApplication>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

class EditorFixture {
public:
    EditorFixture() : hub(boost::make_shared<ControlAndStatus>())
    {
        commander = boost::make_shared<PowerCommanderTop>(hub);
        hub->SetCommander(commander);
    }

    ~EditorFixture()
    {
        editor.reset();
        commander->Clear();
        // The commander holds the hub: break the cycle so both go.
        hub->SetCommander(boost::shared_ptr<PowerCommanderTop>());
        commander.reset();
    }

    void MakeEditor()
    {
        editor = std::make_unique<NodalConnectorTop>(hub);
        editor->resize(1200, 800);
    }

    // An element of the catalogue at a place of the scene.
    std::string Make(const std::string& type, int x, int y)
    {
        const std::string id = commander->MakeElement(type, "");
        commander->GetElement(id)->position_x.Set(x);
        commander->GetElement(id)->position_y.Set(y);
        return id;
    }

    // Runs the editor's queued rebuilds and line syncs.
    void Settle()
    {
        QCoreApplication::processEvents();
        testsupport::WaitFor([this] {
            QCoreApplication::processEvents();
            return !editor->HasQueuedWork();
        });
    }

    ElementNodeBase* Node(const std::string& id) const
    {
        for (ElementNodeBase* node : editor->GetAllNodes()) {
            if (node->GetElementId() == id)
                return node;
        }
        return nullptr;
    }

    QNEPort* Port(const std::string& id, const std::string& pad) const
    {
        ElementNodeBase* node = Node(id);
        if (!node)
            return nullptr;
        for (QNEPort* port : node->GetPorts()) {
            if (port->Name().toStdString() == pad)
                return port;
        }
        return nullptr;
    }

    // Lines with both ends; a dragged line has one.
    int LineCount() const
    {
        const std::vector<QNEConnection*> lines = editor->GetAllLines();
        return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                              [](QNEConnection* line) { return line->Port2() != nullptr; }));
    }

    std::vector<ConnectionRecord> Links() const { return commander->GetElementTable()->GetAllConnections(); }

    int RestartCount()
    {
        const std::string history = commander->ParseCommand("history");
        int count = 0;
        for (std::size_t at = history.find("restart"); at != std::string::npos;
             at = history.find("restart", at + 1))
            ++count;
        return count;
    }

    void SceneMouse(QEvent::Type type, const QPointF& point, Qt::MouseButton button)
    {
        QGraphicsSceneMouseEvent event(type);
        event.setScenePos(point);
        event.setButton(button);
        event.setButtons(type == QEvent::GraphicsSceneMouseRelease ? Qt::NoButton : Qt::MouseButtons(button));
        event.setButtonDownScenePos(button, point);
        QApplication::sendEvent(editor->Scene(), &event);
    }

    void Drag(const QPointF& from, const QPointF& to)
    {
        SceneMouse(QEvent::GraphicsSceneMousePress, from, Qt::LeftButton);
        SceneMouse(QEvent::GraphicsSceneMouseMove, (from + to) / 2, Qt::LeftButton);
        SceneMouse(QEvent::GraphicsSceneMouseMove, to, Qt::LeftButton);
        SceneMouse(QEvent::GraphicsSceneMouseRelease, to, Qt::LeftButton);
    }

    void RightPress(const QPointF& point)
    {
        SceneMouse(QEvent::GraphicsSceneMousePress, point, Qt::RightButton);
        SceneMouse(QEvent::GraphicsSceneMouseRelease, point, Qt::RightButton);
    }

    testsupport::ScopedHome home;
    boost::shared_ptr<ControlAndStatus> hub;
    boost::shared_ptr<PowerCommanderTop> commander;
    std::unique_ptr<NodalConnectorTop> editor;
};
