// The main window: its form, its actions, the page choice, the start-up load of "default",
// the shutdown sequence and the splitter positions across two starts.
#include "FitChecks.h"
#include "MainWindowTestSupport.h"
#include "TimerTicks.h"
#include "WindowTestSupport.h"

#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "core/NodeControls.h"
#include "core/Output2FILE.h"
#include "ui/editor/CustomGraphicView.h"
#include "ui/editor/ElementNodeBase.h"
#include "ui/editor/NodalConnectorTop.h"
#include "ui/shell/AboutDialogue.h"
#include "ui/shell/MainWindow.h"
#include "ui/shell/ProgramEntry.h"
#include "ui/sidepanel/SettingsWidgetTop.h"
#include "ui/toolbar/CameraBar.h"
#include "ui/toolbar/NumberDisplay.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QGraphicsItem>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QCursor>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>
#include <QWidgetAction>

#include <boost/make_shared.hpp>

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <unistd.h>

using windowtest::ProcessEventsFor;

namespace {

// The lines the text box shows in its viewport, each with its line end.
QString VisibleLines(QPlainTextEdit& box)
{
    const QRect shown = box.viewport()->rect();
    const int bottom = box.cursorForPosition(shown.bottomLeft()).block().blockNumber();
    QString visible;
    for (QTextBlock block = box.cursorForPosition(shown.topLeft()).block();
         block.isValid() && block.blockNumber() <= bottom; block = block.next())
        visible += block.text() + "\n";
    return visible;
}

enum class NewAnswer { kYes, kNo, kEscape };

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        hub_ = boost::make_shared<ControlAndStatus>();
        window_ = std::make_unique<MainWindow>(hub_);
        // Past the start-up zoom to fit, which then follows the nodes for a while.
        ASSERT_TRUE(windowtest::WaitForGui([this] { return View().FitsWhileItGrows(); }));
    }
    void TearDown() override
    {
        window_.reset();
        hub_->SetCommander(nullptr);
    }

    QAction* Action(const char* name) { return window_->findChild<QAction*>(name); }
    // File > New, answering its question when one comes; whether one came and went.
    bool NewAnswering(NewAnswer answer);
    void BuildSpreadPipeline();
    PowerCommanderTop& Commander() { return *hub_->GetCommander(); }
    CustomGraphicView& View() { return *window_->NodeEditor()->View(); }

    windowtest::ScopedUserFolder folder_;
    boost::shared_ptr<ControlAndStatus> hub_;
    std::unique_ptr<MainWindow> window_;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool MainWindowTest::NewAnswering(NewAnswer answer)
{
    // The question runs its own event loop inside the trigger; this timer answers it there.
    bool asked = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        asked = box->button(QMessageBox::Yes) && box->button(QMessageBox::No);
        if (answer == NewAnswer::kYes && asked)
            box->button(QMessageBox::Yes)->click();
        else if (answer == NewAnswer::kNo && asked)
            box->button(QMessageBox::No)->click();
        else
            QTest::keyClick(box, Qt::Key_Escape);
    });
    poll.start(10);
    Action("actionClear")->trigger();
    poll.stop();
    windowtest::SettleEditor(*window_->NodeEditor());
    return asked;
}

// Six nodes spread wide, one with a drop-down list (whose closed list is an item too).
void MainWindowTest::BuildSpreadPipeline()
{
    const struct {
        const char* type;
        int x, y;
    } nodes[] = {{"Blur", 0, 0},           {"Tee", 900, -400},   {"Blur", 1800, 300},
                 {"Threshold", -700, 900}, {"Blur", 2600, 1400}, {"Tee", 400, 2000}};
    for (const auto& n : nodes) {
        const std::string id = Commander().MakeElement(n.type, "");
        Commander().GetElement(id)->position_x.Set(n.x);
        Commander().GetElement(id)->position_y.Set(n.y);
    }
    window_->NodeEditor()->UpdateFromBackend();
    windowtest::SettleEditor(*window_->NodeEditor());
}

