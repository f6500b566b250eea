// The node editor widget against a real commander: making, deleting and rebuilding.
#include "EditorFixture.h"
#include "support/LogCapture.h"

#include "control/LoaderSaver.h"
#include "core/NodeControls.h"
#include "core/SharedGUI.h"
#include "ui/editor/CustomGraphicView.h"
#include "ui/frame/PopOutWindow.h"

#include <QCursor>
#include <QDialog>
#include <QGraphicsProxyWidget>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include <gtest/gtest.h>

#include <thread>

namespace {

// Double-clicks the editor at a point of its view, with the pointer there.
void DoubleClickAt(NodalConnectorTop& editor, const QPoint& view_point)
{
    const QPoint global = editor.View()->mapToGlobal(view_point);
    QCursor::setPos(global);
    QMouseEvent event(QEvent::MouseButtonDblClick, editor.mapFromGlobal(global), global, Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&editor, &event);
}

int CountMessages(LogCapture& log, const std::string& part)
{
    int count = 0;
    for (const std::string& message : log.Messages())
        count += message.find(part) != std::string::npos ? 1 : 0;
    return count;
}

TEST(NodalConnectorTopTest, DoubleClickMakesTheChosenElementUnderThePointer)
{
    EditorFixture f;
    f.MakeEditor();
    f.editor->show();
    f.hub->GetSharedControl<NodeControls>("")->chosen_element_type.Set("Blur");
    const QPoint view_point(300, 200);
    DoubleClickAt(*f.editor, view_point);

    ASSERT_EQ(1u, f.commander->GetElementIds().size());
    ElementNodeBase* node = f.Node("Blur_0");
    ASSERT_NE(nullptr, node);
    // Its outline's top-left corner: the title and ports lie above the node's origin.
    const QPointF expected = f.editor->View()->mapToScene(view_point);
    EXPECT_NEAR(expected.x(), node->sceneBoundingRect().left(), 1.0);
    EXPECT_NEAR(expected.y(), node->sceneBoundingRect().top(), 1.0);
}

TEST(NodalConnectorTopTest, ADoubleClickInTheViewMakesAnElementOnlyOnEmptySpace)
{
    EditorFixture f;
    const std::string blur = f.Make("Blur", 0, 0);
    f.MakeEditor();
    f.editor->show();
    f.editor->View()->centerOn(200, 0);
    QCoreApplication::processEvents();
    f.hub->GetSharedControl<NodeControls>("")->chosen_element_type.Set("Tee");
    QWidget* viewport = f.editor->View()->viewport();
    const auto double_click = [&](const QPointF& scene_point) {
        const QPoint at = f.editor->View()->mapFromScene(scene_point);
        QCursor::setPos(viewport->mapToGlobal(at));
        QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QMouseEvent twice(QEvent::MouseButtonDblClick, at, viewport->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &press);
        QApplication::sendEvent(viewport, &release);
        QApplication::sendEvent(viewport, &twice);
        QApplication::sendEvent(viewport, &release);
    };
    double_click(f.Node(blur)->mapToScene(QPointF(300, -30)));
    EXPECT_EQ(1u, f.commander->GetElementIds().size()) << "the node took the double-click";
    double_click(QPointF(200, -300));
    EXPECT_EQ(2u, f.commander->GetElementIds().size());
    ASSERT_NE(nullptr, f.Node("Tee_0"));
    EXPECT_NEAR(200, f.Node("Tee_0")->sceneBoundingRect().left(), 1.0);
    EXPECT_NEAR(-300, f.Node("Tee_0")->sceneBoundingRect().top(), 1.0);
}

TEST(NodalConnectorTopTest, DoubleClickWithoutAMakeableTypeLogsOneLineAndLeavesNothing)
{
    struct Case {
        const char* type;
        const char* logged;
    };
    for (const Case& c : {Case{"", "No element type chosen"}, Case{"Thresholding", "no such element"}}) {
        EditorFixture f;
        f.MakeEditor();
        f.hub->GetSharedControl<NodeControls>("")->chosen_element_type.Set(c.type);
        LogCapture log;
        DoubleClickAt(*f.editor, QPoint(100, 100));
        f.Settle();
        EXPECT_TRUE(f.commander->GetElementIds().empty()) << c.type;
        EXPECT_TRUE(f.editor->GetAllNodes().empty()) << c.type;
        EXPECT_EQ(1u, log.Messages().size()) << log.Text();
        EXPECT_EQ(1, CountMessages(log, c.logged)) << log.Text();
    }
}

TEST(NodalConnectorTopTest, DeleteRemovesTheSelectedNodesTheirLinksAndRestartsOnce)
{
    EditorFixture f;
    const std::string a = f.Make("Blur", 0, 0);
    const std::string b = f.Make("Blur", 600, 0);
    const std::string c = f.Make("Blur", 1200, 0);
    f.commander->ConnectPads(a, "output", b, "input");
    f.commander->ConnectPads(b, "output", c, "input");
    f.MakeEditor();
    ASSERT_EQ(2, f.LineCount());
    const int restarts = f.RestartCount();

    f.Node(a)->setSelected(true);
    f.Node(b)->setSelected(true);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(f.editor.get(), &press);
    f.Settle();

    EXPECT_EQ(std::vector<std::string>{c}, f.commander->GetElementIds());
    EXPECT_TRUE(f.Links().empty());
    EXPECT_EQ(0, f.LineCount());
    ASSERT_EQ(1u, f.editor->GetAllNodes().size());
    EXPECT_EQ(1, f.RestartCount() - restarts);
}

TEST(NodalConnectorTopTest, DeleteWithNothingSelectedDoesNothing)
{
    EditorFixture f;
    f.Make("Blur", 0, 0);
    f.MakeEditor();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(f.editor.get(), &press);
    f.Settle();
    EXPECT_EQ(1u, f.commander->GetElementIds().size());
    EXPECT_EQ(1u, f.editor->GetAllNodes().size());
}

TEST(NodalConnectorTopTest, RightPressDeletesALineOrANodeWithAnIdHoldingASpace)
{
    EditorFixture f;
    const std::string blur = f.Make("Blur", 0, 0);
    const std::string display = f.Make("Main Display", 700, 0);
    ASSERT_EQ("Main Display_0", display);
    f.commander->ConnectPads(blur, "output", display, "input");
    f.MakeEditor();
    ASSERT_EQ(1, f.LineCount());

    // The middle of the line lies between the two nodes.
    const QPointF middle = (f.Port(blur, "output")->scenePos() + f.Port(display, "input")->scenePos()) / 2;
    f.RightPress(middle);
    f.Settle();
    EXPECT_EQ(0, f.LineCount());
    EXPECT_TRUE(f.Links().empty());
    EXPECT_EQ(2u, f.editor->GetAllNodes().size());

    f.commander->ConnectPads(blur, "output", display, "input");
    f.editor->UpdateFromBackend();
    f.Settle();
    ASSERT_EQ(1, f.LineCount());
    // The title area of the display node.
    f.RightPress(f.Node(display)->mapToScene(QPointF(300, -30)));
    f.Settle();
    EXPECT_EQ(std::vector<std::string>{blur}, f.commander->GetElementIds());
    EXPECT_TRUE(f.Links().empty());
    EXPECT_EQ(0, f.LineCount());
}

TEST(NodalConnectorTopTest, RightPressOnAPortDoesNothing)
{
    EditorFixture f;
    const std::string blur = f.Make("Blur", 0, 0);
    f.MakeEditor();
    f.RightPress(f.Port(blur, "input")->scenePos());
    f.Settle();
    EXPECT_EQ(1u, f.commander->GetElementIds().size());
    EXPECT_EQ(1u, f.editor->GetAllNodes().size());
}

TEST(NodalConnectorTopTest, DeletingOneOfTwoLinesBetweenAPairLeavesNoStaleLine)
{
    EditorFixture f;
    const std::string tee = f.Make("Tee", 0, 0);
    const std::string viv = f.Make("Video In Video", 700, 0);
    f.commander->ConnectPads(tee, "output", viv, "input");
    f.commander->ConnectPads(tee, "cloned output 0", viv, "second input");
    f.MakeEditor();
    ASSERT_EQ(2u, f.Links().size());
    ASSERT_EQ(2, f.LineCount());

    const QPointF middle = (f.Port(tee, "output")->scenePos() + f.Port(viv, "input")->scenePos()) / 2;
    f.RightPress(middle);
    f.Settle();
    EXPECT_TRUE(f.Links().empty());
    EXPECT_EQ(0, f.LineCount());
}

TEST(NodalConnectorTopTest, AFailedConnectLosesItsLineAndLogsTheReply)
{
    EditorFixture f;
    const std::string a = f.Make("Blur", 0, 0);
    const std::string b = f.Make("Blur", 700, 0);
    f.MakeEditor();
    QNEPort* output = f.Port(a, "output");
    QNEPort* input = f.Port(b, "input");
    // The back end refuses: the pad is taken behind the editor's back.
    const std::string c = f.Make("Blur", 0, 600);
    f.commander->ConnectPads(c, "output", b, "input");
    LogCapture log;
    f.editor->MakeConnectionItem(output, input);
    f.editor->ConnectPorts(output, input);
    f.Settle();
    EXPECT_FALSE(output->IsConnected(input));
    EXPECT_EQ(0, f.LineCount());
    EXPECT_EQ(1, CountMessages(log, "A port is connected")) << log.Text();
    EXPECT_TRUE(f.commander->IsPortConnected(b, "input")) << "the other link stays";
}

TEST(NodalConnectorTopTest, AClearCommandEmptiesTheEditor)
{
    EditorFixture f;
    f.Make("Blur", 0, 0);
    f.Make("Tee", 600, 0);
    f.MakeEditor();
    ASSERT_EQ(2u, f.editor->GetAllNodes().size());
    EXPECT_EQ("Success", f.commander->ParseCommand("clear"));
    EXPECT_TRUE(testsupport::WaitFor([&] {
        QCoreApplication::processEvents();
        return f.editor->GetAllNodes().empty();
    }));
}

TEST(NodalConnectorTopTest, RebuildsAreCoalescedAndWaitForAModalDialogue)
{
    EditorFixture f;
    const std::string blur = f.Make("Blur", 0, 0);
    f.MakeEditor();
    // Addresses are reused, so the old node carries a mark instead.
    f.Node(blur)->setData(0, QStringLiteral("old"));
    QDialog dialog;
    dialog.setModal(true);
    dialog.show();
    ASSERT_EQ(&dialog, QApplication::activeModalWidget());
    f.editor->UpdateFromBackend();
    f.hub->reset_pipeline_signal();
    for (int pass = 0; pass < 5; ++pass)
        QCoreApplication::processEvents();
    EXPECT_EQ(QStringLiteral("old"), f.Node(blur)->data(0).toString()) << "rebuilt under a modal dialogue";
    dialog.close();
    f.Settle();
    ASSERT_EQ(1u, f.editor->GetAllNodes().size());
    EXPECT_TRUE(f.Node(blur)->data(0).isNull());
}

TEST(NodalConnectorTopTest, ALoadThroughTheStoreShowsEveryElementAtItsPlaceWithItsLines)
{
    EditorFixture f;
    const std::string a = f.Make("Blur", -120, 40);
    const std::string b = f.Make("Tee", 500, -300);
    const std::string c = f.Make("Main Display", 1100, 250);
    f.commander->ConnectPads(a, "output", b, "input");
    f.commander->ConnectPads(b, "cloned output 1", c, "input");
    f.MakeEditor();
    LoaderSaver store(f.editor.get(), f.hub);
    store.Save("layout");
    f.commander->ParseCommand("clear");
    f.Make("Canny", 0, 0);
    f.Settle();

    store.Load("layout");
    f.Settle();

    ASSERT_EQ(3u, f.editor->GetAllNodes().size());
    const struct {
        std::string id;
        QPointF place;
    } expected[] = {{a, {-120, 40}}, {b, {500, -300}}, {c, {1100, 250}}};
    for (const auto& e : expected) {
        ASSERT_NE(nullptr, f.Node(e.id)) << e.id;
        EXPECT_EQ(e.place, f.Node(e.id)->pos()) << e.id;
    }
    EXPECT_EQ(2, f.LineCount());
    EXPECT_TRUE(f.Port(a, "output")->IsConnected(f.Port(b, "input")));
    EXPECT_TRUE(f.Port(b, "cloned output 1")->IsConnected(f.Port(c, "input")));
}

TEST(NodalConnectorTopTest, AMovedNodeIsSavedAtItsNewPlace)
{
    EditorFixture f;
    const std::string blur = f.Make("Blur", 0, 0);
    f.MakeEditor();
    f.Node(blur)->setPos(-10.7, 33.9);
    const boost::shared_ptr<ElementBase> element = f.commander->GetElement(blur);
    EXPECT_EQ(-10, element->position_x.Get());
    EXPECT_EQ(33, element->position_y.Get());
}

TEST(NodalConnectorTopTest, ANewViewShowsTheSameNodesAndIsFreedWhenClosed)
{
    EditorFixture f;
    f.Make("Blur", 0, 0);
    f.MakeEditor();
    f.editor->NewViewWindow();
    const QList<PopOutWindow*> windows = f.editor->findChildren<PopOutWindow*>();
    ASSERT_EQ(1, windows.size());
    QPointer<PopOutWindow> window = windows.front();
    EXPECT_TRUE(window->isVisible());
    const QList<CustomGraphicView*> views = window->findChildren<CustomGraphicView*>();
    ASSERT_EQ(1, views.size());
    EXPECT_EQ(f.editor->Scene(), views.front()->scene());
    EXPECT_TRUE(views.front()->styleSheet().contains(":/images/background.jpg"));

    f.Make("Tee", 600, 0);
    f.editor->UpdateFromBackend();
    f.Settle();
    const QList<QGraphicsItem*> shown = views.front()->items();
    EXPECT_EQ(2, std::count_if(shown.begin(), shown.end(),
                               [](QGraphicsItem* item) { return item->type() == ElementNodeBase::Type; }));

    window->close();
    EXPECT_TRUE(testsupport::WaitFor([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window.isNull();
    }));
}

TEST(NodalConnectorTopTest, ARightPressOnTheEmbeddedPanelKeepsTheNode)
{
    EditorFixture f;
    const std::string blur = f.Make("Blur", 0, 0);
    f.MakeEditor();
    f.RightPress(f.Node(blur)->mapToScene(QPointF(200, 20)));
    f.Settle();
    EXPECT_EQ(1u, f.commander->GetElementIds().size());
    EXPECT_EQ(1u, f.editor->GetAllNodes().size());
}

TEST(NodalConnectorTopTest, ANodesPanelIsReplacedAtOnceWhenItsElementAsks)
{
    EditorFixture f;
    const std::string blur = f.Make("Blur", 0, 0);
    f.MakeEditor();
    const auto panel = [&]() -> QWidget* {
        for (QGraphicsItem* child : f.Node(blur)->childItems()) {
            if (auto* proxy = dynamic_cast<QGraphicsProxyWidget*>(child))
                return proxy->widget();
        }
        return nullptr;
    };
    QPointer<QWidget> old_panel = panel();
    ASSERT_FALSE(old_panel.isNull());
    f.commander->GetElement(blur)->RequestLayoutUpdate();
    f.editor->RefreshGUI();
    EXPECT_TRUE(old_panel.isNull()) << "the old panel waits for a later deletion";
    EXPECT_NE(nullptr, panel());
    EXPECT_FALSE(f.commander->GetElement(blur)->layout_update_requested.Get());
}

TEST(NodalConnectorTopTest, RebuildsAskedForFromAnotherThreadRunOnceOnTheGuiThread)
{
    EditorFixture f;
    const std::string blur = f.Make("Blur", 0, 0);
    f.MakeEditor();
    f.Node(blur)->setData(0, QStringLiteral("old"));
    SharedGUI* gui = f.hub->GetSharedGUI();
    std::thread tester([gui] {
        for (int i = 0; i < 20; ++i)
            emit gui->UpdateGUIFromBackend();
    });
    tester.join();
    EXPECT_TRUE(testsupport::WaitFor([&] {
        QCoreApplication::processEvents();
        return f.Node(blur) && f.Node(blur)->data(0).isNull();
    }));
    f.Settle();
    EXPECT_EQ(1u, f.editor->GetAllNodes().size());
}

TEST(NodalConnectorTopSaveAllTest, SavesAPictureOfEveryCatalogueElementAndLeavesTheTableEmpty)
{
    EditorFixture f;
    f.MakeEditor();
    f.editor->show();
    ASSERT_TRUE(QMetaObject::invokeMethod(f.editor.get(), "SaveAllElementToFile"));
    const QDir folder(QString::fromStdString(ControlAndStatus::GetImagesDirectory() + "elements"));
    for (const char* type : {"Blur", "Tee", "Main Display", "Video In Video"}) {
        QImage picture(folder.filePath(QString(type) + ".png"));
        EXPECT_FALSE(picture.isNull()) << type;
    }
    EXPECT_TRUE(f.commander->GetElementIds().empty());
    EXPECT_TRUE(f.editor->GetAllNodes().empty());
}

}  // namespace
