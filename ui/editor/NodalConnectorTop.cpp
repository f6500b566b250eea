#include "ui/editor/NodalConnectorTop.h"

#include "control/ElementRegistry.h"
#include "control/ElementScanner.h"
#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "core/FILELog.h"
#include "core/NodeControls.h"
#include "core/SharedGUI.h"
#include "engine/ElementBase.h"
#include "ui/editor/CustomGraphicView.h"
#include "ui/editor/ElementNodeBase.h"
#include "ui/editor/ElementNodeFactory.h"
#include "ui/editor/QNEConnection.h"
#include "ui/editor/QNEPort.h"
#include "ui/editor/QNodesEditor.h"
#include "ui/frame/PopOutWindow.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <iostream>
#include <set>

namespace {

// How long a rebuild waits before looking again whether the dialogue has closed.
constexpr int kBusyRetryMs = 50;
const char* const kConnectedReply = "Connected Source : ";
// How long a new view follows its first size and the nodes' growth.
constexpr int kNewViewFitMs = 2000;

bool HasMaker(const std::string& type_name)
{
    const ElementMakerList makers = GetElementRegistry();
    return std::any_of(makers.begin(), makers.end(),
                       [&](const auto& maker) { return maker->GetName() == type_name; });
}

QTimer* MakeSingleShot(QObject* parent, int interval)
{
    auto* timer = new QTimer(parent);
    timer->setSingleShot(true);
    timer->setInterval(interval);
    return timer;
}

}  // namespace