// What of a node shows: its outline, ports, texts and panel, without hidden parts.
QRectF ShownExtent(const QGraphicsItem* item)
{
    QRectF extent = item->sceneBoundingRect();
    for (const QGraphicsItem* child : item->childItems())
        if (child->isVisible())
            extent |= ShownExtent(child);
    return extent;
}

// Every node whole in the view's viewport, and the nodes in its middle.
::testing::AssertionResult NodesShownAndCentred(NodalConnectorTop& editor, const QGraphicsView& view)
{
    fitchecks::NamedRects nodes;
    for (ElementNodeBase* node : editor.GetAllNodes())
        nodes.emplace_back(node->GetElementId(), ShownExtent(node));
    return fitchecks::ShownAndCentred(view, nodes);
}

}  // namespace

TEST_F(MainWindowTest, TitleAndObjectNames)
{
    EXPECT_EQ("Orvane - Computer vision, one node at a time - pre-alpha release.", window_->windowTitle());
    EXPECT_EQ("MainWindow", window_->objectName());
    EXPECT_EQ("centralWidget", window_->centralWidget()->objectName());
    EXPECT_EQ("menuBar", window_->menuBar()->objectName());
    EXPECT_FALSE(window_->windowIcon().isNull());
    ASSERT_NE(nullptr, window_->findChild<QToolBar*>("toolBar"));
    EXPECT_EQ("toolBar", window_->findChild<QToolBar*>("toolBar")->windowTitle());
}

TEST_F(MainWindowTest, FiveMenusInOrderWithTheirActions)
{
    const struct {
        const char* object_name;
        const char* title;
        std::vector<std::string> actions;
    } menus[] = {
        {"menuFile", "File", {"actionClear", "actionExit"}},
        {"menuEdit", "View", {"actionZoom_In", "actionZoom_Out", "actionZoom_to_Fit"}},
        {"menuPipeline", "Pipeline", {"actionRestart"}},
        {"menuWindow", "Window", {"actionNew_View"}},
        {"menuHelp", "Help", {"actionAbout"}},
    };
    const QList<QAction*> bar = window_->menuBar()->actions();
    ASSERT_EQ(5, bar.size());
    for (int i = 0; i < 5; ++i) {
        QMenu* menu = bar[i]->menu();
        ASSERT_NE(nullptr, menu);
        EXPECT_EQ(menus[i].object_name, menu->objectName());
        EXPECT_EQ(menus[i].title, menu->title());
        std::vector<std::string> names;
        for (QAction* action : menu->actions())
            names.push_back(action->objectName().toStdString());
        EXPECT_EQ(menus[i].actions, names) << menus[i].title;
    }
}

TEST_F(MainWindowTest, EachActionHasItsTextToolTipShortcutAndIcon)
{
    const struct {
        const char* name;
        const char* text;
        const char* tool_tip;  // null: none of its own
        const char* shortcut;
        bool icon;
    } actions[] = {
        {"actionExit", "Exit", nullptr, "", false},
        {"actionAbout", "About...", nullptr, "", false},
        {"actionZoom_In", "Zoom In", nullptr, "Ctrl+=", true},
        {"actionZoom_Out", "Zoom Out", nullptr, "Ctrl+-", true},
        {"actionZoom_to_Fit", "Zoom to Fit", nullptr, "Ctrl+F", true},
        {"actionClear", "New", "Clears all of the elements", "Shift+Del", true},
        {"actionRestart", "Restart", "Restarts the pipeline", "Ctrl+R", true},
        {"actionNew_View", "New View", nullptr, "", true},
        {"actionOrvane", "Orvane", "Orvane", "", true},
    };
    for (const auto& a : actions) {
        QAction* action = Action(a.name);
        ASSERT_NE(nullptr, action) << a.name;
        EXPECT_EQ(a.text, action->text()) << a.name;
        if (a.tool_tip) {
            EXPECT_EQ(a.tool_tip, action->toolTip()) << a.name;
        }
        EXPECT_EQ(QKeySequence(a.shortcut), action->shortcut()) << a.name;
        // The picture itself must load, not only the icon's file name.
        EXPECT_EQ(a.icon, !action->icon().pixmap(24, 24).isNull()) << a.name;
    }
}

