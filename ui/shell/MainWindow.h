#pragma once
// The application shell: menus, tool bar, the side panel, the four central pages (node
// editor, settings scroll area, variable table, test page) above the log view, the
// one-second tick, splitter persistence, and the shutdown sequence that saves the
// pipeline as "default" and every record's settings file. Widgets belong to their Qt
// parents; the window shares the hub, the commander (which it makes and hands to the
// hub) and the pipeline file store.

#include <QMainWindow>

#include <boost/shared_ptr.hpp>

#include <string>

class ControlAndStatus;
class CustomToolBar;
class LoaderSaver;
class LoggingWidget;
class NodalConnectorTop;
class PopoutWigetBase;
class PowerCommanderTop;
class QCloseEvent;
class QGridLayout;
class QScrollArea;
class QSplitter;
class QStackedWidget;
class QTimer;
class ServerQt;
class SettingsWidgetTop;
class TestWidget;
class Ui_MainWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent = nullptr);
    // Every step is guarded: a failure is logged at ERROR and the next step runs.
    ~MainWindow() override;

    void LoadStyleSheet(const std::string& directory);

    NodalConnectorTop* NodeEditor() const { return node_editor_; }
    QStackedWidget* Pages() const { return pages_; }
    QSplitter* HorizontalSplitter() const { return splitter_h_; }
    QSplitter* VerticalSplitter() const { return splitter_v_; }

protected:
    void closeEvent(QCloseEvent* event) override;

protected slots:
    void SideBarChanged(QString button);
    void OnOneSecondTick();

private slots:
    // No "actionLoad" exists, so nothing calls it.
    void on_actionLoad_triggered();
    void on_actionAbout_triggered();
    void on_actionZoom_to_Fit_triggered();
    void on_actionZoom_In_triggered();
    void on_actionZoom_Out_triggered();
    void on_actionExit_triggered();
    void on_actionClear_triggered();
    void on_actionRestart_triggered();
    void on_actionNew_View_triggered();
    void FitLoadedPipeline();

private:
    void SetupCentralWidgets();
    void LayoutCentralWidgets();
    void ConnectSignals();
    void RestoreSplitterState();
    void SaveSplitterState();
    // Brings back the pipeline that the last close saved, when there is one, running.
    void LoadDefaultPipeline();
    // Moves a "default" that the load refused aside, so the close does not save over it.
    void KeepRefusedDefault(const std::string& path);
    // File > Exit: stops and joins every thread of the back end before the process ends.
    void StopBackEnd();

    Ui_MainWindow* ui_;
    QSplitter* splitter_h_ = nullptr;
    QSplitter* splitter_v_ = nullptr;
    SettingsWidgetTop* side_panel_ = nullptr;
    QGridLayout* grid_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    boost::shared_ptr<ControlAndStatus> hub_;
    boost::shared_ptr<LoaderSaver> file_store_;
    QScrollArea* scroll_area_ = nullptr;
    NodalConnectorTop* node_editor_ = nullptr;
    PopoutWigetBase* scroll_area_popout_ = nullptr;
    PopoutWigetBase* editor_popout_ = nullptr;
    PopoutWigetBase* variables_popout_ = nullptr;
    TestWidget* test_page_ = nullptr;
    CustomToolBar* tool_bar_ = nullptr;
    ServerQt* command_server_ = nullptr;
    boost::shared_ptr<PowerCommanderTop> commander_;
    QTimer* tick_timer_ = nullptr;
    bool save_default_ = true;  // false when a refused "default" could not be moved aside
    LoggingWidget* log_view_;   // made first, so it shows every line of the start
};
