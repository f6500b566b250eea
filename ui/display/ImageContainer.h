#pragma once
// Four image panes in a two-by-two grid: 0 top left, 1 top right, 2 bottom left, 3 bottom
// right. A press on a pane emits that pane's MousePress signal with the position in the
// pane. Each pane keeps the picture it shows; the container owns the panes. Nothing in
// the application builds it.

#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <array>
#include <string>

class QLabel;
class QSpacerItem;

class ImageContainer : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPanes = 4;

    explicit ImageContainer(QWidget* parent = nullptr);

    // Shows the picture in the pane; a pane number outside 0..3 is ignored.
    void SetImage(int panel_number, const QImage& image);
    QLabel* Pane(int panel_number) const { return panes_.at(panel_number); }
    QSpacerItem* Spacer(int panel_number) const { return spacers_.at(panel_number); }
    // The file SaveImage writes for the pane.
    static std::string ImageFileName(int panel_number, const std::string& file_path, long image_number);

signals:
    void MousePress0(QPoint position);
    void MousePress1(QPoint position);
    void MousePress2(QPoint position);
    void MousePress3(QPoint position);

public slots:
    // Fixed: the spacers beside the panes take the spare room, so a pane keeps its size.
    void SetFixedAspectRatio(bool fixed);
    // Fixed: every pane at the size of its picture; else any size up to 10000 x 10000.
    void SetImagesFixedSize(bool fixed);
    // Writes the pane's picture as PNG; "Unknown panel number" for a pane outside 0..3.
    void SaveImage(int panel_number, std::string file_path, long image_number);
    // Shows the panes a view name of the display settings covers ("All", "Top",
    // "Bottom Left", ...) and hides the others; another name changes nothing.
    void SetVideoToDisplay(QString mode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FixPaneSize(int panel_number);
    void EmitPress(int panel_number, const QPoint& position);

    std::array<QLabel*, kPanes> panes_;
    std::array<QSpacerItem*, kPanes> spacers_;
    std::array<QImage, kPanes> images_;
    bool fixed_size_ = false;
};