TEST_F(MainWindowTest, ToolBarReadsEngineButtonsActionsCameraBarAndCpuGraph)
{
    std::vector<std::string> order;
    for (QAction* action : window_->findChild<QToolBar*>("toolBar")->actions()) {
        if (auto* widget_action = qobject_cast<QWidgetAction*>(action))
            order.push_back(widget_action->defaultWidget()->metaObject()->className());
        else if (action->isSeparator())
            order.push_back("|");
        else
            order.push_back(action->objectName().toStdString());
    }
    const std::vector<std::string> expected = {"EngineControlButtons",
                                               "actionZoom_In",
                                               "actionZoom_Out",
                                               "actionZoom_to_Fit",
                                               "|",
                                               "actionClear",
                                               "actionRestart",
                                               "actionNew_View",
                                               "actionOrvane",
                                               "CameraBar",
                                               "CpuGraph"};
    EXPECT_EQ(expected, order);
}

TEST_F(MainWindowTest, ZoomInAndOutScaleTheEditorBy115)
{
    const double start = View().transform().m11();
    Action("actionZoom_In")->trigger();
    EXPECT_NEAR(start * 1.15, View().transform().m11(), 1e-9);
    EXPECT_NEAR(start * 1.15, View().transform().m22(), 1e-9);
    Action("actionZoom_Out")->trigger();
    Action("actionZoom_Out")->trigger();
    EXPECT_NEAR(start / 1.15, View().transform().m11(), 1e-9);
}

TEST_F(MainWindowTest, NewEmptiesTheElementTableAndTheEditor)
{
    testsupport::TempDir images;
    windowtest::BuildImagePipeline(Commander(), *window_->NodeEditor(),
                                   windowtest::WriteFixtureImage(images.Path()));
    ASSERT_EQ(2u, Commander().GetElementIds().size());
    ASSERT_EQ(2, windowtest::NodeCount(*window_->NodeEditor()));
    ASSERT_TRUE(NewAnswering(NewAnswer::kYes));
    EXPECT_TRUE(Commander().GetElementIds().empty());
    EXPECT_EQ(0, windowtest::NodeCount(*window_->NodeEditor()));
}

// One key (Shift+Del, beside Delete) would lose the session: the next close saves the
// empty pipeline over "default".
TEST_F(MainWindowTest, NewAsksFirstAndNoOrEscapeKeepEverything)
{
    testsupport::TempDir images;
    windowtest::BuildImagePipeline(Commander(), *window_->NodeEditor(),
                                   windowtest::WriteFixtureImage(images.Path()));
    for (NewAnswer answer : {NewAnswer::kNo, NewAnswer::kEscape}) {
        ASSERT_TRUE(NewAnswering(answer));
        EXPECT_EQ(2u, Commander().GetElementIds().size());
        EXPECT_EQ(1u, Commander().GetElementTable()->GetAllConnections().size());
        EXPECT_EQ(2, windowtest::NodeCount(*window_->NodeEditor()));
    }
    const long frames = windowtest::FramesPassed(Commander());
    EXPECT_TRUE(testsupport::WaitFor([&] { return windowtest::FramesPassed(Commander()) > frames + 2; }))
        << "the kept pipeline still runs";
    ASSERT_TRUE(NewAnswering(NewAnswer::kYes));
    EXPECT_TRUE(Commander().GetElementIds().empty());
    EXPECT_EQ(0, windowtest::NodeCount(*window_->NodeEditor()));
}

TEST_F(MainWindowTest, NewOnAnEmptyPipelineAsksNothing)
{
    EXPECT_FALSE(NewAnswering(NewAnswer::kYes));
    EXPECT_TRUE(Commander().GetElementIds().empty());
}