NodalConnectorTop::NodalConnectorTop(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent)
    : QWidget(parent), hub_(std::move(hub))
{
    shared_gui_ = hub_->GetSharedGUI();
    node_controls_ = hub_->GetSharedControl<NodeControls>("");

    layout_ = new QVBoxLayout(this);
    view_ = new CustomGraphicView(hub_, this);
    scene_ = new QGraphicsScene(view_);
    editor_ = new QNodesEditor(hub_, this);
    node_factory_ = boost::make_shared<ElementNodeFactory>(hub_, scene_);
    refresh_timer_ = new QTimer(this);
    rebuild_timer_ = MakeSingleShot(this, 0);
    line_sync_timer_ = MakeSingleShot(this, 0);

    layout_->setContentsMargins(0, 0, 0, 0);
    editor_->Install(scene_);
    view_->setScene(scene_);
    scene_->setSceneRect(-50000, -50000, 100000, 100000);
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    refresh_timer_->start(100);
    layout_->addWidget(view_);

    BuildFromBackend();

    editor_->PortsConnected.connect([this](QNEPort* output, QNEPort* input) { ConnectPorts(output, input); });
    editor_->PortsDisconnected.connect(
        [this](QNEPort* output, QNEPort* input) { DisconnectPorts(output, input); });
    rebuild_connection_ = hub_->reset_pipeline_signal.connect([this] { RequestRebuild(); });
    connect(this, SIGNAL(customContextMenuRequested(QPoint)), this, SLOT(ShowContextMenu(QPoint)));
    clear_connection_ = node_controls_->clear_editor_signal.connect([this] { ClearAll(); });
    connect(shared_gui_, SIGNAL(ZoomIn()), view_, SLOT(ZoomIn()));
    connect(shared_gui_, SIGNAL(ZoomOut()), view_, SLOT(ZoomOut()));
    connect(shared_gui_, SIGNAL(ZoomToFit()), view_, SLOT(FitScene()));
    connect(refresh_timer_, SIGNAL(timeout()), this, SLOT(RefreshGUI()));
    connect(shared_gui_, SIGNAL(UpdateGUIFromBackend()), this, SLOT(UpdateFromBackend()),
            Qt::QueuedConnection);
    connect(rebuild_timer_, &QTimer::timeout, this, [this] { Rebuild(); });
    connect(line_sync_timer_, &QTimer::timeout, this, [this] { RunLineSync(); });

    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

NodalConnectorTop::~NodalConnectorTop()
{
    std::cout << "Node top destroyed" << std::endl;
    clear_connection_.disconnect();
    rebuild_connection_.disconnect();
    refresh_timer_->stop();
    rebuild_timer_->stop();
    line_sync_timer_->stop();
    RemoveAllNodes();
    editor_->PortsConnected.disconnect_all_slots();
    editor_->PortsDisconnected.disconnect_all_slots();
    // The scene's own teardown would delete items whose signals reach this editor.
    delete scene_;
    scene_ = nullptr;
}

void NodalConnectorTop::BuildFromBackend()
{
    PowerCommanderTop* commander = Commander();
    if (!commander)
        return;
    for (const std::string& id : commander->GetElementIds()) {
        try {
            AddNode(id, false);
        } catch (...) {
            FILE_LOG(logERROR) << "Could not show element " << id << " in the node editor";
        }
    }
    BuildConnections();
}

void NodalConnectorTop::BuildConnections()
{
    PowerCommanderTop* commander = Commander();
    if (!commander)
        return;
    const std::vector<ElementNodeBase*> nodes = GetAllNodes();
    for (const ConnectionRecord& record : commander->GetElementTable()->GetAllConnections()) {
        for (ElementNodeBase* sink : nodes) {
            if (sink->GetElementId() != record.sink_element)
                continue;
            for (ElementNodeBase* source : nodes) {
                if (source->GetElementId() != record.source_element)
                    continue;
                for (QNEPort* output : source->SourcePorts()) {
                    if (output->Name().toStdString() != record.source_name)
                        continue;
                    for (QNEPort* input : sink->SinkPorts()) {
                        if (input->Name().toStdString() == record.sink_name && !output->IsConnected(input))
                            MakeConnectionItem(output, input);
                    }
                }
            }
        }
    }
    view_->viewport()->update();
}

ElementNodeBase* NodalConnectorTop::AddNode(const std::string& element_id, bool at_cursor)
{
    ElementNodeBase* node = node_factory_->MakeNode(element_id);
    if (at_cursor)
        PlaceAtCursor(node);
    node->NodeDestroyed.connect([this](const std::string& id) { OnNodeDeleted(id); });
    return node;
}

void NodalConnectorTop::PlaceAtCursor(ElementNodeBase* node)
{
    // A node the start's fit followed would pull the view to it.
    view_->StopFitting();
    // Its title and ports lie above its origin: the whole node goes below the pointer.
    const QPointF pointer = view_->mapToScene(view_->viewport()->mapFromGlobal(QCursor::pos()));
    node->setPos(pointer - node->boundingRect().topLeft());
}

QNEConnection* NodalConnectorTop::MakeConnectionItem(QNEPort* output, QNEPort* input)
{
    auto* line = new QNEConnection();
    scene_->addItem(line);
    line->SetPort1(input);
    line->SetPort2(output);
    line->UpdatePath();
    // Wired only now: drawing an existing link must not connect it again.
    line->Connected.connect([this](QNEPort* out, QNEPort* in) { ConnectPorts(out, in); });
    line->Disconnected.connect([this](QNEPort* out, QNEPort* in) { DisconnectPorts(out, in); });
    return line;
}

std::vector<ElementNodeBase*> NodalConnectorTop::GetAllNodes() const
{
    std::vector<ElementNodeBase*> nodes;
    for (QGraphicsItem* item : scene_->items(Qt::DescendingOrder)) {
        if (item->type() == ElementNodeBase::Type)
            nodes.push_back(static_cast<ElementNodeBase*>(item));
    }
    return nodes;
}

std::vector<QNEConnection*> NodalConnectorTop::GetAllLines() const
{
    std::vector<QNEConnection*> lines;
    for (QGraphicsItem* item : scene_->items(Qt::DescendingOrder)) {
        if (item->type() == QNEConnection::Type)
            lines.push_back(static_cast<QNEConnection*>(item));
    }
    return lines;
}

void NodalConnectorTop::RemoveAllNodes()
{
    // The dragged line hangs on a port that is about to go.
    editor_->CancelDrag();
    for (ElementNodeBase* node : GetAllNodes())
        node->SetRemoving(true);
    for (ElementNodeBase* node : GetAllNodes())
        delete node;
}

void NodalConnectorTop::ClearAll()
{
    if (PowerCommanderTop* commander = Commander())
        commander->Clear();
    RequestRebuild();
}

void NodalConnectorTop::UpdateFromBackend()
{
    RequestRebuild();
}

void NodalConnectorTop::RequestRebuild()
{
    rebuild_timer_->start(0);
}

bool NodalConnectorTop::HasQueuedWork() const
{
    return rebuild_timer_->isActive() || line_sync_timer_->isActive();
}

void NodalConnectorTop::Rebuild()
{
    if (UserInterfaceBusy()) {
        rebuild_timer_->start(kBusyRetryMs);
        return;
    }
    RemoveAllNodes();
    BuildFromBackend();
    RefreshGUI();
}

void NodalConnectorTop::RefreshGUI()
{
    if (HasStaleNodes())
        RequestRebuild();
    if (UserInterfaceBusy())
        return;  // a panel rebuilt now could be the one running the dialogue
    std::vector<QRectF> extents;
    for (ElementNodeBase* node : GetAllNodes()) {
        node->RefreshNode();
        extents.push_back(node->sceneBoundingRect());
    }
    view_->ReserveItemCaches(extents);
}

void NodalConnectorTop::DeleteSelected()
{
    editor_->CancelDrag();
    for (ElementNodeBase* node : GetAllNodes()) {
        if (node->isSelected())
            delete node;
    }
}

void NodalConnectorTop::ConnectPorts(QNEPort* output, QNEPort* input)
{
    PowerCommanderTop* commander = Commander();
    if (commander && output->GetNode() && input->GetNode()) {
        const std::string sink_id = input->GetNode()->GetElementId();
        const std::string sink_pad = input->Name().toStdString();
        const std::string reply = commander->ConnectPads(output->GetNode()->GetElementId(),
                                                         output->Name().toStdString(), sink_id, sink_pad);
        if (reply.rfind(kConnectedReply, 0) != 0 || !commander->IsPortConnected(sink_id, sink_pad))
            FILE_LOG(logWARNING) << "Could not connect " << output->Name().toStdString() << " of "
                                 << output->GetNode()->GetElementId() << " to " << sink_pad << " of "
                                 << sink_id << ": " << reply;
    }
    // A refused link loses its line in the sync, after the event filter has returned.
    RequestLineSync(true);
}

void NodalConnectorTop::DisconnectPorts(QNEPort* output, QNEPort* input)
{
    PowerCommanderTop* commander = Commander();
    if (commander && output->GetNode() && input->GetNode())
        commander->DisconnectPads(output->GetNode()->GetElementId(), output->Name().toStdString(),
                                  input->GetNode()->GetElementId(), input->Name().toStdString());
    // The back end drops every link between the two elements, so other lines may go too.
    RequestLineSync(true);
}

void NodalConnectorTop::OnNodeDeleted(const std::string& element_id)
{
    // By id, not by a command line: "disconnect Main Display_0" would split the id.
    if (PowerCommanderTop* commander = Commander())
        commander->RemoveElement(element_id);
    RequestLineSync(false);
}

QWidget* NodalConnectorTop::NewViewWindow()
{
    auto* view = new CustomGraphicView(hub_);
    view->setScene(scene_);
    view->setRenderHint(QPainter::Antialiasing);
    view->setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    view->setStyleSheet(
        QStringLiteral("background-image: url(:/images/background.jpg);background-repeat: repeat-xy;"));
    auto* window = new PopOutWindow(view, nullptr, this);
    window->setWindowFlags(Qt::Dialog);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(shared_gui_, SIGNAL(ZoomToFit()), view, SLOT(FitScene()));
    window->show();
    view->FitSceneWhileItGrows(kNewViewFitMs);
    return window;
}

void NodalConnectorTop::ShowContextMenu(QPoint pos)
{
    QMenu menu;
    for (const boost::shared_ptr<ElementMakerInterface>& maker : GetElementRegistry())
        menu.addAction(QString::fromStdString(maker->GetName()));
    menu.addAction(QStringLiteral("Clear"));
    const QAction* chosen = menu.exec(mapToGlobal(pos));
    if (!chosen)
        return;
    if (chosen->text() == QStringLiteral("Clear"))
        ClearAll();
    else
        MakeElementAtCursor(chosen->text().toStdString());
}

void NodalConnectorTop::SaveAllElementToFile()
{
    PowerCommanderTop* commander = Commander();
    if (!commander)
        return;
    ElementScanner scanner(hub_);
    scanner.SetMakers(commander);
    const std::string folder = ControlAndStatus::GetImagesDirectory() + "elements/";
    QDir().mkpath(QString::fromStdString(folder));
    for (const boost::shared_ptr<ElementMakerInterface>& maker : scanner.GetMakers()) {
        try {
            AddNode(commander->MakeElement(maker->GetName(), ""), false);
            repaint();
            view_->FitScene();
            SaveNodeImage(folder + maker->GetName() + ".png");
        } catch (...) {
            FILE_LOG(logERROR) << "Could not save a picture of " << maker->GetName();
        }
        commander->Clear();
        RemoveAllNodes();
        BuildFromBackend();
    }
}

void NodalConnectorTop::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete)
        DeleteSelected();
    else
        QWidget::keyPressEvent(event);
}

