#include "ui/display/ImageContainer.h"

#include "core/FILELog.h"

#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QSpacerItem>
#include <QVBoxLayout>

#include <map>
#include <vector>

namespace {

// The panes each view name of the display settings shows.
const std::map<QString, std::vector<int>>& PanesOfView()
{
    static const std::map<QString, std::vector<int>> views = {
        {"All", {0, 1, 2, 3}}, {"Top", {0, 1}},      {"Bottom", {2, 3}},
        {"Left", {0, 2}},      {"Right", {1, 3}},    {"Top Left", {0}},
        {"Top Right", {1}},    {"Bottom Left", {2}}, {"Bottom Right", {3}},
    };
    return views;
}

bool IsPane(int panel_number)
{
    return panel_number >= 0 && panel_number < ImageContainer::kPanes;
}

}  // namespace

ImageContainer::ImageContainer(QWidget* parent) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < kPanes; ++i) {
        panes_[i] = new QLabel(this);
        panes_[i]->setScaledContents(true);
        panes_[i]->installEventFilter(this);
        spacers_[i] = new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Minimum);
        auto* cell = new QVBoxLayout();
        cell->addWidget(panes_[i]);
        cell->addItem(spacers_[i]);
        grid->addLayout(cell, i / 2, i % 2);
    }
    SetImagesFixedSize(false);
}

void ImageContainer::SetImage(int panel_number, const QImage& image)
{
    if (!IsPane(panel_number))
        return;
    images_[panel_number] = image;
    panes_[panel_number]->setPixmap(QPixmap::fromImage(image));
    FixPaneSize(panel_number);
}

void ImageContainer::SetFixedAspectRatio(bool fixed)
{
    const QSizePolicy::Policy policy = fixed ? QSizePolicy::Expanding : QSizePolicy::Minimum;
    for (QSpacerItem* spacer : spacers_)
        spacer->changeSize(0, 0, policy, policy);
    layout()->invalidate();
}

void ImageContainer::SetImagesFixedSize(bool fixed)
{
    fixed_size_ = fixed;
    for (int i = 0; i < kPanes; ++i)
        FixPaneSize(i);
}

void ImageContainer::FixPaneSize(int panel_number)
{
    QLabel* pane = panes_[panel_number];
    if (fixed_size_) {
        pane->setFixedSize(images_[panel_number].size());
    } else {
        pane->setMinimumSize(0, 0);
        pane->setMaximumSize(10000, 10000);
    }
}

std::string ImageContainer::ImageFileName(int panel_number, const std::string& file_path, long image_number)
{
    return file_path + std::to_string(image_number) + "_" + std::to_string(panel_number) + ".png";
}

void ImageContainer::SaveImage(int panel_number, std::string file_path, long image_number)
{
    if (!IsPane(panel_number)) {
        FILE_LOG(logWARNING) << "Unknown panel number";
        return;
    }
    const std::string name = ImageFileName(panel_number, file_path, image_number);
    QFile file(QString::fromStdString(name));
    if (!file.open(QIODevice::WriteOnly) || !images_[panel_number].save(&file, "PNG"))
        FILE_LOG(logERROR) << "Could not write the picture of pane " << panel_number << " to " << name;
}

void ImageContainer::SetVideoToDisplay(QString mode)
{
    const auto view = PanesOfView().find(mode);
    if (view == PanesOfView().end())
        return;
    for (int i = 0; i < kPanes; ++i)
        panes_[i]->setVisible(false);
    for (const int shown : view->second)
        panes_[shown]->setVisible(true);
}

bool ImageContainer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < kPanes; ++i) {
            if (watched == panes_[i])
                EmitPress(i, static_cast<QMouseEvent*>(event)->pos());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ImageContainer::EmitPress(int panel_number, const QPoint& position)
{
    switch (panel_number) {
    case 0:
        emit MousePress0(position);
        break;
    case 1:
        emit MousePress1(position);
        break;
    case 2:
        emit MousePress2(position);
        break;
    default:
        emit MousePress3(position);
        break;
    }
}