// A source writes the frames of its last second on each tick; once New has taken it
// away, nothing did, and the last figure stayed.
TEST_F(MainWindowTest, FramesPerSecondFallsToZeroOnceNewHasTakenTheSourceAway)
{
    testsupport::TempDir frames;
    for (int n = 1; n <= 3; ++n) {
        QImage image(32, 24, QImage::Format_RGB888);
        image.fill(QColor(10 * n, 0, 0));
        ASSERT_TRUE(image.save(QString::fromStdString(frames.Path() + "/f_" + std::to_string(n) + ".png")));
    }
    const std::string reader = Commander().MakeElement("Video Read", "");
    Commander().GetElement(reader)->settings.SetValue("_file_path", frames.Path() + "/f_1.png", "");
    Commander().ConnectElements(reader, Commander().MakeElement("Blur", ""));
    Commander().Start();
    window_->NodeEditor()->UpdateFromBackend();
    NumberDisplay* rate = window_->findChild<CameraBar*>()->FramesPerSecond();
    ASSERT_TRUE(windowtest::WaitForGui([&] { return rate->NumberText() != "00"; }))
        << "the video's rate shows while it plays";

    ASSERT_TRUE(NewAnswering(NewAnswer::kYes));
    QElapsedTimer since_new;
    since_new.start();
    EXPECT_TRUE(windowtest::WaitForGui([&] { return rate->NumberText() == "00"; }, std::chrono::seconds(5)));
    EXPECT_LT(since_new.elapsed(), 2000);
}

// Nodes spread wide: the view's fit used to count the hidden list of a drop-down box,
// leaving the left and top of the view empty and cutting off the lowest nodes.
TEST_F(MainWindowTest, ZoomToFitShowsEveryNodeCentredOnEveryPress)
{
    window_->resize(1600, 1000);
    window_->show();
    BuildSpreadPipeline();
    for (int press = 1; press <= 2; ++press) {
        Action("actionZoom_to_Fit")->trigger();
        EXPECT_TRUE(NodesShownAndCentred(*window_->NodeEditor(), View())) << "press " << press;
    }
}

TEST_F(MainWindowTest, NewViewOpensFittedAndZoomToFitFitsItAgain)
{
    window_->resize(1600, 1000);
    window_->show();
    BuildSpreadPipeline();
    Action("actionNew_View")->trigger();
    CustomGraphicView* second = nullptr;
    ASSERT_TRUE(windowtest::WaitForGui([&] {
        for (CustomGraphicView* view : window_->findChildren<CustomGraphicView*>())
            if (view != window_->NodeEditor()->View() && view->isVisible())
                second = view;
        return second != nullptr;
    }));
    EXPECT_TRUE(windowtest::WaitForGui([&] { return NodesShownAndCentred(*window_->NodeEditor(), *second); },
                                       std::chrono::seconds(5)))
        << NodesShownAndCentred(*window_->NodeEditor(), *second).message();

    // Its own window's Ctrl+F reaches the action.
    EXPECT_TRUE(second->window()->actions().contains(Action("actionZoom_to_Fit")));
    second->ZoomIn();
    second->ZoomIn();
    ASSERT_FALSE(NodesShownAndCentred(*window_->NodeEditor(), *second));
    Action("actionZoom_to_Fit")->trigger();
    EXPECT_TRUE(NodesShownAndCentred(*window_->NodeEditor(), *second));
}

