#include "ui/shell/MainWindow.h"

#include "control/LoaderSaver.h"
#include "control/PowerCommanderTop.h"
#include "control/ServerQt.h"
#include "core/ControlAndStatus.h"
#include "core/FILELog.h"
#include "core/MoveAside.h"
#include "core/SharedGUI.h"
#include "core/WorkerPool.h"
#include "ui/editor/CustomGraphicView.h"
#include "ui/editor/NodalConnectorTop.h"
#include "ui/frame/PopoutWigetBase.h"
#include "ui/frame/StyleSheet.h"
#include "ui/panels/DisplaySettings.h"
#include "ui/panels/LoggingWidget.h"
#include "ui/panels/VariableViewer.h"
#include "ui/shell/AboutDialogue.h"
#include "ui/shell/ProgramEntry.h"
#include "ui/shell/Ui_MainWindow.h"
#include "ui/sidepanel/SettingsWidgetTop.h"
#include "ui/sidepanel/TestWidget.h"
#include "ui/toolbar/CustomToolBar.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QLayout>
#include <QMessageBox>
#include <QScrollArea>
#include <QSettings>
#include <QSpacerItem>
#include <QSplitter>
#include <QStackedWidget>
#include <QTimer>

#include <boost/make_shared.hpp>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>

namespace {

const char* const kDefaultPipeline = "default";
// Where a "default" that the start-up load refused is kept (the first free name of the series),
// so the close saves beside it.
const char* const kUnreadableDefault = "default-unreadable";

// Runs one step of start-up or shutdown; a failure is logged and never escapes.
template <typename Step>
bool Guarded(const char* what, Step step) noexcept
{
    try {
        step();
        return true;
    } catch (const std::exception& error) {
        FILE_LOG(logERROR) << "Could not " << what << " : " << error.what();
    } catch (...) {
        FILE_LOG(logERROR) << "Could not " << what;
    }
    return false;
}

}  // namespace

MainWindow::MainWindow(boost::shared_ptr<ControlAndStatus> hub, QWidget* parent)
    : QMainWindow(parent, Qt::Window), ui_(new Ui_MainWindow), hub_(hub), log_view_(new LoggingWidget(this))
{
    // The welcome text opens the log view and all that the start logs comes after it, so the
    // last lines a person sees say what happened (a refused "default", say).
    log_view_->Append(WelcomeText() + "\n");
    commander_ = boost::make_shared<PowerCommanderTop>(hub_);
    hub_->SetCommander(commander_);
    LoadStyleSheet("../Orvane1/StyleSheets/Skin1");
    ui_->setupUi(this);
    SetupCentralWidgets();
    splitter_h_->setOrientation(Qt::Horizontal);
    tick_timer_->start(1000);
    LayoutCentralWidgets();
    ConnectSignals();
    layout()->setContentsMargins(0, 0, 0, 0);
    layout()->setSpacing(0);
    RestoreSplitterState();
    LoadDefaultPipeline();
    // Bound to the window: a window gone within 100 ms cancels it.
    QTimer::singleShot(100, this, SLOT(FitLoadedPipeline()));
}

MainWindow::~MainWindow()
{
    Guarded("save the splitter positions", [this] { SaveSplitterState(); });
    if (save_default_)
        Guarded("save the pipeline \"default\"", [this] { hub_->save_signal(kDefaultPipeline); });
    Guarded("save the settings files", [this] { hub_->SaveAllControlSettings(); });
    Guarded("clear the node editor", [this] { node_editor_->ClearAll(); });
    commander_.reset();
    delete ui_;
    file_store_.reset();
    hub_.reset();
}

void MainWindow::LoadStyleSheet(const std::string& directory)
{
    ReadStyleSheet(directory);
    ApplyStyleSheet(this);
}

void MainWindow::SetupCentralWidgets()
{
    QWidget* central = ui_->centralWidget;
    grid_ = new QGridLayout(central);
    splitter_h_ = new QSplitter(central);
    scroll_area_ = new QScrollArea(central);
    splitter_v_ = new QSplitter(central);
    splitter_v_->setOrientation(Qt::Vertical);
    pages_ = new QStackedWidget(central);

    node_editor_ = new NodalConnectorTop(hub_, central);
    file_store_ = boost::make_shared<LoaderSaver>(node_editor_, hub_);
    side_panel_ = new SettingsWidgetTop(hub_, central);

    scroll_area_popout_ = new PopoutWigetBase(scroll_area_, central);
    scroll_area_popout_->AddToTopBar(new DisplaySettings(hub_, scroll_area_popout_));
    editor_popout_ = new PopoutWigetBase(node_editor_, central);
    // The page stack adopts it in LayoutCentralWidgets.
    variables_popout_ = new PopoutWigetBase(new VariableViewer(hub_, this), nullptr);
    test_page_ = new TestWidget(hub_, this);
    command_server_ = new ServerQt(hub_, this);
    tick_timer_ = new QTimer(this);

    tool_bar_ = ui_->toolBar;
    tool_bar_->Setup(hub_);

    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setSpacing(0);
}

