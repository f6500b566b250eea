#pragma once
// The log view under the node editor: shows what the process writes to std::cerr,
// std::cout and std::clog, drained every 10 ms. Log lines reach it once, through
// std::cout (the logger writes every line there as well as to its in-memory stream).
// The document keeps the newest kMaxLines lines. While the text box has the keyboard
// focus the view stays where the user put it.

#include <QWidget>

class QGridLayout;
class QPlainTextEdit;
class QTimer;

class LoggingWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxLines = 10000;

    explicit LoggingWidget(QWidget* parent = nullptr);
    // The captured streams forward to their original buffers once no view is left.
    ~LoggingWidget() override;

    QPlainTextEdit* TextBox() const { return text_box_; }

    // The tail of the text that holds its newest lines lines (one more when the text
    // does not end in a line end); the document's own limit trims exactly.
    static std::string NewestLines(const std::string& text, int lines);

    // Appends at the end without moving the user's cursor or selection; at once, so it comes
    // before what the streams have collected since the last drain.
    void Append(const std::string& text);

public slots:
    void UpdateLog();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QGridLayout* layout_;
    QPlainTextEdit* text_box_;
    QTimer* timer_;
};