// While the start's fit follows the nodes, a placed node pulled the view to itself.
TEST_F(MainWindowTest, ADoubleClickPlacesTheNodeThereWithoutMovingTheView)
{
    window_->resize(1600, 1000);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    ASSERT_TRUE(View().FitsWhileItGrows());
    hub_->GetSharedControl<NodeControls>("")->chosen_element_type.Set("Blur");
    const QTransform before = View().transform();
    const int h = View().horizontalScrollBar()->value();
    const int v = View().verticalScrollBar()->value();
    // Near the top of the view: the node's title lies above its origin.
    const QPoint at(300, 12);
    const QPoint global = View().viewport()->mapToGlobal(at);
    QCursor::setPos(global);
    NodalConnectorTop& editor = *window_->NodeEditor();
    QMouseEvent twice(QEvent::MouseButtonDblClick, editor.mapFromGlobal(global), global, Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&editor, &twice);
    windowtest::SettleEditor(editor);
    ASSERT_EQ(1, windowtest::NodeCount(editor));
    ProcessEventsFor(300);  // the node's panel lays itself out; the view must stay

    EXPECT_EQ(before, View().transform());
    EXPECT_EQ(h, View().horizontalScrollBar()->value());
    EXPECT_EQ(v, View().verticalScrollBar()->value());
    const QRect shown = View().mapFromScene(ShownExtent(editor.GetAllNodes().front())).boundingRect();
    const QRect outline =
        View().mapFromScene(editor.GetAllNodes().front()->sceneBoundingRect()).boundingRect();
    EXPECT_NEAR(at.x(), outline.left(), 1);
    EXPECT_NEAR(at.y(), outline.top(), 1);
    EXPECT_GE(shown.top(), 0) << "the whole node is below the top edge";
}

TEST_F(MainWindowTest, RestartStartsAStoppedPipelineAgain)
{
    testsupport::TempDir images;
    windowtest::BuildImagePipeline(Commander(), *window_->NodeEditor(),
                                   windowtest::WriteFixtureImage(images.Path()));
    ASSERT_TRUE(testsupport::WaitFor([&] { return windowtest::FramesPassed(Commander()) > 2; }));
    Commander().Stop();
    const long stopped = windowtest::FramesPassed(Commander());
    ProcessEventsFor(200);
    ASSERT_EQ(stopped, windowtest::FramesPassed(Commander()));

    Action("actionRestart")->trigger();
    EXPECT_TRUE(testsupport::WaitFor([&] { return windowtest::FramesPassed(Commander()) > stopped + 2; }));
    // A running pipeline restarts and keeps flowing.
    Action("actionRestart")->trigger();
    const long restarted = windowtest::FramesPassed(Commander());
    EXPECT_TRUE(testsupport::WaitFor([&] { return windowtest::FramesPassed(Commander()) > restarted + 2; }));
}

TEST_F(MainWindowTest, SideBarChangedPicksThePage)
{
    const struct {
        const char* button;
        int from;
        int page;
    } cases[] = {
        {"test", 0, 3},     {"Variables", 0, 2}, {"Python", 3, 3}, {"Python", 1, 1},    {"Elements", 2, 0},
        {"Settings", 3, 0}, {"", 1, 0},          {"Test", 3, 0},   {"variables", 2, 0},
    };
    for (const auto& c : cases) {
        window_->Pages()->setCurrentIndex(c.from);
        QMetaObject::invokeMethod(window_.get(), "SideBarChanged", Q_ARG(QString, c.button));
        EXPECT_EQ(c.page, window_->Pages()->currentIndex()) << c.button << " from " << c.from;
    }
    // The side panel's own buttons reach it: each shows the node editor page.
    auto* side_panel = window_->findChild<SettingsWidgetTop*>();
    ASSERT_NE(nullptr, side_panel);
    for (const char* button : {"Settings", "Elements"}) {
        window_->Pages()->setCurrentIndex(3);
        QMetaObject::invokeMethod(side_panel, "SetWidgetShown", Q_ARG(QString, button));
        EXPECT_EQ(0, window_->Pages()->currentIndex()) << button;
    }
}

