#include "control/ElementFactory.h"
#include "control/ElementMaker.h"
#include "control/ElementRegistry.h"
#include "control/ElementTable.h"
#include "core/ControlAndStatus.h"
#include "core/CustomException.h"
#include "elements/BlurElement.h"
#include "elements/VideoInVideoElement.h"
#include "engine/ConnectionManager.h"
#include "engine/ElementBase.h"

#include "support/TestSupport.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

template <typename T>
boost::shared_ptr<ElementMakerInterface> Maker(const std::string& name,
                                               const boost::shared_ptr<ControlAndStatus>& hub)
{
    return boost::shared_ptr<ElementMakerInterface>(new ElementMaker<T>(name, hub, name, name));
}

class ElementTableTest : public ::testing::Test {
protected:
    ElementTableTest()
        : hub(boost::make_shared<ControlAndStatus>()), manager(hub), table(manager), factory(&table)
    {
        SetElementRegistry(
            {Maker<BlurElement>("Blur", hub), Maker<VideoInVideoElement>("Video In Video", hub)});
    }
    ~ElementTableTest() override { SetElementRegistry({}); }

    boost::shared_ptr<ElementBase> Add(const std::string& name, std::string id = "")
    {
        const boost::shared_ptr<ElementBase> element = factory.MakeElement(name, id);
        table.AddElement(element);
        return element;
    }

    // Rows of the variable table for one element: setting name -> value and type name.
    std::vector<ParameterTableRow> RowsOf(const std::string& id)
    {
        std::vector<ParameterTableRow> rows;
        for (const ParameterTableRow& row : table.GetParameterStore().GetTable()) {
            if (row.name == id)
                rows.push_back(row);
        }
        return rows;
    }

    testsupport::ScopedHome home;
    boost::shared_ptr<ControlAndStatus> hub;
    ConnectionManager manager;
    ElementTable table;
    ElementFactory factory;
};

TEST_F(ElementTableTest, EmptyTableListings)
{
    EXPECT_EQ(table.ListElements(), "Elements:");
    EXPECT_EQ(table.ListSettings(), "Elements: ");
    EXPECT_EQ(table.ListConnections(), "___ CONNECTIONS ____\n");
    EXPECT_TRUE(table.GetAllConnections().empty());
    EXPECT_TRUE(table.GetIds().empty());
    EXPECT_TRUE(table.GetParameterStore().GetTable().empty());
}

TEST_F(ElementTableTest, LookupsAreExact)
{
    const auto blur = Add("Blur");
    const auto named = Add("Blur", "my blur");
    EXPECT_EQ(table.GetIds(), (std::vector<std::string>{"Blur_0", "my blur"}));
    EXPECT_EQ(table.FindElement("Blur_0"), blur);
    EXPECT_EQ(table.FindElement("my blur"), named);
    EXPECT_EQ(table.GetElements().size(), 2u);
    for (const std::string absent : {"blur_0", "Blur_0 ", "Blur", "my", ""}) {
        EXPECT_FALSE(table.Exists(absent)) << absent;
        try {
            table.FindElement(absent);
            ADD_FAILURE() << "found " << absent;
        } catch (const CustomException& e) {
            EXPECT_EQ(std::string(e.what()), "Element could not be found : " + absent);
        }
    }
    table.RemoveElement("absent");
    EXPECT_EQ(table.GetIds().size(), 2u);
}

TEST_F(ElementTableTest, ElementAndSettingsListings)
{
    Add("Blur");
    Add("Blur");
    EXPECT_EQ(table.ListElements(), "Elements:Blur_0\nBlur_1\n");
    const std::string controls = "_setting_name = No Controls\n_setting_name = No Controls\n";
    EXPECT_EQ(table.ListSettings(), "Elements: Blur_0\n" + controls + "\nBlur_1\n" + controls + "\n");
}

TEST_F(ElementTableTest, RemoveTakesEveryElementOfTheIdAndClearTakesAll)
{
    Add("Blur", "twin");
    Add("Blur", "other");
    Add("Blur", "twin");
    table.RemoveElement("twin");
    EXPECT_EQ(table.GetIds(), std::vector<std::string>{"other"});
    for (const ParameterTableRow& row : table.GetParameterStore().GetTable())
        EXPECT_EQ(row.name, "other");
    table.Clear();
    EXPECT_TRUE(table.GetIds().empty());
    EXPECT_TRUE(table.GetParameterStore().GetTable().empty());
}

