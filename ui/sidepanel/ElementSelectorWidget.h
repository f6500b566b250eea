#pragma once
// The "Elements" page: the element catalogue as a tree of categories, with a search line
// that completes element names. Choosing an element row writes its name into the shared
// NodeControls record, so the node editor's next double-click makes that element;
// category rows choose nothing (some categories share a name with an element).

#include "ui/sidepanel/CatalogueEntry.h"

#include <boost/shared_ptr.hpp>

#include <QWidget>

#include <vector>

class ControlAndStatus;
class NodeControls;
class QCheckBox;
class QCompleter;
class QLineEdit;
class QStringList;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

class ElementSelectorWidget : public QWidget {
    Q_OBJECT
public:
    ElementSelectorWidget(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent = nullptr);

    QTreeWidget* Tree() const { return tree_; }
    QLineEdit* SearchLine() const { return search_line_; }
    QCheckBox* ExpandAllBox() const { return expand_all_; }

    // The entries sorted by category, byte-wise; entries of one category keep their order.
    static std::vector<std::vector<CatalogueEntry>> GroupByCategory(std::vector<CatalogueEntry> entries);

public slots:
    void CompleterFinished();
    void ElementSelected(QTreeWidgetItem* item, int column);
    void ExpandAll(bool expand);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void MakeWidgets();
    void FillTree();
    // A row showing the texts, each also its cell's tool tip.
    static QTreeWidgetItem* MakeRow(const QStringList& texts);
    void FitColumnsToText();
    static bool IsElementRow(const QTreeWidgetItem* item);
    // The search line's text names no element: says so, and what stays chosen.
    void WarnNoSuchElement();

    boost::shared_ptr<ControlAndStatus> hub_;
    QVBoxLayout* layout_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    boost::shared_ptr<NodeControls> node_controls_;
    QCheckBox* expand_all_ = nullptr;
    QCompleter* completer_ = nullptr;
    QLineEdit* search_line_ = nullptr;
};