TEST_F(MainWindowTest, AboutShowsTheResourceAndGoesAway)
{
    QFile resource(":/Messages/About.txt");
    ASSERT_TRUE(resource.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(resource.readAll());
    QString shown;
    QPointer<QWidget> dialogue;
    QTimer::singleShot(50, [&] {
        dialogue = QApplication::activeModalWidget();
        if (auto* about = qobject_cast<AboutDialogue*>(dialogue.data())) {
            shown = about->findChild<QLabel*>()->text();
            about->close();
        }
    });
    Action("actionAbout")->trigger();
    EXPECT_EQ(text, shown);
    ASSERT_FALSE(dialogue.isNull());
    EXPECT_EQ(window_.get(), dialogue->parentWidget());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialogue.isNull());
}

TEST_F(MainWindowTest, ClosingWritesClosingThenTheDestructorSavesDefaultAndTheSettingsFiles)
{
    window_->show();
    window_->close();
    EXPECT_TRUE(windowtest::LogViewText(*window_).contains("CLosing \n"));
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(folder_.OrvaneFolder() + "default.xml")));
    window_.reset();
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(folder_.OrvaneFolder() + "default.xml")));
    for (const char* record : {"shared gui.txt", "node controls.txt"})
        EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(folder_.OrvaneFolder() + record))) << record;
    EXPECT_TRUE(QFileInfo::exists(folder_.QtSettingsFile()));
}

TEST_F(MainWindowTest, SplitterPositionsSurviveASecondStart)
{
    window_->resize(1200, 800);
    window_->show();
    ProcessEventsFor(50);
    const QList<int> before = window_->HorizontalSplitter()->sizes();
    ASSERT_EQ(2, before.size());
    window_->HorizontalSplitter()->setSizes({before[0] + 150, before[1] - 150});
    window_->VerticalSplitter()->setSizes({500, 177});
    ProcessEventsFor(50);
    const QList<int> sizes = window_->HorizontalSplitter()->sizes();
    ASSERT_NE(before, sizes);
    const QByteArray horizontal = window_->HorizontalSplitter()->saveState();
    const QByteArray vertical = window_->VerticalSplitter()->saveState();
    window_.reset();
    hub_->SetCommander(nullptr);

    hub_ = boost::make_shared<ControlAndStatus>();
    window_ = std::make_unique<MainWindow>(hub_);
    EXPECT_EQ(horizontal, window_->HorizontalSplitter()->saveState());
    EXPECT_EQ(vertical, window_->VerticalSplitter()->saveState());
    window_->resize(1200, 800);
    window_->show();
    ProcessEventsFor(50);
    EXPECT_EQ(sizes, window_->HorizontalSplitter()->sizes());
}

TEST_F(MainWindowTest, AClosedSessionComesBackAtTheNextStart)
{
    testsupport::TempDir images;
    const std::string image = windowtest::WriteFixtureImage(images.Path());
    windowtest::BuildImagePipeline(Commander(), *window_->NodeEditor(), image);
    window_.reset();
    hub_->SetCommander(nullptr);

    hub_ = boost::make_shared<ControlAndStatus>();
    window_ = std::make_unique<MainWindow>(hub_);
    window_->show();  // a shown window must not hold the editor's rebuilds
    windowtest::SettleEditor(*window_->NodeEditor());
    ASSERT_FALSE(window_->NodeEditor()->HasQueuedWork());
    ASSERT_EQ(2u, Commander().GetElementIds().size());
    EXPECT_EQ(2, windowtest::NodeCount(*window_->NodeEditor()));
    EXPECT_EQ(1u, Commander().GetElementTable()->GetAllConnections().size());
    const std::string reader = Commander().GetElementIds().front();
    EXPECT_EQ(image, Commander().GetElement(reader)->settings.GetValueAsString("_file_path"));
    // It runs again, as it did when the window closed.
    EXPECT_TRUE(testsupport::WaitFor([&] { return windowtest::FramesPassed(Commander()) > 2; }));

    // 100 ms after start the view fits the nodes: it is no longer at scale 1.
    ProcessEventsFor(200);
    EXPECT_NE(1.0, View().transform().m11());
}