void MainWindow::LayoutCentralWidgets()
{
    grid_->addWidget(splitter_h_, 1, 0, 1, 2);
    splitter_h_->addWidget(side_panel_);
    splitter_v_->addWidget(pages_);
    splitter_v_->addWidget(log_view_);
    splitter_h_->addWidget(splitter_v_);

    pages_->addWidget(editor_popout_);
    pages_->addWidget(scroll_area_popout_);
    pages_->addWidget(variables_popout_);
    pages_->addWidget(test_page_);
    pages_->setCurrentIndex(0);

    grid_->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum), 2, 0, 1, 2);
    scroll_area_->setWidgetResizable(true);
}

void MainWindow::ConnectSignals()
{
    connect(side_panel_, SIGNAL(ItemChanged(QString)), this, SLOT(SideBarChanged(QString)));
    connect(tick_timer_, SIGNAL(timeout()), this, SLOT(OnOneSecondTick()));
}

void MainWindow::RestoreSplitterState()
{
    QSettings settings;
    splitter_h_->restoreState(settings.value("splitter_h").toByteArray());
    splitter_v_->restoreState(settings.value("splitter_v").toByteArray());
}

void MainWindow::SaveSplitterState()
{
    QSettings settings;
    settings.setValue("splitter_h", splitter_h_->saveState());
    settings.setValue("splitter_v", splitter_v_->saveState());
    settings.sync();
    if (settings.status() != QSettings::NoError)
        FILE_LOG(logERROR) << "Could not save the splitter positions to "
                           << settings.fileName().toStdString();
}

void MainWindow::LoadDefaultPipeline()
{
    const std::string path = ControlAndStatus::GetSettingsDirectory() + kDefaultPipeline + ".xml";
    if (!QFileInfo::exists(QString::fromStdString(path)))
        return;
    // Loading leaves a pipeline stopped; the session was running when it was closed.
    if (Guarded("load the pipeline \"default\"", [this] { hub_->load_signal(kDefaultPipeline); }))
        Guarded("start the pipeline \"default\"", [this] { commander_->Start(); });
    else
        KeepRefusedDefault(path);
}

void MainWindow::KeepRefusedDefault(const std::string& path)
{
    // Otherwise the close would write the empty pipeline over the only copy of the session.
    save_default_ = MoveRefusedFileAside(path, ControlAndStatus::GetSettingsDirectory() + kUnreadableDefault,
                                         ".xml", "The pipeline \"default\"");
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    std::cout << "CLosing " << std::endl;
    emit hub_->GetSharedGUI()->Close();
    QWidget::closeEvent(event);
}

void MainWindow::SideBarChanged(QString button)
{
    if (button == "test")
        pages_->setCurrentWidget(test_page_);
    else if (button == "Variables")
        pages_->setCurrentWidget(variables_popout_);
    else if (button != "Python")
        pages_->setCurrentWidget(editor_popout_);
}

void MainWindow::OnOneSecondTick()
{
    hub_->tick_signal();
}

void MainWindow::on_actionLoad_triggered() {}

void MainWindow::on_actionAbout_triggered()
{
    AboutDialogue* dialogue = new AboutDialogue(this);
    dialogue->exec();
    dialogue->deleteLater();
}

void MainWindow::on_actionZoom_to_Fit_triggered()
{
    emit hub_->GetSharedGUI()->ZoomToFit();
}

// Previews take their height from their first frame, which comes after the first fit.
void MainWindow::FitLoadedPipeline()
{
    node_editor_->View()->FitSceneWhileItGrows(5000);
}

void MainWindow::on_actionZoom_In_triggered()
{
    emit hub_->GetSharedGUI()->ZoomIn();
}

void MainWindow::on_actionZoom_Out_triggered()
{
    emit hub_->GetSharedGUI()->ZoomOut();
}

void MainWindow::on_actionExit_triggered()
{
    StopBackEnd();
    std::fflush(nullptr);
    std::exit(0);
}

void MainWindow::StopBackEnd()
{
    // Nothing is saved. Dropping both owners destroys the commander, which stops and joins
    // the element tests and every connection thread; then nothing posts to the worker pool,
    // whose rescales are stopped and joined too. No thread is left to use OpenCV or Qt
    // while the process's static objects are destroyed.
    Guarded("stop the pipeline", [this] {
        commander_->Stop();
        commander_.reset();
        hub_->SetCommander(nullptr);
    });
    GlobalWorkerPool().Stop();
}

void MainWindow::on_actionClear_triggered()
{
    // The close saves the empty pipeline over "default", the session's only copy.
    PowerCommanderTop* commander = hub_->GetCommander();
    const bool empty = !commander || commander->GetElementIds().empty();
    if (!empty &&
        QMessageBox::question(this, QStringLiteral("New"),
                              QStringLiteral("Remove every element of the pipeline? Closing the "
                                             "window then saves the empty pipeline as \"default\"."),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    node_editor_->ClearAll();
}

void MainWindow::on_actionRestart_triggered()
{
    if (PowerCommanderTop* commander = hub_->GetCommander()) {
        commander->Stop();
        commander->Start();
    }
}

void MainWindow::on_actionNew_View_triggered()
{
    // The window's shortcuts reach only its own window: Ctrl+F must fit the new view too.
    node_editor_->NewViewWindow()->addAction(ui_->actionZoom_to_Fit);
}
