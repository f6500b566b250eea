#include "core/PassableItem.h"

#include <string>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

namespace {

using Item = PassableItem<std::string>;

TEST(PassableItem, DefaultItemIsInvalidWithZeroFields)
{
    Item item;
    EXPECT_FALSE(item.IsValid());
    EXPECT_EQ(item.tag, 0);
    EXPECT_EQ(item.sequence, 0);
    EXPECT_EQ(item.flags, 0);
}

TEST(PassableItem, CopiesShareThePayloadAndKeepTheFields)
{
    Item original(boost::make_shared<std::string>("a"));
    original.tag = 7;
    original.sequence = 1LL << 40;
    original.flags = 3;
    Item copy = original;
    *copy.data = "changed";
    EXPECT_EQ(*original.data, "changed");
    EXPECT_EQ(copy.tag, 7);
    EXPECT_EQ(copy.sequence, 1LL << 40);
    EXPECT_EQ(copy.flags, 3);
}

TEST(PassableItem, DeepCopyOwnsItsPayloadAndStartsAtZero)
{
    Item original(boost::make_shared<std::string>("a"));
    original.tag = 7;
    original.sequence = 9;
    original.flags = 1;
    Item copy = original.DeepCopy();
    ASSERT_TRUE(copy.IsValid());
    EXPECT_NE(copy.data, original.data);
    *copy.data = "changed";
    EXPECT_EQ(*original.data, "a");
    EXPECT_EQ(copy.tag, 0);
    EXPECT_EQ(copy.sequence, 0);
    EXPECT_EQ(copy.flags, 0);
}

TEST(PassableItem, DeepCopyOfInvalidItemIsInvalid)
{
    EXPECT_FALSE(Item().DeepCopy().IsValid());
}

}  // namespace
