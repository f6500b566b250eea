#include "core/InternalPipe.h"

#include <string>
#include <vector>

#include <QImage>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>
#include <gtest/gtest.h>

namespace {

using Pipe = InternalPipe<std::string>;

std::vector<std::string> Drain(Pipe& pipe)
{
    std::vector<std::string> taken;
    for (PassableItem<std::string> item = pipe.Pop(); item.IsValid(); item = pipe.Pop())
        taken.push_back(*item.data);
    return taken;
}

struct Case {
    int pushes;
    std::vector<std::string> expected;
};

class InternalPipeTable : public ::testing::TestWithParam<Case> {};

TEST_P(InternalPipeTable, KeepsNewestItemsOldestFirst)
{
    Pipe pipe;
    for (int i = 1; i <= GetParam().pushes; ++i)
        pipe.Push(PassableItem<std::string>(boost::make_shared<std::string>(std::to_string(i))));
    EXPECT_EQ(Drain(pipe), GetParam().expected);

    // An invalid item after the last one, and the pipe stays usable.
    EXPECT_FALSE(pipe.Pop().IsValid());
    pipe.Push(PassableItem<std::string>(boost::make_shared<std::string>("again")));
    EXPECT_EQ(Drain(pipe), std::vector<std::string>{"again"});
}

INSTANTIATE_TEST_SUITE_P(Cases, InternalPipeTable,
                         ::testing::Values(Case{0, {}}, Case{1, {"1"}}, Case{3, {"1", "2", "3"}},
                                           Case{4, {"1", "2", "3", "4"}}, Case{5, {"2", "3", "4", "5"}},
                                           Case{9, {"6", "7", "8", "9"}}));

TEST(InternalPipe, PopOfEmptyPipeIsInvalidWithZeroFields)
{
    Pipe pipe;
    PassableItem<std::string> item = pipe.Pop();
    EXPECT_FALSE(item.IsValid());
    EXPECT_EQ(item.tag, 0);
    EXPECT_EQ(item.sequence, 0);
    EXPECT_EQ(item.flags, 0);
}

TEST(InternalPipe, StartsWithEmptyNamesAndSettings)
{
    InternalPipe<QImage> pipe;
    EXPECT_EQ(pipe.GetName(), "");
    EXPECT_EQ(pipe.GetDescription(), "");
    EXPECT_TRUE(pipe.GetSettings().GetItems().empty());
}

TEST(InternalPipe, BaseCastsOnlyToItsOwnPayloadType)
{
    boost::shared_ptr<PipeBase_> base = boost::make_shared<InternalPipe<QImage>>();
    EXPECT_TRUE(boost::dynamic_pointer_cast<InternalPipe<QImage>>(base));
    EXPECT_FALSE(boost::dynamic_pointer_cast<InternalPipe<std::string>>(base));
}

TEST(InternalPipe, PoppedImageSharesPushedPixels)
{
    InternalPipe<QImage> pipe;
    auto image = boost::make_shared<QImage>(4, 3, QImage::Format_RGB888);
    image->fill(Qt::red);
    pipe.Push(PassableItem<QImage>(image));
    PassableItem<QImage> popped = pipe.Pop();
    ASSERT_TRUE(popped.IsValid());
    EXPECT_EQ(popped.data, image);
    EXPECT_EQ(popped.data->pixelColor(3, 2), QColor(Qt::red));
}

}  // namespace
