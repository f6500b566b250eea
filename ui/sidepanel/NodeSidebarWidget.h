#pragma once
// Saves the pipeline under the name typed in its line, through the hub's save signal.
// Shares the hub; owns its line and button. Nothing in the application builds it.

#include <boost/shared_ptr.hpp>

#include <QWidget>

class ControlAndStatus;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

class NodeSidebarWidget : public QWidget {
    Q_OBJECT
public:
    NodeSidebarWidget(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent = nullptr);

    QLineEdit* FileName() const { return file_name_; }
    QPushButton* SaveButton() const { return save_button_; }

public slots:
    // An empty name saves nothing: "Please enter file name" at WARNING.
    void SaveButtonClicked();

private:
    boost::shared_ptr<ControlAndStatus> hub_;
    QVBoxLayout* layout_;
    QLineEdit* file_name_;
    QPushButton* save_button_;
};
