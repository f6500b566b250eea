#include "ui/settings/panels/SignalCallingWidget.h"

#include "core/FILELog.h"

#include <QGridLayout>
#include <QPushButton>

#include <exception>

SignalCallingWidget::SignalCallingWidget(boost::signals2::signal<void()>* signal, const QString& label,
                                         QWidget* parent)
    : GUISettingItem(parent), signal_(signal), layout_(new QGridLayout(this)),
      button_(new QPushButton(label, this))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    layout_->addWidget(button_, 0, 0);
    connect(button_, SIGNAL(pressed()), this, SLOT(EmitSignal()));
}

void SignalCallingWidget::EmitSignal()
{
    if (!signal_)
        return;
    // A handler's failure must not reach the event loop.
    try {
        (*signal_)();
    } catch (const std::exception& error) {
        FILE_LOG(logERROR) << "Signal " << button_->text().toStdString() << " failed : " << error.what();
    } catch (...) {
        FILE_LOG(logERROR) << "Signal " << button_->text().toStdString() << " failed";
    }
}