TEST_F(ElementTableTest, VariableTableListsAnElementsSettingsAndLosesThemOnRemoval)
{
    const auto blur = Add("Blur");
    Add("Blur");
    const std::vector<ParameterTableRow> rows = RowsOf("Blur_0");
    std::vector<std::string> names;
    for (const ParameterTableRow& row : rows) {
        EXPECT_EQ(row.owner, "Blur");
        names.push_back(row.setting_name);
    }
    // The element's own settings, then those of its controls object.
    ASSERT_GE(names.size(), 6u);
    EXPECT_EQ(names.front(), "_setting_name");
    EXPECT_EQ(names[rows.size() - 1], "_setting_name");
    auto find = [&rows](const std::string& name) {
        for (const ParameterTableRow& row : rows) {
            if (row.setting_name == name)
                return row;
        }
        return ParameterTableRow{};
    };
    EXPECT_EQ(find("_setting_name").value, "Blur");
    EXPECT_EQ(find("_width").value, "3");
    EXPECT_EQ(find("_width").type_name, "ThreadSafeVariable<int>*");
    EXPECT_EQ(find("_position_x").value, "0");
    EXPECT_EQ(rows.back().value, "No Controls");

    blur->settings.SetValue("_width", "7", "");
    EXPECT_EQ(find("_width").value, "3");
    EXPECT_EQ(RowsOf("Blur_0")[0].value, "Blur");
    bool found_new_width = false;
    for (const ParameterTableRow& row : RowsOf("Blur_0"))
        found_new_width |= row.setting_name == "_width" && row.value == "7";
    EXPECT_TRUE(found_new_width);

    // Removed from the table, the rows go at once, even while someone else still holds
    // the element.
    table.RemoveElement("Blur_0");
    EXPECT_TRUE(RowsOf("Blur_0").empty());
    EXPECT_FALSE(RowsOf("Blur_1").empty());
    EXPECT_EQ(blur->GetId(), "Blur_0");
}

TEST_F(ElementTableTest, VariableTableReadOnAnotherThreadWhileElementsGo)
{
    std::atomic<bool> done{false};
    std::atomic<int> tables{0};
    std::thread viewer([&] {
        while (!done) {
            for (const ParameterTableRow& row : table.GetParameterStore().GetTable())
                EXPECT_FALSE(row.setting_name.empty());
            ++tables;
        }
    });
    for (int round = 0; round < 30; ++round) {
        Add("Blur");
        Add("Video In Video");
        const int seen = tables;
        EXPECT_TRUE(testsupport::WaitFor([&] { return tables > seen; }));
        if (round % 2 == 0)
            table.RemoveElement("Blur_0");
        else
            table.Clear();
    }
    done = true;
    viewer.join();
}

TEST_F(ElementTableTest, InsetBoxIsListedAndSurvivesTextRoundTrip)
{
    const auto first = Add("Video In Video");
    auto* inset = dynamic_cast<VideoInVideoElement*>(first.get());
    ASSERT_NE(inset, nullptr);
    ASSERT_TRUE(first->settings.GetValueAsString("_sub_image_controls").find("_box") != std::string::npos);

    first->settings.SetValue("_sub_image_controls",
                             "<Loader><Setting name=\"_box\" value=\"[12, 34, 56, 78]\"/></Loader>", "");
    const std::string text = first->settings.GetValueAsString("_sub_image_controls");
    EXPECT_NE(text.find("value=\"[12, 34, 56, 78]\""), std::string::npos) << text;
    bool listed = false;
    for (const ParameterTableRow& row : RowsOf("Video In Video_0"))
        listed |= row.setting_name == "_sub_image_controls" && row.value == text &&
                  row.type_name == "SubImageControls*";
    EXPECT_TRUE(listed);

    const auto second = Add("Video In Video");
    second->settings.SetValue("_sub_image_controls", text, "");
    EXPECT_EQ(second->settings.GetValueAsString("_sub_image_controls"), text);
    // A file written before the box had a text form holds "": no change.
    second->settings.SetValue("_sub_image_controls", "", "");
    EXPECT_EQ(second->settings.GetValueAsString("_sub_image_controls"), text);
}

class ConnectedTableTest : public ElementTableTest {
protected:
    void Connect(const boost::shared_ptr<ElementBase>& source, const std::string& output,
                 const boost::shared_ptr<ElementBase>& sink, const std::string& input)
    {
        bool connected = false;
        manager.Connect(source->GetOutputByName(output), sink->GetInputByName(input), &connected, source,
                        sink);
        ASSERT_TRUE(connected);
    }
};

TEST_F(ConnectedTableTest, LinksGiveOneRecordListedUnderBothElements)
{
    const auto first = Add("Blur");
    const auto second = Add("Blur");
    const auto inset = Add("Video In Video");
    Connect(first, "output", second, "input");
    Connect(second, "output", inset, "second input");

    const ConnectionRecord first_link{"Blur_0", "output", "Blur_1", "input"};
    const ConnectionRecord second_link{"Blur_1", "output", "Video In Video_0", "second input"};
    EXPECT_EQ(table.GetAllConnections(), (std::vector<ConnectionRecord>{first_link, second_link}));
    EXPECT_EQ(table.GetConnections("Blur_0"), std::vector<ConnectionRecord>{first_link});
    EXPECT_EQ(table.GetConnections("Blur_1"), (std::vector<ConnectionRecord>{first_link, second_link}));
    EXPECT_EQ(table.GetConnections("Video In Video_0"), std::vector<ConnectionRecord>{second_link});
    EXPECT_TRUE(table.GetConnections("absent").empty());
    EXPECT_EQ(table.ListConnections(),
              "___ CONNECTIONS ____\nBlur_0 --> Blur_1\nBlur_1 --> Video In Video_0\n");
}

