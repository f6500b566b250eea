#include "core/ControlBaseClass.h"
#include "core/ParameterItem.h"
#include "core/ParameterStore.h"
#include "core/ThreadSafeVariable.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Unserved {};

// A configurable object with a plain, a thread-safe and an unconvertible setting.
class Sample : public ControlBaseClass {
public:
    explicit Sample(const std::string& name, int start = 1) : ControlBaseClass(name), count(start)
    {
        settings.AddSetting("_count", &count, "");
        settings.AddSetting("_odd", &odd, "");
        settings.AddSetting("_gain", &gain, "min=0, max=2");
    }

    int count;
    Unserved odd;
    ThreadSafeVariable<double> gain{0.5};
};

struct Row {
    std::string name, owner, value, setting_name, type_name;
};

std::vector<Row> Rows(ParameterStore& store)
{
    std::vector<Row> rows;
    for (const ParameterTableRow& row : store.GetTable())
        rows.push_back({row.name, row.owner, row.value, row.setting_name, row.type_name});
    return rows;
}

void ExpectRows(ParameterStore& store, const std::vector<Row>& expected)
{
    const std::vector<Row> rows = Rows(store);
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].name, expected[i].name) << i;
        EXPECT_EQ(rows[i].owner, expected[i].owner) << i;
        EXPECT_EQ(rows[i].value, expected[i].value) << i;
        EXPECT_EQ(rows[i].setting_name, expected[i].setting_name) << i;
        EXPECT_EQ(rows[i].type_name, expected[i].type_name) << i;
    }
}

std::vector<Row> SampleRows(const std::string& name, const std::string& owner,
                            const std::string& setting_name, int count)
{
    return {{name, owner, setting_name, "_setting_name", ""},
            {name, owner, setting_name, "_setting_name", ""},
            {name, owner, std::to_string(count), "_count", "int*"},
            {name, owner, "0.5", "_gain", "ThreadSafeVariable<double>*"}};
}

// The type name of "_setting_name" is whatever the item reports; the other fields are fixed.
void FillNameTypes(std::vector<Row>& rows, Sample& sample)
{
    for (Row& row : rows) {
        if (row.setting_name == "_setting_name")
            row.type_name = sample.settings.FindItem("_setting_name").GetTypeName();
    }
}

TEST(ParameterStoreTest, EmptyStoreGivesEmptyTable)
{
    ParameterStore store;
    EXPECT_TRUE(store.GetTable().empty());
}

TEST(ParameterStoreTest, TableListsEverySettingWithValueAndTypeButSkipsUnconvertible)
{
    Sample first("first", 7);
    Sample second("PreviewSettings", 2);
    ParameterStore store;
    store.AddControls(first.settings, "Blur_0", "Blur");
    store.AddControls(second.settings, "", "record");

    std::vector<Row> expected = SampleRows("Blur_0", "Blur", "first", 7);
    FillNameTypes(expected, first);
    std::vector<Row> second_rows = SampleRows("PreviewSettings", "record", "PreviewSettings", 2);
    FillNameTypes(second_rows, second);
    expected.insert(expected.end(), second_rows.begin(), second_rows.end());
    ExpectRows(store, expected);

    // Values are read live at each request.
    first.count = 9;
    second.gain.Set(1.25);
    const std::vector<Row> rows = Rows(store);
    EXPECT_EQ(rows[2].value, "9");
    EXPECT_EQ(rows[7].value, "1.25");
}

TEST(ParameterStoreTest, DestroyedObjectsLeaveAndOthersKeepTheirOrder)
{
    ParameterStore store;
    Sample first("first", 1);
    auto middle = std::make_unique<Sample>("middle", 2);
    Sample last("last", 3);
    store.AddControls(first.settings, "a", "A");
    store.AddControls(middle->settings, "b", "B");
    store.AddControls(last.settings, "c", "C");
    ASSERT_EQ(store.GetTable().size(), 12u);

    middle.reset();
    std::vector<Row> expected = SampleRows("a", "A", "first", 1);
    std::vector<Row> tail = SampleRows("c", "C", "last", 3);
    expected.insert(expected.end(), tail.begin(), tail.end());
    FillNameTypes(expected, first);
    ExpectRows(store, expected);
}

TEST(ParameterStoreTest, RemoveControlsDropsRowsWhileTheObjectLives)
{
    ParameterStore store;
    Sample kept("kept", 1);
    Sample removed("removed", 2);
    store.AddControls(kept.settings, "k", "K");
    store.AddControls(removed.settings, "r", "R");
    store.RemoveControls(removed.settings);
    ASSERT_EQ(store.GetTable().size(), 4u);
    for (const ParameterTableRow& row : store.GetTable())
        EXPECT_EQ(row.name, "k");
}

