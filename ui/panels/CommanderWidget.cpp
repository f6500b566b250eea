#include "ui/panels/CommanderWidget.h"

#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

CommanderWidget::CommanderWidget(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent)
    : QWidget(parent), hub_(std::move(hub)), line_(new QLineEdit(this)), text_box_(new QPlainTextEdit(this))
{
    text_box_->setReadOnly(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(line_);
    layout->addWidget(text_box_);
    connect(line_, SIGNAL(returnPressed()), this, SLOT(CallCommand()));
}

void CommanderWidget::CallCommand()
{
    PowerCommanderTop* commander = hub_ ? hub_->GetCommander() : nullptr;
    if (commander == nullptr)
        return;
    QString reply = QString::fromStdString(commander->ParseCommand(line_->text().toStdString()));
    // Replies such as "Success" carry no line end of their own.
    if (!reply.endsWith('\n'))
        reply += '\n';
    text_box_->moveCursor(QTextCursor::End);
    text_box_->insertPlainText(reply);
    line_->clear();
    text_box_->ensureCursorVisible();
}

void CommanderWidget::StartFunction()
{
    line_->setText("help");
    CallCommand();
}

void CommanderWidget::UpdateSettingsInBackend() {}