TEST_F(ConnectedTableTest, LinksOutsideTheTableOrWithoutAMatchingInput)
{
    const auto inside = Add("Blur");
    std::string id = "outside";
    const auto outside = factory.MakeElement("Blur", id);
    Connect(inside, "output", outside, "input");
    // The sink is not in the table: no record, but the listing still shows the link.
    EXPECT_TRUE(table.GetAllConnections().empty());
    EXPECT_EQ(table.ListConnections(), "___ CONNECTIONS ____\nBlur_0 --> outside\n");

    const auto sink = Add("Blur");
    manager.DisconnectAll();
    Connect(inside, "output", sink, "input");
    // An output whose peer pad name names no input linked back to it keeps the sink id only.
    inside->GetOutputByName("output")->peer_pad_name.Set("missing");
    EXPECT_EQ(table.GetAllConnections(), (std::vector<ConnectionRecord>{{"Blur_0", "output", "Blur_1", ""}}));
    inside->GetOutputByName("output")->peer_pad_name.Set("input");
    sink->GetInputByName("input")->peer_element_id.Set("someone else");
    EXPECT_EQ(table.GetAllConnections(), (std::vector<ConnectionRecord>{{"Blur_0", "output", "Blur_1", ""}}));
    sink->GetInputByName("input")->peer_element_id.Set("Blur_0");
}

// The records of every element from one walk are each element's own records, in order,
// however the links change; the pipeline store saves from them.
TEST_F(ConnectedTableTest, ConnectionsByElementMatchEachElementsOwn)
{
    auto expect_each_elements_own = [&](const char* step) {
        const auto by_element = table.GetConnectionsByElement();
        std::size_t listed = 0;
        for (const std::string& id : table.GetIds()) {
            const auto found = by_element.find(id);
            const std::vector<ConnectionRecord> records =
                found == by_element.end() ? std::vector<ConnectionRecord>() : found->second;
            EXPECT_EQ(records, table.GetConnections(id)) << step << ": " << id;
            listed += found != by_element.end();
        }
        EXPECT_EQ(by_element.size(), listed) << step << ": only ids of the table";
    };
    const auto first = Add("Blur");
    const auto second = Add("Blur");
    const auto inset = Add("Video In Video");
    const auto last = Add("Blur");
    Connect(inset, "output", last, "input");
    Connect(second, "output", inset, "input");
    Connect(first, "output", inset, "second input");
    // An element's record as sink comes before its own as source when its source is
    // earlier in the table, and after it when later.
    EXPECT_EQ(table.GetConnectionsByElement().at("Video In Video_0"),
              (std::vector<ConnectionRecord>{{"Blur_0", "output", "Video In Video_0", "second input"},
                                             {"Blur_1", "output", "Video In Video_0", "input"},
                                             {"Video In Video_0", "output", "Blur_2", "input"}}));
    expect_each_elements_own("connected");

    std::string id = "outside";
    const auto outside = factory.MakeElement("Blur", id);
    Connect(last, "output", outside, "input");
    expect_each_elements_own("a link out of the table");
    manager.DisconnectPair("Blur_1", "Video In Video_0");
    expect_each_elements_own("disconnected");
    table.RemoveElement("Blur_2");
    expect_each_elements_own("removed");
    const auto again = Add("Blur");
    Connect(again, "output", first, "input");
    Connect(inset, "output", again, "input");
    expect_each_elements_own("reconnected");
    table.Clear();
    EXPECT_TRUE(table.GetConnectionsByElement().empty());
}

// Whoever removes an element through the table, its connections go first, running or not.
TEST_F(ConnectedTableTest, RemovingElementsDisconnectsThemFirst)
{
    const auto first = Add("Blur");
    const auto second = Add("Blur");
    const auto third = Add("Blur");
    Connect(first, "output", second, "input");
    Connect(second, "output", third, "input");
    manager.StartAll();
    table.RemoveElement("Blur_1");
    EXPECT_EQ(manager.ConnectionCount(), 0u);
    EXPECT_FALSE(first->GetOutputByName("output")->IsConnected());
    EXPECT_FALSE(third->GetInputByName("input")->IsConnected());

    Connect(first, "output", third, "input");
    std::string id = "outside";
    const auto outside = factory.MakeElement("Blur", id);
    Connect(outside, "output", first, "input");
    manager.StartAll();
    table.Clear();
    EXPECT_EQ(manager.ConnectionCount(), 0u);
    EXPECT_FALSE(outside->GetOutputByName("output")->IsConnected());
}

TEST_F(ConnectedTableTest, DestroyedTableDisconnectsItsElements)
{
    std::unique_ptr<ElementTable> other(new ElementTable(manager));
    const auto source = Add("Blur");
    std::string id = "other";
    const auto sink = factory.MakeElement("Blur", id);
    other->AddElement(sink);
    Connect(source, "output", sink, "input");
    manager.StartAll();
    other.reset();
    EXPECT_EQ(manager.ConnectionCount(), 0u);
    EXPECT_FALSE(source->GetOutputByName("output")->IsConnected());
}

}  // namespace
