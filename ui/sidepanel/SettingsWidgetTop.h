#pragma once
// The side panel at the left of the main window: a scrollable SideBar whose buttons pick
// a page of a stack ("Elements", the element selector, and "Settings", the global
// settings). Every pick is announced through ItemChanged. Pages and bar are its children.

#include <boost/shared_ptr.hpp>

#include <QString>
#include <QWidget>

#include <map>

class ControlAndStatus;
class QGridLayout;
class QStackedWidget;
class SideBar;
class SideBarContainer;

class SettingsWidgetTop : public QWidget {
    Q_OBJECT
public:
    SettingsWidgetTop(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent = nullptr);

    // Adds a bar button of that name and the page it shows.
    void AddPage(QWidget* widget, const QString& name);

    SideBar* GetSideBar() const { return side_bar_; }
    SideBarContainer* GetSideBarContainer() const { return side_bar_container_; }
    QStackedWidget* Pages() const { return pages_; }

signals:
    void ItemChanged(QString name);

public slots:
    void SetWidgetShown(QString name_of_widget);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void MakeWidgets();
    void AddPages();

    boost::shared_ptr<ControlAndStatus> hub_;
    QGridLayout* layout_ = nullptr;
    SideBar* side_bar_ = nullptr;
    SideBarContainer* side_bar_container_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    std::map<QString, int> page_index_;
};
