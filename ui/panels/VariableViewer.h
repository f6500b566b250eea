#pragma once
// A read-only table of every live setting of the commander's elements, read from the
// element table's parameter store on request or every 100 ms. A refresh changes the
// text of the cells it keeps, so a selection or scroll position survives it.

#include <boost/shared_ptr.hpp>

#include <QWidget>

class ControlAndStatus;
class QCheckBox;
class QPushButton;
class QStandardItemModel;
class QTableView;
class QTimer;
class QVBoxLayout;

class VariableViewer : public QWidget {
    Q_OBJECT
public:
    VariableViewer(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent = nullptr);

    QStandardItemModel* Model() const { return model_; }

public slots:
    void UpdateFromTimer(bool update);

protected slots:
    void UpdateTable();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void SetCell(int row, int column, const std::string& text);

    QTableView* table_;
    QStandardItemModel* model_;
    QVBoxLayout* layout_;
    QTimer* timer_;
    QCheckBox* update_from_timer_;
    QPushButton* read_variables_;
    boost::shared_ptr<ControlAndStatus> hub_;
};
