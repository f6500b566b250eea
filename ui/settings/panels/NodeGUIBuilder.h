// The settings panel inside an element's node: the element's signal buttons, an editor
// per setting, its pipe widgets, and the editors of its controls object, in one
// scrolling column. An edit fires the element's settings-changed signal and raises its
// settings-changed flag, which the element's thread checks before its next frame.
// The element belongs to the commander's table and outlives the panel (the panel goes
// with the element's node); the panel holds it without owning it.
#pragma once

#include <QWidget>
#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

class ControlAndStatus;
class ControlBaseClass;
class ParameterContainer;
class QScrollArea;
class QVBoxLayout;

class NodeGUIBuilder : public QWidget {
    Q_OBJECT
public:
    // Builds what it can; a panel that cannot be built (fully) is logged as a WARNING.
    NodeGUIBuilder(boost::shared_ptr<ControlAndStatus> hub, std::string element_id,
                   QWidget* parent = nullptr);

    // Looked up in the commander's table on first use, then kept; throws for an unknown id.
    boost::shared_ptr<ControlBaseClass> GetElement();

protected slots:
    void UpdateSettingsInBackend();
    void MakeGUI();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void FillColumn();
    void AddSettingWidgets(ParameterContainer& settings);
    void AddControlsObjectWidgets();
    void ConnectEditors();

    std::string element_id_;
    std::vector<std::string> shown_controls_;
    QScrollArea* scroll_area_;
    QWidget* inner_;
    QVBoxLayout* column_;
    boost::shared_ptr<ControlAndStatus> hub_;
    QVBoxLayout* outer_;
    boost::shared_ptr<ControlBaseClass> element_;
};