// A "default" the load refuses would be replaced by the empty pipeline at the next close. Each
// refused start keeps its own copy, under the first free name.
TEST_F(MainWindowTest, ARefusedDefaultIsMovedAsideLoggedAndKeptThroughTheNextClose)
{
    const char* const contents[] = {
        "<top><Element id=\"Blur_0\" type=\"Blur\"></Elment></top>",
        "<!DOCTYPE XML>\n<top>\n  <Element id=\"Blur_0\" type=\"Blur\">\n    <Settings na",
    };
    const std::string path = folder_.OrvaneFolder() + "default.xml";
    const std::string kept[] = {folder_.OrvaneFolder() + "default-unreadable.xml",
                                folder_.OrvaneFolder() + "default-unreadable-1.xml"};
    for (int start = 0; start < 2; ++start) {
        SCOPED_TRACE(start);
        window_.reset();
        hub_->SetCommander(nullptr);
        std::ofstream(path) << contents[start];

        hub_ = boost::make_shared<ControlAndStatus>();
        window_ = std::make_unique<MainWindow>(hub_);
        windowtest::SettleEditor(*window_->NodeEditor());
        const QString log = windowtest::LogViewText(*window_);
        EXPECT_TRUE(log.contains("Could not load the pipeline \"default\""));
        EXPECT_TRUE(log.contains(QString::fromStdString("moved aside to " + kept[start] + "\n")))
            << log.toStdString();
        EXPECT_TRUE(Commander().GetElementIds().empty());
        EXPECT_EQ(0, windowtest::NodeCount(*window_->NodeEditor()));

        window_.reset();
        for (int earlier = 0; earlier <= start; ++earlier)
            EXPECT_EQ(contents[earlier], ReadFile(kept[earlier]))
                << "the close left copy " << earlier << " alone";
        EXPECT_NE(std::string::npos, ReadFile(path).find("<top")) << "and saved \"default\"";
    }
}

TEST_F(MainWindowTest, AFailedSaveIsLoggedAndTheLaterShutdownStepsStillRun)
{
    testsupport::TempDir images;
    windowtest::BuildImagePipeline(Commander(), *window_->NodeEditor(),
                                   windowtest::WriteFixtureImage(images.Path()));
    // A folder where the pipeline file should go: the store cannot write it.
    std::filesystem::create_directories(folder_.OrvaneFolder() + "default.xml");
    Output2FILE::Drain();
    window_.reset();
    EXPECT_NE(std::string::npos, Output2FILE::Drain().find("Could not save the pipeline \"default\""));
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(folder_.OrvaneFolder() + "node controls.txt")));
    EXPECT_TRUE(Commander().GetElementIds().empty());  // the editor was cleared
}

TEST_F(MainWindowTest, AFailedSettingsFileIsAnErrorAndTheEditorIsStillCleared)
{
    testsupport::TempDir images;
    windowtest::BuildImagePipeline(Commander(), *window_->NodeEditor(),
                                   windowtest::WriteFixtureImage(images.Path()));
    std::filesystem::create_directories(folder_.OrvaneFolder() + "node controls.txt");
    Output2FILE::Drain();
    window_.reset();
    const std::string log = Output2FILE::Drain();
    EXPECT_NE(std::string::npos, log.find("[ERROR]"));
    EXPECT_NE(std::string::npos,
              log.find("Could not write the settings file " + folder_.OrvaneFolder() + "node controls.txt"));
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(folder_.OrvaneFolder() + "shared gui.txt")));
    EXPECT_TRUE(Commander().GetElementIds().empty());
}

TEST_F(MainWindowTest, TheStartUpZoomIsCancelledWithTheWindow)
{
    window_.reset();
    hub_->SetCommander(nullptr);
    hub_ = boost::make_shared<ControlAndStatus>();
    window_ = std::make_unique<MainWindow>(hub_);
    window_.reset();
    // Past the window's 100 ms timer, started before this beat: one outliving the window
    // would touch freed memory here.
    ASSERT_TRUE(windowtest::WaitIntervals(std::chrono::milliseconds(100), 2));
    for (QWidget* widget : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<MainWindow*>(widget), nullptr);
    // The hub keeps its commander link; the window cleared the commander's table.
    ASSERT_NE(hub_->GetCommander(), nullptr);
    EXPECT_TRUE(hub_->GetCommander()->GetElementIds().empty());
}

