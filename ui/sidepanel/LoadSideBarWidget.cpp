#include "ui/sidepanel/LoadSideBarWidget.h"

#include "core/ControlAndStatus.h"
#include "ui/sidepanel/PipelineRequest.h"

#include <QListWidget>
#include <QMenu>
#include <QVBoxLayout>

LoadSideBarWidget::LoadSideBarWidget(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent)
    : QWidget(parent), hub_(std::move(hub)), layout_(new QVBoxLayout(this)), list_(new QListWidget(this))
{
    layout_->addWidget(list_);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, SIGNAL(customContextMenuRequested(QPoint)), this, SLOT(ContextMenuRequest(QPoint)));
    connect(list_, SIGNAL(itemClicked(QListWidgetItem*)), this, SLOT(LoadFile(QListWidgetItem*)));
    ReadLoadFiles();
}

void LoadSideBarWidget::ReadLoadFiles()
{
    list_->clear();
    RunPipelineRequest([this] {
        if (const boost::optional<std::vector<std::string>> names = hub_->list_signal()) {
            for (const std::string& name : *names)
                list_->addItem(QString::fromStdString(name));
        }
    });
}

void LoadSideBarWidget::LoadFile(QListWidgetItem* item)
{
    if (item == nullptr)
        return;
    const std::string name = item->text().toStdString();
    RunPipelineRequest([&] { hub_->load_signal(name); });
}

void LoadSideBarWidget::ContextMenuRequest(QPoint point)
{
    FILE_LOG(logDEBUG) << "Context menu pressed";
    const QListWidgetItem* item = list_->itemAt(point);
    if (item == nullptr)
        return;  // a press beside the names: nothing to delete
    const std::string name = item->text().toStdString();
    QMenu menu(this);
    const QAction* remove = menu.addAction("Delete");
    if (menu.exec(list_->viewport()->mapToGlobal(point)) != remove)
        return;
    FILE_LOG(logDEBUG) << "Deleted element " << name;
    RunPipelineRequest([&] { hub_->delete_signal(name); });
    ReadLoadFiles();
}
