#include "ui/settings/ThreadColourSettingItem.h"

#include "core/OpenCvToQtConversions.h"
#include "ui/settings/DialogueParent.h"

#include <QColorDialog>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>

ThreadColourSettingItem::ThreadColourSettingItem(ThreadSafeVariable<cv::Scalar>* variable,
                                                 const QString& label, QWidget* parent)
    : GUISettingItem(parent), variable_(variable), button_(new QPushButton(label, this))
{
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(button_);
    // Queued: the dialogue's event loop must not run inside the button's own click
    // handling, where a rebuild that deletes this editor would pull the button away.
    connect(button_, SIGNAL(clicked()), this, SLOT(PickColour()), Qt::QueuedConnection);
}

void ThreadColourSettingItem::PickColour()
{
    const QPointer<ThreadColourSettingItem> self(this);
    const QColor colour =
        QColorDialog::getColor(ScalarToQColor(variable_->Get()), DialogueParent(this),
                               tr("Pick a colour. Any colour..."), QColorDialog::DontUseNativeDialog);
    if (!self || !colour.isValid())
        return;
    variable_->Set(QColorToScalar(colour));
}
