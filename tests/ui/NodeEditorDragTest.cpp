// Port drags on the real editor with a real commander: after every drag the lines on
// screen and the back end's links agree.
#include "EditorFixture.h"

#include <gtest/gtest.h>

namespace {

struct DragCase {
    const char* name;
    int from_element;
    const char* from_pad;
    int to_element;  // -1: empty space
    const char* to_pad;
    bool links;
};

// Elements: 0 and 1 are Blurs side by side, 2 a Path Drawer whose "input" is already
// fed by 3, another Blur.
const DragCase kDrags[] = {
    {"OutputToInput", 0, "output", 1, "input", true},
    {"InputToOutput", 1, "input", 0, "output", true},
    {"SameNode", 0, "output", 0, "input", false},
    {"SameDirection", 0, "output", 1, "output", false},
    {"EmptySpace", 0, "output", -1, "", false},
    {"OtherPayloadType", 0, "output", 2, "Path In", false},
    {"PortAlreadyTaken", 0, "output", 2, "input", false},
    {"FromTakenPort", 3, "output", 1, "input", false},
};

class NodeEditorDragTest : public ::testing::TestWithParam<DragCase> {
protected:
    void SetUp() override
    {
        ids = {f.Make("Blur", 0, 0), f.Make("Blur", 800, 0), f.Make("Path Drawer", 800, 700),
               f.Make("Blur", 0, 700)};
        ASSERT_EQ("Connected Source : ",
                  f.commander->ConnectPads(ids[3], "output", ids[2], "input").substr(0, 19));
        f.MakeEditor();
        f.Settle();
        ASSERT_EQ(1, f.LineCount());
    }

    EditorFixture f;
    std::vector<std::string> ids;
};

TEST_P(NodeEditorDragTest, LinesAgreeWithTheBackEnd)
{
    const DragCase& drag = GetParam();
    QNEPort* from = f.Port(ids[drag.from_element], drag.from_pad);
    ASSERT_NE(nullptr, from);
    QPointF to(600, 350);
    if (drag.to_element >= 0) {
        QNEPort* target = f.Port(ids[drag.to_element], drag.to_pad);
        ASSERT_NE(nullptr, target);
        to = target->scenePos();
    }
    const int restarts = f.RestartCount();

    f.Drag(from->scenePos(), to);
    f.Settle();

    const std::vector<ConnectionRecord> links = f.Links();
    EXPECT_EQ(static_cast<int>(links.size()), f.LineCount());
    EXPECT_EQ(f.LineCount(), static_cast<int>(f.editor->GetAllLines().size())) << "a dragged line was left";
    EXPECT_EQ(drag.links ? 2u : 1u, links.size());
    const ConnectionRecord wanted{ids[0], "output", ids[1], "input"};
    EXPECT_EQ(drag.links, std::find(links.begin(), links.end(), wanted) != links.end());
    EXPECT_EQ(drag.links, f.commander->IsPortConnected(ids[1], "input"));
    EXPECT_TRUE(f.commander->IsPortConnected(ids[2], "input"));
    EXPECT_EQ(drag.links ? 1 : 0, f.RestartCount() - restarts);
}

INSTANTIATE_TEST_SUITE_P(Drags, NodeEditorDragTest, ::testing::ValuesIn(kDrags),
                         [](const ::testing::TestParamInfo<DragCase>& info) { return info.param.name; });

}  // namespace
