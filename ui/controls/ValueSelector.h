#pragma once
// A slider and a drag-to-change number stacked in one control, one of them shown.
// Programmatic sets (SetValue) are silent; only user input emits, once per change.
// Both controls are children of the selector.

#include <QWidget>

class BetterSlider;
class NumberSelector;
class QStackedLayout;

class ValueSelector : public QWidget {
    Q_OBJECT
public:
    explicit ValueSelector(QWidget* parent = nullptr);

    void SetIntMode(bool on);
    // On shows the number (enabled) and disables the slider; off the reverse.
    void SetNumberMode(bool on);
    bool IsNumberMode() const { return number_mode_; }
    void SetRange(double minimum, double maximum);
    void SetValue(double value);
    void SetValue(int value);
    // Number mode: the number rounded half up; slider mode: the slider's position.
    int Value() const;
    // True while the user holds either control; editors leave it alone meanwhile.
    bool IsDragging() const;

    BetterSlider* Slider() const { return slider_; }
    NumberSelector* Number() const { return number_; }

signals:
    void ValueChangedDouble(double value);
    void ValueChangedInt(int value);

public slots:
    void SliderChanged(double value);
    void SliderChanged(int value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStackedLayout* stack_;
    BetterSlider* slider_;
    NumberSelector* number_;
    bool int_mode_ = true;
    bool number_mode_ = false;
};
