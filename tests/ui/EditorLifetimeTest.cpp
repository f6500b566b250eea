// Tearing the editor down and rebuilding it at awkward moments; these are the cases the
// address sanitizer run watches.
#include "EditorFixture.h"

#include "ui/editor/QNodesEditor.h"

#include <gtest/gtest.h>

namespace {

TEST(EditorLifetimeTest, DestroyingTheEditorWithLinkedNodesLeavesTheBackEndAlone)
{
    EditorFixture f;
    const std::string a = f.Make("Blur", 0, 0);
    const std::string b = f.Make("Tee", 600, 0);
    f.commander->ConnectPads(a, "output", b, "input");
    f.MakeEditor();
    ASSERT_EQ(1, f.LineCount());
    const int restarts = f.RestartCount();
    f.editor.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(2u, f.commander->GetElementIds().size());
    EXPECT_EQ(1u, f.Links().size());
    EXPECT_EQ(restarts, f.RestartCount());
}

TEST(EditorLifetimeTest, DestroyingTheEditorDuringADragDropsTheDraggedLine)
{
    EditorFixture f;
    const std::string a = f.Make("Blur", 0, 0);
    f.MakeEditor();
    const QPointF start = f.Port(a, "output")->scenePos();
    f.SceneMouse(QEvent::GraphicsSceneMousePress, start, Qt::LeftButton);
    f.SceneMouse(QEvent::GraphicsSceneMouseMove, start + QPointF(200, 50), Qt::LeftButton);
    ASSERT_TRUE(f.editor->Editor()->IsDragging());
    f.editor.reset();
    EXPECT_EQ(1u, f.commander->GetElementIds().size());
}

TEST(EditorLifetimeTest, ARebuildDuringADragCancelsTheDragFirst)
{
    EditorFixture f;
    const std::string a = f.Make("Blur", 0, 0);
    const std::string b = f.Make("Blur", 700, 0);
    f.commander->ConnectPads(a, "output", b, "input");
    const std::string c = f.Make("Blur", 0, 700);
    f.MakeEditor();
    const QPointF start = f.Port(c, "output")->scenePos();
    f.SceneMouse(QEvent::GraphicsSceneMousePress, start, Qt::LeftButton);
    f.SceneMouse(QEvent::GraphicsSceneMouseMove, start + QPointF(100, 0), Qt::LeftButton);
    ASSERT_TRUE(f.editor->Editor()->IsDragging());

    f.editor->UpdateFromBackend();
    f.Settle();
    EXPECT_FALSE(f.editor->Editor()->IsDragging());
    // The release of the cancelled drag lands on a port of the rebuilt scene.
    f.SceneMouse(QEvent::GraphicsSceneMouseMove, f.Port(a, "input")->scenePos(), Qt::LeftButton);
    f.SceneMouse(QEvent::GraphicsSceneMouseRelease, f.Port(a, "input")->scenePos(), Qt::LeftButton);
    f.Settle();
    EXPECT_EQ(1, f.LineCount());
    EXPECT_EQ(1u, f.Links().size());
    EXPECT_EQ(f.LineCount(), static_cast<int>(f.editor->GetAllLines().size()));
}

TEST(EditorLifetimeTest, DeleteDuringADragDoesNotLeaveTheDragDangling)
{
    EditorFixture f;
    const std::string a = f.Make("Blur", 0, 0);
    f.MakeEditor();
    const QPointF start = f.Port(a, "output")->scenePos();
    f.SceneMouse(QEvent::GraphicsSceneMousePress, start, Qt::LeftButton);
    f.SceneMouse(QEvent::GraphicsSceneMouseMove, start + QPointF(100, 0), Qt::LeftButton);
    f.Node(a)->setSelected(true);
    f.editor->DeleteSelected();
    f.SceneMouse(QEvent::GraphicsSceneMouseMove, start + QPointF(150, 0), Qt::LeftButton);
    f.SceneMouse(QEvent::GraphicsSceneMouseRelease, start + QPointF(150, 0), Qt::LeftButton);
    f.Settle();
    EXPECT_TRUE(f.commander->GetElementIds().empty());
    EXPECT_TRUE(f.editor->GetAllLines().empty());
}

TEST(EditorLifetimeTest, ARightPressDuringADragIsIgnored)
{
    EditorFixture f;
    const std::string a = f.Make("Blur", 0, 0);
    const std::string b = f.Make("Blur", 700, 0);
    f.MakeEditor();
    const QPointF start = f.Port(a, "output")->scenePos();
    f.SceneMouse(QEvent::GraphicsSceneMousePress, start, Qt::LeftButton);
    f.RightPress(f.Node(a)->mapToScene(QPointF(200, -30)));
    EXPECT_EQ(2u, f.commander->GetElementIds().size());
    f.SceneMouse(QEvent::GraphicsSceneMouseMove, f.Port(b, "input")->scenePos(), Qt::LeftButton);
    f.SceneMouse(QEvent::GraphicsSceneMouseRelease, f.Port(b, "input")->scenePos(), Qt::LeftButton);
    f.Settle();
    EXPECT_EQ(1u, f.Links().size());
    EXPECT_EQ(1, f.LineCount());
}

TEST(EditorLifetimeTest, ALeftPressAfterALostReleaseDropsTheStaleLine)
{
    EditorFixture f;
    const std::string a = f.Make("Blur", 0, 0);
    f.MakeEditor();
    const QPointF start = f.Port(a, "output")->scenePos();
    f.SceneMouse(QEvent::GraphicsSceneMousePress, start, Qt::LeftButton);
    // The release went elsewhere; the next press is on empty space.
    f.SceneMouse(QEvent::GraphicsSceneMousePress, QPointF(-3000, -3000), Qt::LeftButton);
    f.SceneMouse(QEvent::GraphicsSceneMouseRelease, QPointF(-3000, -3000), Qt::LeftButton);
    EXPECT_FALSE(f.editor->Editor()->IsDragging());
    EXPECT_TRUE(f.editor->GetAllLines().empty());
}

TEST(EditorLifetimeTest, AClearCommandWhileNodesRefreshEmptiesTheEditor)
{
    EditorFixture f;
    for (const char* type : {"Blur", "Tee", "Main Display", "Snap Shot", "Video Read", "Threshold"})
        f.Make(type, 0, 0);
    f.MakeEditor();
    f.editor->show();
    for (int round = 0; round < 3; ++round) {
        f.commander->GetElement(f.commander->GetElementIds().front())->RequestLayoutUpdate();
        f.editor->RefreshGUI();
        EXPECT_EQ("Success", f.commander->ParseCommand("clear"));
        ASSERT_TRUE(testsupport::WaitFor([&] {
            QCoreApplication::processEvents();
            return f.editor->GetAllNodes().empty();
        }));
        f.Make("Blur", 0, 0);
        f.editor->UpdateFromBackend();
        f.Settle();
        ASSERT_EQ(1u, f.editor->GetAllNodes().size());
    }
}

}  // namespace
