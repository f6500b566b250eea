#pragma once
// A green or red light drawn from the embedded LED images.

#include <QImage>
#include <QWidget>

class LEDWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int kImageHeight = 30;

    explicit LEDWidget(QWidget* parent = nullptr);

    void SetOn(bool on);
    bool IsOn() const { return on_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static QImage LoadScaled(const QString& path, int height);

    bool on_ = false;
    QImage on_image_;
    QImage off_image_;
};
