#pragma once
// The list of saved pipelines, read from the hub's list signal. A click on a name loads
// that pipeline; a right click offers "Delete". Shares the hub; owns the list. Nothing
// in the application builds it.

#include <boost/shared_ptr.hpp>

#include <QPoint>
#include <QWidget>

class ControlAndStatus;
class QListWidget;
class QListWidgetItem;
class QVBoxLayout;

class LoadSideBarWidget : public QWidget {
    Q_OBJECT
public:
    LoadSideBarWidget(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent = nullptr);

    QListWidget* List() const { return list_; }

public slots:
    // point: in the list's viewport, as the list's context-menu signal gives it.
    void ContextMenuRequest(QPoint point);
    void LoadFile(QListWidgetItem* item);
    void ReadLoadFiles();

private:
    boost::shared_ptr<ControlAndStatus> hub_;
    QVBoxLayout* layout_;
    QListWidget* list_;
};
