#include "ui/sidepanel/ElementSelectorWidget.h"

#include "control/ElementRegistry.h"
#include "core/ControlAndStatus.h"
#include "core/FILELog.h"
#include "core/NodeControls.h"
#include "core/QtUtilities.h"
#include "ui/controls/StyledBackground.h"
#include "ui/frame/StyleSheet.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCompleter>
#include <QHeaderView>
#include <QLineEdit>
#include <QStringList>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

ElementSelectorWidget::ElementSelectorWidget(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent)
    : QWidget(parent), hub_(hub), node_controls_(hub->GetSharedControl<NodeControls>(""))
{
    MakeWidgets();
    FillTree();
    layout_->addWidget(tree_);
    layout_->addWidget(search_line_);
    layout_->addWidget(expand_all_);
    connect(tree_, SIGNAL(itemClicked(QTreeWidgetItem*, int)), this,
            SLOT(ElementSelected(QTreeWidgetItem*, int)));
    connect(expand_all_, SIGNAL(toggled(bool)), this, SLOT(ExpandAll(bool)));
    connect(search_line_, SIGNAL(editingFinished()), this, SLOT(CompleterFinished()));
}

void ElementSelectorWidget::MakeWidgets()
{
    layout_ = new QVBoxLayout(this);
    tree_ = new QTreeWidget(this);
    expand_all_ = new QCheckBox("Expand all", this);
    search_line_ = new QLineEdit(this);
}

std::vector<std::vector<CatalogueEntry>>
ElementSelectorWidget::GroupByCategory(std::vector<CatalogueEntry> entries)
{
    std::stable_sort(entries.begin(), entries.end(), [](const CatalogueEntry& a, const CatalogueEntry& b) {
        return a.category < b.category;
    });
    std::vector<std::vector<CatalogueEntry>> runs;
    for (CatalogueEntry& entry : entries) {
        if (runs.empty() || runs.back().front().category != entry.category)
            runs.emplace_back();
        runs.back().push_back(std::move(entry));
    }
    return runs;
}

void ElementSelectorWidget::FillTree()
{
    std::vector<CatalogueEntry> entries;
    for (const boost::shared_ptr<ElementMakerInterface>& maker : GetElementRegistry())
        entries.push_back({maker->GetName(), maker->GetCategory(), maker->GetDescription()});
    QStringList names;
    for (const std::vector<CatalogueEntry>& run : GroupByCategory(std::move(entries))) {
        QTreeWidgetItem* category = MakeRow({ToQString(run.front().category)});
        for (const CatalogueEntry& entry : run) {
            category->addChild(MakeRow({ToQString(entry.name), ToQString(entry.description)}));
            names.append(ToQString(entry.name));
        }
        tree_->addTopLevelItem(category);
    }
    tree_->setColumnCount(2);
    tree_->setHeaderLabels({"Elements", "Descriptions"});
    FitColumnsToText();
    tree_->collapseAll();
    expand_all_->setChecked(false);
    completer_ = new QCompleter(names, this);
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    search_line_->setCompleter(completer_);
    // A window of its own, outside the styled window: it needs the sheet itself.
    completer_->popup()->setObjectName("CompleterPopup");
    ApplyStyleSheet(completer_->popup());
}

QTreeWidgetItem* ElementSelectorWidget::MakeRow(const QStringList& texts)
{
    auto* row = new QTreeWidgetItem(texts);
    for (int column = 0; column < texts.size(); ++column)
        row->setToolTip(column, texts[column]);
    return row;
}

void ElementSelectorWidget::FitColumnsToText()
{
    // The header follows the shown rows as they open and as the style sheet's font arrives;
    // the list scrolls sideways rather than cut a name.
    tree_->header()->setStretchLastSection(false);
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

bool ElementSelectorWidget::IsElementRow(const QTreeWidgetItem* item)
{
    return item != nullptr && item->parent() != nullptr;
}

void ElementSelectorWidget::ElementSelected(QTreeWidgetItem* item, int)
{
    if (IsElementRow(item))
        node_controls_->chosen_element_type.Set(item->text(0).toStdString());
}

void ElementSelectorWidget::CompleterFinished()
{
    const QList<QTreeWidgetItem*> found = tree_->findItems(
        search_line_->text(), Qt::MatchExactly | Qt::MatchCaseSensitive | Qt::MatchRecursive, 0);
    const auto element = std::find_if(found.begin(), found.end(), IsElementRow);
    if (element == found.end()) {
        WarnNoSuchElement();
        return;
    }
    tree_->setCurrentItem(*element);
    ElementSelected(*element, 0);
}

void ElementSelectorWidget::WarnNoSuchElement()
{
    // Once per text typed: leaving the line after Enter finishes the same edit again.
    if (search_line_->text().isEmpty() || !search_line_->isModified())
        return;
    search_line_->setModified(false);
    const std::string chosen = node_controls_->chosen_element_type.Get();
    FILE_LOG(logWARNING) << "No element is called \"" << search_line_->text().toStdString() << "\"; "
                         << (chosen.empty() ? std::string("no element is chosen")
                                            : "a double-click still places \"" + chosen + "\"");
}

void ElementSelectorWidget::ExpandAll(bool expand)
{
    if (expand)
        tree_->expandAll();
    else
        tree_->collapseAll();
}

void ElementSelectorWidget::paintEvent(QPaintEvent*)
{
    PaintStyledBackground(this);
}
