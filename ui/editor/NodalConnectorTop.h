// The node-graph editor: one node per element of the commander's element table and one
// line per link, in one scene. User actions become commander calls; the editor keeps
// no pipeline state of its own and rebuilds from the back end after structural changes.
// Rebuilds are queued to the GUI thread and coalesced, and wait while a modal dialogue
// or a pop-up is open, so no rebuild runs inside the handler of a widget it deletes.
// The widget owns the view, which owns the scene (and through it every item), the
// scene's event filter and the timers.
#pragma once

#include "control/NodeEditorInterface.h"

#include <QWidget>

#include <boost/shared_ptr.hpp>
#include <boost/signals2/connection.hpp>

#include <string>
#include <vector>

class ControlAndStatus;
class CustomGraphicView;
class ElementNodeBase;
class ElementNodeFactory;
class NodeControls;
class PowerCommanderTop;
class QGraphicsScene;
class QNEConnection;
class QNEPort;
class QNodesEditor;
class QTimer;
class QVBoxLayout;
class SharedGUI;

class NodalConnectorTop : public QWidget, public NodeEditorInterface {
    Q_OBJECT
public:
    NodalConnectorTop(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent = nullptr);
    // Cancels a drag and removes every node without touching the back end, then
    // deletes the scene while the editor is still whole.
    ~NodalConnectorTop() override;

    void BuildFromBackend();
    void BuildConnections();
    ElementNodeBase* AddNode(const std::string& element_id, bool at_cursor);
    QNEConnection* MakeConnectionItem(QNEPort* output, QNEPort* input);
    // Topmost first.
    std::vector<ElementNodeBase*> GetAllNodes() const;
    std::vector<QNEConnection*> GetAllLines() const;
    void RemoveAllNodes();
    // Clears the back end now; the nodes go with the queued rebuild.
    void ClearAll();
    void ConnectPorts(QNEPort* output, QNEPort* input);
    void DisconnectPorts(QNEPort* output, QNEPort* input);
    void OnNodeDeleted(const std::string& element_id);
    // A second view of the same scene in a window of its own, freed when closed; it
    // opens fitted and fits again on View > Zoom to Fit.
    QWidget* NewViewWindow();
    // Queues one rebuild from the back end; repeated requests run it once.
    void RequestRebuild();

    // Whether a rebuild or a line sync is still queued.
    bool HasQueuedWork() const;

    QGraphicsScene* Scene() const { return scene_; }
    CustomGraphicView* View() const { return view_; }
    QNodesEditor* Editor() const { return editor_; }

public slots:
    void ShowContextMenu(QPoint pos);
    void DeleteSelected();
    void RefreshGUI();

protected slots:
    void SaveAllElementToFile();

public slots:
    // Queued: see RequestRebuild.
    void UpdateFromBackend() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void MakeChosenElement();
    void MakeElementAtCursor(const std::string& type_name);
    // The node's top-left corner at the pointer; the view does not move.
    void PlaceAtCursor(ElementNodeBase* node);
    void Rebuild();
    // Queues the work a back-end change leaves: resynchronising the lines and one
    // "restart", however many links one user action touched.
    void RequestLineSync(bool restart);
    void RunLineSync();
    // Deletes every line whose link the back end does not hold.
    void SyncLines();
    // Whether a node shows an element the table no longer holds (a "clear" by command).
    bool HasStaleNodes() const;
    // A modal dialogue or pop-up runs a nested event loop, perhaps inside a panel's handler.
    static bool UserInterfaceBusy();
    void SaveNodeImage(const std::string& file_name);
    PowerCommanderTop* Commander() const;

    QGraphicsScene* scene_ = nullptr;
    CustomGraphicView* view_ = nullptr;
    QVBoxLayout* layout_ = nullptr;
    boost::shared_ptr<ControlAndStatus> hub_;
    SharedGUI* shared_gui_ = nullptr;
    boost::shared_ptr<NodeControls> node_controls_;
    boost::signals2::scoped_connection clear_connection_;
    boost::signals2::scoped_connection rebuild_connection_;
    QNodesEditor* editor_ = nullptr;
    boost::shared_ptr<ElementNodeFactory> node_factory_;
    QTimer* refresh_timer_ = nullptr;
    QTimer* rebuild_timer_ = nullptr;
    QTimer* line_sync_timer_ = nullptr;
    bool restart_pending_ = false;
};
