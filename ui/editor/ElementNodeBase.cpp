#include "ui/editor/ElementNodeBase.h"

#include "control/ElementScanner.h"
#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "core/CustomException.h"
#include "engine/ElementBase.h"
#include "ui/editor/QNEPort.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

const QColor kFill(40, 40, 40, 255);
const QColor kSelectedFill(40, 40, 90, 255);

}  // namespace

ElementNodeBase::ElementNodeBase(boost::shared_ptr<ControlAndStatus> hub, std::string element_id,
                                 QGraphicsItem* parent)
    : QGraphicsPathItem(parent), element_id_(std::move(element_id)), hub_(std::move(hub))
{
    setFlag(QGraphicsItem::ItemIsMovable);
    setFlag(QGraphicsItem::ItemIsSelectable);
    // Position changes are mirrored into the element's settings as they happen.
    setFlag(QGraphicsItem::ItemSendsGeometryChanges);
    // A repaint of the view beneath a live preview, or of a dragged node, is then a copy of
    // the outline drawn once, not a new antialiased stroke.
    setCacheMode(QGraphicsItem::DeviceCoordinateCache);
}

ElementNodeBase::~ElementNodeBase()
{
    // The ports go first, while this node is still whole: their lines' disconnects
    // ask it for its element id.
    for (QNEPort* port : GetPorts()) {
        port->SetSuppressDisconnect(removing_);
        delete port;
    }
    if (!removing_)
        NodeDestroyed(element_id_);
}

void ElementNodeBase::Build()
{
    MakeTitleItems();
    MakePorts();
    Layout();
}

boost::shared_ptr<ElementBase> ElementNodeBase::GetElement()
{
    if (!element_) {
        PowerCommanderTop* commander = hub_->GetCommander();
        if (!commander)
            throw CustomException("No commander for element : " + element_id_);
        element_ = commander->GetElement(element_id_);
        description_ = ElementScanner::DescribeElement(element_);
    }
    return element_;
}

QVector<QNEPort*> ElementNodeBase::GetPorts() const
{
    QVector<QNEPort*> ports;
    for (QGraphicsItem* child : childItems()) {
        if (child->type() == QNEPort::Type)
            ports.append(static_cast<QNEPort*>(child));
    }
    return ports;
}

void ElementNodeBase::RefreshNode()
{
    if (!element_)
        return;
    // Lowered before rebuilding, so a request made meanwhile is not lost.
    if (element_->layout_update_requested.Get()) {
        element_->layout_update_requested.Set(false);
        MakeContents();
    }
    SetOutline(ContentRect());
}

void ElementNodeBase::BringToFront()
{
    if (!scene())
        return;
    qreal highest = zValue();
    for (const QGraphicsItem* item : scene()->items())
        highest = std::max(highest, item->zValue());
    setZValue(highest + 1.0);
}

void ElementNodeBase::UpdateOutline()
{
    SetOutline(ContentRect());
    StorePosition();
}

void ElementNodeBase::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    painter->setPen(QPen(Qt::white, 1));
    painter->setBrush(isSelected() ? kSelectedFill : kFill);
    painter->drawPath(path());
}

QVariant ElementNodeBase::itemChange(GraphicsItemChange change, const QVariant& value)
{
    if (change == QGraphicsItem::ItemPositionHasChanged)
        StorePosition();
    return value;
}

QRectF ElementNodeBase::ContentRect()
{
    return QRectF();
}

void ElementNodeBase::MakeTitleItems()
{
    title_ = new QGraphicsTextItem(QStringLiteral("Title"), this);
    subtitle_ = new QGraphicsTextItem(QStringLiteral("SubTitle"), this);
    description_item_ = new QGraphicsTextItem(QStringLiteral("Description"), this);
    for (QGraphicsTextItem* text : {title_, subtitle_, description_item_}) {
        text->setDefaultTextColor(Qt::white);
        // Laid out and drawn once: a repaint copies it.
        text->setCacheMode(QGraphicsItem::DeviceCoordinateCache);
    }
    QFont title_font = scene() ? scene()->font() : QApplication::font();
    title_font.setWeight(QFont::Bold);
    title_font.setPointSize(16);
    title_->setFont(title_font);
    description_item_->setTextWidth(width_);
}

void ElementNodeBase::MakePorts()
{
    const boost::shared_ptr<ElementBase> element = GetElement();
    title_->setPlainText(QString::fromStdString(element->GetType()));
    subtitle_->setPlainText(QString());
    subtitle_->setVisible(false);
    description_item_->setPlainText(QString::fromStdString(element->GetDescription()));
    for (const boost::shared_ptr<SinkBase>& input : element->GetInputs())
        AddSinkPort(input->pad_name.Get());
    for (const boost::shared_ptr<SourceBase>& output : element->GetOutputs())
        AddSourcePort(output->pad_name.Get());
}

void ElementNodeBase::Layout()
{
    const QFont font = scene() ? scene()->font() : QApplication::font();
    const double text_height = QFontMetrics(font).height();
    int radius = 0;
    if (!sink_ports_.empty())
        radius = sink_ports_.back()->Radius();
    else if (!source_ports_.empty())
        radius = source_ports_.back()->Radius();
    const double step = std::max(2.0 * radius + 2.0, text_height);

    const int rows = static_cast<int>(std::max(sink_ports_.size(), source_ports_.size()));
    double y = 0.0;
    // Port 0 on top; inputs and outputs of one index share a row.
    for (int row = rows; row >= 0; --row) {
        if (static_cast<int>(sink_ports_.size()) > row)
            sink_ports_[row]->setPos(-radius, y);
        if (static_cast<int>(source_ports_.size()) > row)
            source_ports_[row]->setPos(radius + width_, y);
        y -= step;
    }
    y -= description_item_->boundingRect().height();
    description_item_->setPos(0, y);
    y -= title_->boundingRect().height();
    title_->setPos(0, y);
    top_ = y;
    SetOutline(MakeContents());
}

void ElementNodeBase::AddSinkPort(const std::string& pad_name)
{
    sink_ports_.push_back(AddPort(pad_name, false));
}

void ElementNodeBase::AddSourcePort(const std::string& pad_name)
{
    source_ports_.push_back(AddPort(pad_name, true));
}

QNEPort* ElementNodeBase::AddPort(const std::string& pad_name, bool output)
{
    auto* port = new QNEPort(this);
    port->SetName(QString::fromStdString(pad_name));
    port->SetIsOutput(output);
    port->SetNode(this);
    port->SetTypeName(description_.GetPad(pad_name).type);
    return port;
}

void ElementNodeBase::SetOutline(const QRectF& contents)
{
    const QRectF area = QRectF(0, top_, width_, -top_).united(contents);
    if (area == path().boundingRect())
        return;
    QPainterPath outline;
    outline.addRoundedRect(area, 5.0, 5.0);
    setPath(outline);
}

void ElementNodeBase::StorePosition()
{
    if (!element_)
        return;
    // Truncated toward zero, as the saved pipeline keeps them.
    element_->position_x.Set(static_cast<int>(pos().x()));
    element_->position_y.Set(static_cast<int>(pos().y()));
}
