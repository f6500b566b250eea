#pragma once
// A tab widget to which a settings page is added as its second tab, "Settings". The
// pages belong to the tab widget. Nothing in the application builds it.

#include <QWidget>

class QTabWidget;
class QVBoxLayout;

class NodeSidebarTop : public QWidget {
    Q_OBJECT
public:
    explicit NodeSidebarTop(QWidget* parent = nullptr);

    QTabWidget* Tabs() const { return tabs_; }

public slots:
    // Tab 1, or the last tab while there are fewer (as QTabWidget::insertTab places it).
    void AddSettingWidget(QWidget* widget);

private:
    QVBoxLayout* layout_;
    QTabWidget* tabs_;
};
