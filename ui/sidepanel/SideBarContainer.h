#pragma once
// A vertical SideBar in a scroll area, with arrow buttons above and below that appear
// only when the bar's buttons do not fit and scroll it 50 pixels per click.

#include <QWidget>

class QPushButton;
class QScrollArea;
class QVBoxLayout;
class SideBar;

class SideBarContainer : public QWidget {
    Q_OBJECT
public:
    static constexpr int kScrollStep = 50;

    explicit SideBarContainer(QWidget* parent = nullptr);

    SideBar* GetSideBar() const { return side_bar_; }
    QScrollArea* ScrollArea() const { return scroll_area_; }
    QPushButton* UpButton() const { return up_; }
    QPushButton* DownButton() const { return down_; }

public slots:
    void MoveUp();
    void MoveDown();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // The bar is laid out after this container's own resize, so its resizes count too.
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void UpdateArrows();

private:
    QVBoxLayout* layout_;
    QPushButton* up_;
    QPushButton* down_;
    QScrollArea* scroll_area_;
    SideBar* side_bar_;
};
