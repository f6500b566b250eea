#include "ui/display/PipeWidgetBase.h"

#include "core/ControlAndStatus.h"

PipeWidgetBase::PipeWidgetBase(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent)
    : QWidget(parent), hub_(std::move(hub))
{
}
