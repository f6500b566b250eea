#pragma once
// A side-bar button drawn as a grey gradient with its text centred, blue while it is the
// highlighted page's button. Its ButtonPressed signal carries its name.

#include <QAbstractButton>
#include <QColor>
#include <QString>

class CustomButton : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int kWidth = 91;
    static constexpr int kHeight = 50;
    // The fill of the highlighted button: the theme's one blue accent.
    static constexpr QRgb kHighlightColour = 0xff2f80ed;

    CustomButton(const QString& name, const QString& text, QWidget* parent = nullptr);

    const QString& Name() const { return name_; }
    void SetHighlighted(bool highlighted);
    bool IsHighlighted() const { return highlighted_; }

signals:
    void ButtonPressed(QString name);

public slots:
    void EmitButtonPressed();
    void ButtonReleased();
    void ButtonPressed();

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString name_;
    QString text_;
    bool pressed_ = false;
    bool highlighted_ = false;
    bool hovered_ = false;
};
