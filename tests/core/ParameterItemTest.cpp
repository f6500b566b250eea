#include "core/ParameterItem.h"

#include "core/ThreadSafeVariable.h"
#include "ScopedCommaLocale.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

ParameterItem ItemWith(const std::string& descriptor)
{
    static int variable = 0;
    return ParameterItem("_setting", boost::any(&variable), descriptor);
}

struct RangeCase {
    std::string descriptor;
    double min;
    double max;
};

TEST(ParameterItemTest, MinAndMaxWithTheirDefaults)
{
    const std::vector<RangeCase> cases = {
        {"min=1, max=10", 1.0, 10.0},      {"", 0.0, 1000.0},
        {"min=0.3, max=150", 0.3, 150.0},  {"min=1, max=60", 1.0, 60.0},
        {"max=wide", 0.0, 1000.0},         {"min=, max=", 0.0, 1000.0},
        {"MIN = 2 , Max = 20", 2.0, 20.0}, {"type=hidden", 0.0, 1000.0},
        {"min 5, max=7", 0.0, 7.0},        {"min=-5=3, max=2.5e2", -5.0, 250.0},
    };
    for (const RangeCase& c : cases) {
        const ParameterItem item = ItemWith(c.descriptor);
        EXPECT_DOUBLE_EQ(item.GetMin(), c.min) << c.descriptor;
        EXPECT_DOUBLE_EQ(item.GetMax(), c.max) << c.descriptor;
    }
}

TEST(ParameterItemTest, NumbersReadInTheClassicLocale)
{
    double min = 0.0;
    double max = 0.0;
    {
        const ScopedCommaLocale comma_locale;
        const ParameterItem item = ItemWith("min=0.5, max=1500");
        min = item.GetMin();
        max = item.GetMax();
    }
    EXPECT_DOUBLE_EQ(min, 0.5);
    EXPECT_DOUBLE_EQ(max, 1500.0);
}

struct ItemsCase {
    std::string descriptor;
    std::vector<std::string> items;
};

TEST(ParameterItemTest, ItemLists)
{
    const std::vector<ItemsCase> cases = {
        {"type=hidden", {}},
        {"Items=[BGR][RGB]", {}},
        {"items=[BGR][RGB][[HSV][Grey]", {"BGR", "RGB", "HSV", "Grey"}},
        {"items=[8 bits][16 bits][32 bits float][64 bit float]",
         {"8 bits", "16 bits", "32 bits float", "64 bit float"}},
        {"type=edit, items=[a][b]", {}},
        {"type=edit,items=[a]x[b]", {"a", "b"}},
        {"items", {}},
        {"items=[a]=[b]", {"a"}},
        {"items=[open", {}},
    };
    for (const ItemsCase& c : cases)
        EXPECT_EQ(ItemWith(c.descriptor).GetItems(), c.items) << c.descriptor;
}

TEST(ParameterItemTest, DescriptorValues)
{
    EXPECT_EQ(ItemWith("type=dir_path").GetDescriptorValue("type"), "dir_path");
    EXPECT_EQ(ItemWith("min=0, max=255").GetDescriptorValue("type"), "");
    EXPECT_EQ(ItemWith("Type = File_Path").GetDescriptorValue("type"), "file_path");
    EXPECT_EQ(ItemWith("other, type=label").GetDescriptorValue("type"), "label");
    EXPECT_EQ(ItemWith("min=1,,other=odd").GetDescriptorValue("other"), "odd");
}

TEST(ParameterItemTest, TypeNamesAreReadable)
{
    int plain = 0;
    ThreadSafeVariable<int> safe{0};
    EXPECT_EQ(ParameterItem("a", boost::any(&plain), "").GetTypeName(), "int*");
    EXPECT_EQ(ParameterItem("b", boost::any(&safe), "").GetTypeName(), "ThreadSafeVariable<int>*");
    EXPECT_EQ(ParameterItem("c", boost::any(), "").GetTypeName(), "void");
}

TEST(ParameterItemTest, CopiesPointAtTheSameVariable)
{
    ThreadSafeVariable<int> variable{1};
    const ParameterItem first("_v", boost::any(&variable), "min=0");
    ParameterItem copy(first);
    boost::any_cast<ThreadSafeVariable<int>*>(copy.value)->Set(5);
    EXPECT_EQ(boost::any_cast<ThreadSafeVariable<int>*>(first.value)->Get(), 5);
    EXPECT_EQ(copy.name, "_v");
    EXPECT_EQ(copy.descriptor, "min=0");
}

TEST(ParameterItemTest, DestroyedSignalIsMadeOnceAndSharedWithCopies)
{
    int variable = 0;
    std::vector<const ParameterItem*> destroyed;
    auto* item = new ParameterItem("_v", boost::any(&variable), "");
    ParameterItem::DestroyedSignal& signal = item->GetDestroyedSignal();
    EXPECT_EQ(&signal, &item->GetDestroyedSignal());
    signal.connect([&destroyed](ParameterItem* gone) { destroyed.push_back(gone); });

    const ParameterItem* copy_address = nullptr;
    {
        ParameterItem copy(*item);
        copy_address = &copy;
    }
    const ParameterItem* item_address = item;
    delete item;
    ASSERT_EQ(destroyed.size(), 2u);
    EXPECT_EQ(destroyed[0], copy_address);
    EXPECT_EQ(destroyed[1], item_address);
}

}  // namespace