void NodalConnectorTop::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        MakeChosenElement();
}

void NodalConnectorTop::MakeChosenElement()
{
    const std::string type_name = node_controls_->chosen_element_type.Get();
    if (type_name.empty()) {
        FILE_LOG(logWARNING) << "No element type chosen: pick one in the element list, then double-click";
        return;
    }
    MakeElementAtCursor(type_name);
}

void NodalConnectorTop::MakeElementAtCursor(const std::string& type_name)
{
    PowerCommanderTop* commander = Commander();
    if (!commander)
        return;
    if (!HasMaker(type_name)) {
        FILE_LOG(logWARNING) << "Cannot make a \"" << type_name << "\": the catalogue has no such element";
        return;
    }
    const std::string id = commander->MakeElement(type_name, "");
    if (id.empty())
        return;  // the commander has logged why
    try {
        AddNode(id, true);
    } catch (...) {
        FILE_LOG(logERROR) << "Could not show element " << id << " in the node editor; removing it";
        commander->RemoveElement(id);
    }
}

void NodalConnectorTop::RequestLineSync(bool restart)
{
    restart_pending_ = restart_pending_ || restart;
    line_sync_timer_->start();
}

void NodalConnectorTop::RunLineSync()
{
    SyncLines();
    PowerCommanderTop* commander = Commander();
    if (restart_pending_ && commander)
        commander->ParseCommand("restart");
    restart_pending_ = false;
}

