#include "ui/sidepanel/NodeSidebarWidget.h"

#include "core/ControlAndStatus.h"
#include "ui/sidepanel/PipelineRequest.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

NodeSidebarWidget::NodeSidebarWidget(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent)
    : QWidget(parent), hub_(std::move(hub)), layout_(new QVBoxLayout(this)), file_name_(new QLineEdit(this)),
      save_button_(new QPushButton("Save", this))
{
    layout_->addWidget(file_name_);
    layout_->addWidget(save_button_);
    connect(save_button_, SIGNAL(clicked()), this, SLOT(SaveButtonClicked()));
}

void NodeSidebarWidget::SaveButtonClicked()
{
    const std::string name = file_name_->text().toStdString();
    if (name.empty()) {
        FILE_LOG(logWARNING) << "Please enter file name";
        return;
    }
    RunPipelineRequest([&] { hub_->save_signal(name); });
}