TEST(ParameterStoreTest, SettingAddedTwiceLeavesWithBothRecords)
{
    ParameterStore store;
    auto sample = std::make_unique<Sample>("twice");
    ParameterItem* item = &sample->settings.FindItem("_count");
    store.AddItem(item, "x", "X");
    store.AddItem(item, "x", "X");
    EXPECT_EQ(store.GetTable().size(), 2u);
    sample.reset();
    EXPECT_TRUE(store.GetTable().empty());
}

// Both "_setting_name" items are registered, each once, and removal lets go of the
// store's hold on every item.
TEST(ParameterStoreTest, EachItemIsRegisteredOnceAndReleasedOnRemoval)
{
    ParameterStore store;
    Sample sample("each");
    store.AddControls(sample.settings, "e", "E");
    const std::vector<ParameterItem*> items = sample.settings.GetLiveItems();
    ASSERT_EQ(items.size(), 5u);
    for (ParameterItem* item : items)
        EXPECT_EQ(item->GetDestroyedSignal().num_slots(), 1u) << item->name << " " << item->descriptor;
    store.RemoveControls(sample.settings);
    for (ParameterItem* item : items)
        EXPECT_EQ(item->GetDestroyedSignal().num_slots(), 0u) << item->name << " " << item->descriptor;
}

// Removing objects one by one costs the same however many records the store holds.
TEST(ParameterStoreTest, RemovingManyObjectsIsNotQuadratic)
{
    constexpr int kObjects = 20000;
    ParameterStore store;
    std::vector<std::unique_ptr<Sample>> samples;
    for (int i = 0; i < kObjects; ++i) {
        samples.push_back(std::make_unique<Sample>("s"));
        store.AddControls(samples.back()->settings, "s", "S");
    }
    unsigned long long records = 0;
    for (auto& sample : samples)
        records += sample->settings.GetLiveItems().size();
    for (auto& sample : samples)
        store.RemoveControls(sample->settings);
    // Each record is looked at once; scanning them all per removal looked at 20,000 times as many.
    EXPECT_LE(store.RecordsExamined(), records);
    EXPECT_TRUE(store.GetTable().empty());
}

TEST(ParameterStoreTest, DestroyingACopyOfASettingKeepsTheRecord)
{
    ParameterStore store;
    Sample sample("copied");
    store.AddItem(&sample.settings.FindItem("_count"), "x", "X");
    {
        const ParameterItem copy = sample.settings.FindItem("_count");
    }
    {
        const std::vector<ParameterItem> copies = sample.settings.GetItems();
    }
    ASSERT_EQ(store.GetTable().size(), 1u);
    EXPECT_EQ(store.GetTable()[0].setting_name, "_count");
}

TEST(ParameterStoreTest, ObjectsOutlivingTheStoreAreDestroyedSafely)
{
    auto sample = std::make_unique<Sample>("outlives");
    {
        ParameterStore store;
        store.AddControls(sample->settings, "x", "X");
        ASSERT_FALSE(store.GetTable().empty());
    }
    // The store let go of every setting: none of their destroyed signals leads to it.
    for (ParameterItem& item : sample->settings.GetItems())
        EXPECT_TRUE(item.GetDestroyedSignal().empty()) << item.name;
    sample.reset();
}

// The way an element table lets an element go: rows first, under the store's lock, then
// the object; a table built meanwhile sees each object whole or not at all.
TEST(ParameterStoreTest, TablesWhileAnotherThreadRemovesObjects)
{
    ParameterStore store;
    std::vector<std::unique_ptr<Sample>> samples;
    for (int i = 0; i < 50; ++i) {
        samples.push_back(std::make_unique<Sample>("s" + std::to_string(i), i));
        store.AddControls(samples.back()->settings, "s" + std::to_string(i), "S");
    }
    std::thread destroyer([&samples, &store] {
        for (auto& sample : samples) {
            store.RemoveControls(sample->settings);
            sample.reset();
        }
    });
    std::size_t last_size = 200;
    for (int i = 0; i < 200; ++i) {
        const std::size_t size = store.GetTable().size();
        EXPECT_EQ(size % 4, 0u);
        EXPECT_LE(size, last_size);
        last_size = size;
    }
    destroyer.join();
    EXPECT_TRUE(store.GetTable().empty());
}

}  // namespace
