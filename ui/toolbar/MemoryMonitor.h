#pragma once
// A label with the process's resident memory. Nothing in the application shows it yet.

#include <QWidget>

class QLabel;
class QVBoxLayout;

class MemoryMonitor : public QWidget {
    Q_OBJECT
public:
    explicit MemoryMonitor(QWidget* parent = nullptr);

    QString Text() const;
    // Resident memory of the process in kilobytes, from /proc; 0 when unreadable.
    static double ProcessMemoryKilobytes();

public slots:
    void ShowMemory();

private:
    QVBoxLayout* layout_;
    QLabel* label_;
};