TEST(RunMainWindowTest, TheHubLetsTheCommanderGoOnceTheWindowHasClosed)
{
    windowtest::ScopedUserFolder folder;
    auto hub = boost::make_shared<ControlAndStatus>();
    QTimer::singleShot(200, [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (qobject_cast<MainWindow*>(widget))
                widget->close();
    });
    // Once the log view has gone, std::cout writes to the real standard output again:
    // catch it in a file to see the commander's last words.
    const std::string output = folder.Home() + "/stdout.txt";
    std::fflush(stdout);
    const int saved_stdout = dup(STDOUT_FILENO);
    const int file = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(file, STDOUT_FILENO);
    const int result = RunMainWindow(hub);
    std::cout.flush();
    std::fflush(stdout);
    dup2(saved_stdout, STDOUT_FILENO);
    close(file);
    close(saved_stdout);

    EXPECT_EQ(0, result);
    EXPECT_EQ(nullptr, hub->GetCommander());
    const std::string written = ReadFile(output);
    EXPECT_NE(std::string::npos, written.find("Destroyed Commander")) << written;
}

// The lines of the start come after the welcome text, so the last lines a person sees in the log
// view say why the editor is empty and where the refused files went.
TEST(RunMainWindowTest, TheStartsOwnLinesFollowTheWelcomeTextAndEndTheLogView)
{
    windowtest::ScopedUserFolder folder;
    const std::string orvane = folder.OrvaneFolder();
    std::filesystem::create_directories(orvane);
    std::ofstream(orvane + "default.xml") << "<top><Element id=\"Blur_0\"";
    std::ofstream(orvane + "FrameRateSettings.txt")
        << "_global_frame_rate=12\n#" << std::string(1 << 20, 'x');
    auto hub = boost::make_shared<ControlAndStatus>();
    QString log;
    QString visible;
    QTimer::singleShot(0, [&] {
        MainWindow* window = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            window = window ? window : qobject_cast<MainWindow*>(widget);
        windowtest::SettleEditor(*window->NodeEditor());
        ProcessEventsFor(50);
        log = windowtest::LogViewText(*window);
        visible = VisibleLines(*window->findChild<LoggingWidget*>()->TextBox());
        window->close();
    });
    EXPECT_EQ(0, RunMainWindow(hub));

    const std::string welcome = WelcomeText();
    const int welcome_end = log.indexOf(QString::fromStdString(welcome.substr(welcome.rfind('\n') + 1)));
    ASSERT_GE(welcome_end, 0) << log.toStdString();
    EXPECT_GT(log.indexOf(QString::fromStdString("moved aside to " + orvane + "default-unreadable.xml")),
              welcome_end)
        << log.toStdString();
    EXPECT_GT(
        log.indexOf(QString::fromStdString("moved aside to " + orvane + "FrameRateSettings-unreadable.txt")),
        welcome_end)
        << log.toStdString();
    EXPECT_TRUE(visible.contains("default-unreadable.xml")) << visible.toStdString();
}

TEST_F(MainWindowTest, NewViewShowsTheEditorsSceneInAWindowOfItsOwn)
{
    window_->show();
    Action("actionNew_View")->trigger();
    ProcessEventsFor(20);
    CustomGraphicView* second = nullptr;
    for (CustomGraphicView* view : window_->findChildren<CustomGraphicView*>())
        if (view != window_->NodeEditor()->View())
            second = view;
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(window_->NodeEditor()->Scene(), second->scene());
    EXPECT_TRUE(second->isVisible());
    EXPECT_TRUE(second->window()->isWindow());
    EXPECT_NE(window_.get(), second->window());
}
