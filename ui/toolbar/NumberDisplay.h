#pragma once
// A name and a large whole number beside it; numbers from 0 to 9 get a leading zero.

#include <QWidget>

class QHBoxLayout;
class QLabel;

class NumberDisplay : public QWidget {
    Q_OBJECT
public:
    explicit NumberDisplay(QWidget* parent = nullptr);

    void SetName(const QString& name);
    void SetNumber(int number);
    QString NumberText() const;

    static QString FormatNumber(int number);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QHBoxLayout* layout_;
    QLabel* name_;
    QLabel* number_;
};
