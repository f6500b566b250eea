#pragma once
// A push button drawn entirely from three images: main, hovered and pressed (held
// with the left button). Images are scaled to a height of 30 pixels. An image that
// does not load is logged; a button without its main image keeps a visible square
// outline of that height and says in its tool tip which file is missing.

#include <QAbstractButton>
#include <QImage>

#include <string>

class ImageButton : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int kImageHeight = 30;

    explicit ImageButton(QWidget* parent = nullptr);

    // "dir/name.png" loads "dir/name_main.png", "dir/name_pressed.png" and "dir/name_hovered.png".
    void SetImages(const std::string& path);
    void SetMainImage(const QString& path);
    void SetPressedImage(const QString& path);
    void SetHoveredImage(const QString& path);

    // The image painted now: pressed while held, hovered under the cursor, else main.
    const QImage& CurrentImage() const;

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Scaled to the image height; a null image (and a WARNING) when it does not load.
    static QImage Load(const QString& path);

    bool hover_ = false;
    QImage main_;
    QImage pressed_;
    QImage hovered_;
};
