#include "ui/panels/LoggingWidget.h"

#include "core/LayoutUtilities.h"
#include "core/QtUtilities.h"
#include "ui/controls/StyledBackground.h"
#include "ui/panels/StandardStreamCapture.h"

#include <QFont>
#include <QGridLayout>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>

LoggingWidget::LoggingWidget(QWidget* parent)
    : QWidget(parent), layout_(new QGridLayout(this)), text_box_(new QPlainTextEdit(this)),
      timer_(new QTimer(this))
{
    SetZeroMargins(layout_);
    layout_->addWidget(text_box_, 0, 0);
    text_box_->setReadOnly(true);
    // Focus only by a click, to read or select: a focused view stops following the log.
    text_box_->setFocusPolicy(Qt::ClickFocus);
    text_box_->setMaximumBlockCount(kMaxLines);
    QFont font = text_box_->font();
    font.setStyleHint(QFont::Monospace, QFont::PreferDefault);
    text_box_->setFont(font);
    text_box_->setCenterOnScroll(false);
    text_box_->verticalScrollBar()->setPageStep(1);
    text_box_->verticalScrollBar()->setSingleStep(1);
    connect(timer_, SIGNAL(timeout()), this, SLOT(UpdateLog()));
    timer_->start(10);
    StandardStreamCapture::Instance().Hold();
}

LoggingWidget::~LoggingWidget()
{
    StandardStreamCapture::Instance().Release();
}

void LoggingWidget::UpdateLog()
{
    StandardStreamCapture& capture = StandardStreamCapture::Instance();
    for (std::size_t i = 0; i < StandardStreamCapture::kStreamCount; ++i)
        Append(capture.Take(i));
    if (!text_box_->hasFocus())
        text_box_->verticalScrollBar()->setValue(text_box_->verticalScrollBar()->maximum());
}

void LoggingWidget::Append(const std::string& text)
{
    if (text.empty())
        return;
    QTextCursor end(text_box_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(ToQString(NewestLines(text, kMaxLines)));
}

std::string LoggingWidget::NewestLines(const std::string& text, int lines)
{
    // A burst that piled up while the GUI thread was busy would only be laid out to be
    // dropped again: keep what the document can hold.
    std::size_t start = text.size();
    for (int kept = 0; kept <= lines; ++kept) {
        if (start == 0)
            return text;
        start = text.rfind('\n', start - 1);
        if (start == std::string::npos)
            return text;
    }
    return text.substr(start + 1);
}

void LoggingWidget::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
}
