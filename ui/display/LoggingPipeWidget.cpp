#include "ui/display/LoggingPipeWidget.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

LoggingPipeWidget::LoggingPipeWidget(boost::shared_ptr<ControlAndStatus> hub,
                                     boost::shared_ptr<InternalPipe<std::string>> pipe, QWidget* parent)
    : PipeWidgetBase(std::move(hub), parent), text_box_(new QPlainTextEdit(this)), pipe_(std::move(pipe))
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_box_);
    connect(&timer_, SIGNAL(timeout()), this, SLOT(TimerUpdate()));
    timer_.start(10);
}

void LoggingPipeWidget::TimerUpdate()
{
    if (!pipe_)
        return;
    for (PassableItem<std::string> item = pipe_->Pop(); item.IsValid(); item = pipe_->Pop())
        text_box_->insertPlainText(QString::fromStdString(*item.data));
    if (!text_box_->hasFocus())
        text_box_->ensureCursorVisible();
}