void NodalConnectorTop::SyncLines()
{
    PowerCommanderTop* commander = Commander();
    if (!commander)
        return;
    const std::vector<ConnectionRecord> links = commander->GetElementTable()->GetAllConnections();
    for (QNEConnection* line : GetAllLines()) {
        QNEPort* output = line->Port1();
        QNEPort* input = line->Port2();
        if (!output || !input || !output->GetNode() || !input->GetNode())
            continue;  // the line being dragged
        if (!output->IsOutput())
            std::swap(output, input);
        const ConnectionRecord wanted{output->GetNode()->GetElementId(), output->Name().toStdString(),
                                      input->GetNode()->GetElementId(), input->Name().toStdString()};
        if (std::find(links.begin(), links.end(), wanted) != links.end())
            continue;
        line->SetSuppressDisconnect(true);  // the back end has no such link to drop
        delete line;
    }
}

bool NodalConnectorTop::HasStaleNodes() const
{
    PowerCommanderTop* commander = Commander();
    if (!commander)
        return false;
    std::set<const ElementBase*> shown;
    for (const boost::shared_ptr<ElementBase>& element : commander->GetElementTable()->GetElements())
        shown.insert(element.get());
    for (const ElementNodeBase* node : GetAllNodes()) {
        if (node->ShownElement() && shown.count(node->ShownElement().get()) == 0)
            return true;
    }
    return false;
}

bool NodalConnectorTop::UserInterfaceBusy()
{
    return QApplication::activeModalWidget() || QApplication::activePopupWidget();
}

void NodalConnectorTop::SaveNodeImage(const std::string& file_name)
{
    FILE_LOG(logDEBUG) << "Showing " << file_name;
    repaint();
    QCoreApplication::processEvents();
    const QPixmap picture = view_->grab(view_->rect().adjusted(0, 0, -20, -20));
    picture.save(QString::fromStdString(file_name));
}

PowerCommanderTop* NodalConnectorTop::Commander() const
{
    return hub_->GetCommander();
}
