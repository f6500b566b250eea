#include "ui/panels/VariableViewer.h"

#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "core/QtUtilities.h"
#include "ui/controls/StyledBackground.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kColumnCount = 5;

}  // namespace

VariableViewer::VariableViewer(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent)
    : QWidget(parent), table_(new QTableView(this)), model_(new QStandardItemModel(0, kColumnCount, this)),
      layout_(new QVBoxLayout(this)), timer_(new QTimer(this)),
      update_from_timer_(new QCheckBox("Update from timer", this)),
      read_variables_(new QPushButton("Read Variables", this)), hub_(hub)
{
    table_->setModel(model_);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->show();
    table_->verticalHeader()->show();
    layout_->addWidget(read_variables_);
    layout_->addWidget(update_from_timer_);
    layout_->addWidget(table_);
    connect(read_variables_, SIGNAL(clicked()), this, SLOT(UpdateTable()));
    connect(update_from_timer_, SIGNAL(clicked(bool)), this, SLOT(UpdateFromTimer(bool)));
    connect(timer_, SIGNAL(timeout()), this, SLOT(UpdateTable()));
}

void VariableViewer::UpdateFromTimer(bool update)
{
    if (update)
        timer_->start(100);
    else
        timer_->stop();
}

void VariableViewer::UpdateTable()
{
    PowerCommanderTop* commander = hub_ ? hub_->GetCommander() : nullptr;
    const std::vector<ParameterTableRow> rows =
        commander != nullptr ? commander->GetElementTable()->GetParameterStore().GetTable()
                             : std::vector<ParameterTableRow>();
    model_->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r);
        SetCell(row, 0, rows[r].owner);
        SetCell(row, 1, rows[r].name);
        SetCell(row, 2, rows[r].setting_name);
        SetCell(row, 3, rows[r].value);
        SetCell(row, 4, rows[r].type_name);
    }
    table_->resizeColumnsToContents();
}

void VariableViewer::SetCell(int row, int column, const std::string& text)
{
    const QString cell_text = ToQString(text);
    QStandardItem* item = model_->item(row, column);
    if (item == nullptr) {
        item = new QStandardItem(cell_text);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        model_->setItem(row, column, item);
    } else if (item->text() != cell_text) {
        item->setText(cell_text);
    }
}

void VariableViewer::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
}
