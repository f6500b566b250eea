// One push button that fires a named signal of a configurable object, on the GUI
// thread. The signal belongs to the object; the widget only points at it. The editor
// base paints the style-sheet background.
#pragma once

#include "ui/settings/GUISettingItem.h"

#include <boost/signals2/signal.hpp>

class QGridLayout;
class QPushButton;
class QString;

class SignalCallingWidget : public GUISettingItem {
    Q_OBJECT
public:
    SignalCallingWidget(boost::signals2::signal<void()>* signal, const QString& label, QWidget* parent);

signals:
    // Declared as the editors' value signal is; a button has no value, so it never fires.
    void ValueChanged();

public slots:
    void EmitSignal();

private:
    boost::signals2::signal<void()>* signal_;
    QGridLayout* layout_;
    QPushButton* button_;
};
