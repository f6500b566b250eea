#include "ui/toolbar/MemoryMonitor.h"

#include <QLabel>
#include <QVBoxLayout>

#include <fstream>
#include <sstream>
#include <string>

MemoryMonitor::MemoryMonitor(QWidget* parent)
    : QWidget(parent), layout_(new QVBoxLayout(this)), label_(new QLabel(this))
{
    layout_->addWidget(label_);
    ShowMemory();
}

QString MemoryMonitor::Text() const
{
    return label_->text();
}

double MemoryMonitor::ProcessMemoryKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) != 0)
            continue;
        std::istringstream fields(line.substr(6));
        double kilobytes = 0.0;
        return fields >> kilobytes ? kilobytes : 0.0;
    }
    return 0.0;
}

void MemoryMonitor::ShowMemory()
{
    label_->setText("Memory Used : " + QString::number(ProcessMemoryKilobytes() / 1000.0, 'g', 4) + " MB");
}
