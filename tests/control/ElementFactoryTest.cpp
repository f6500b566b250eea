#include "control/ElementFactory.h"
#include "control/ElementMaker.h"
#include "control/ElementRegistry.h"
#include "control/ElementTable.h"
#include "core/ControlAndStatus.h"
#include "core/CustomException.h"
#include "elements/BlurElement.h"
#include "elements/TeeElement.h"
#include "engine/ConnectionManager.h"
#include "engine/ElementBase.h"

#include "support/LogCapture.h"
#include "support/TestSupport.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// An element whose resource is always busy.
class BusyElement : public ElementBase {
public:
    explicit BusyElement(boost::shared_ptr<ControlAndStatus> hub) : ElementBase(hub)
    {
        throw CustomException("device busy");
    }
};

template <typename T>
boost::shared_ptr<ElementMakerInterface> Maker(const std::string& name,
                                               const boost::shared_ptr<ControlAndStatus>& hub,
                                               const std::string& description, const std::string& category)
{
    return boost::shared_ptr<ElementMakerInterface>(new ElementMaker<T>(name, hub, description, category));
}

class ElementFactoryTest : public ::testing::Test {
protected:
    ElementFactoryTest()
        : hub(boost::make_shared<ControlAndStatus>()), manager(hub), table(manager), factory(&table)
    {
        SetElementRegistry({Maker<BlurElement>("Blur", hub, "Basic block blur", "Bluring"),
                            Maker<BusyElement>("Busy", hub, "Never made", "Broken"),
                            Maker<BlurElement>("Busy", hub, "Shadowed by the first", "Broken"),
                            Maker<TeeElement>("Tee Two", hub, "Splits the video", "Tees")});
    }
    ~ElementFactoryTest() override { SetElementRegistry({}); }

    // Makes and adds, as the commander does; returns the id written back.
    std::string MakeAndAdd(const std::string& name, std::string id = "")
    {
        table.AddElement(factory.MakeElement(name, id));
        return id;
    }

    testsupport::ScopedHome home;
    boost::shared_ptr<ControlAndStatus> hub;
    ConnectionManager manager;
    ElementTable table;
    ElementFactory factory;
};

TEST_F(ElementFactoryTest, MadeElementCarriesItsMakersFields)
{
    const ElementMakerList makers = GetElementRegistry();
    const boost::shared_ptr<ElementBase> made = makers[0]->Make();
    EXPECT_EQ(made->GetId(), "");
    EXPECT_EQ(made->GetType(), "Blur");
    EXPECT_EQ(made->name, "Blur");
    EXPECT_EQ(made->category.Get(), "Bluring");
    EXPECT_EQ(made->GetDescription(), "Basic block blur");
    EXPECT_TRUE(boost::dynamic_pointer_cast<BlurElement>(made));
    EXPECT_EQ(makers[3]->GetName(), "Tee Two");
    EXPECT_EQ(makers[3]->GetCategory(), "Tees");
    EXPECT_EQ(makers[3]->GetDescription(), "Splits the video");

    std::string id;
    const boost::shared_ptr<ElementBase> element = factory.MakeElement("Blur", id);
    EXPECT_EQ(element->GetId(), "Blur_0");
    EXPECT_EQ(element->GetType(), "Blur");
    for (const boost::shared_ptr<PadBase>& pad : element->GetAllPads())
        EXPECT_EQ(pad->owner_element_id.Get(), "Blur_0");
}

TEST_F(ElementFactoryTest, IdsTakeTheFirstFreeNumberAndReuseFreedOnes)
{
    EXPECT_EQ(MakeAndAdd("Blur"), "Blur_0");
    EXPECT_EQ(MakeAndAdd("Blur", "no_id_given"), "Blur_1");
    EXPECT_EQ(MakeAndAdd("Tee Two"), "Tee Two_0");
    EXPECT_EQ(MakeAndAdd("Blur"), "Blur_2");
    table.RemoveElement("Blur_0");
    EXPECT_EQ(MakeAndAdd("Blur"), "Blur_0");
    EXPECT_EQ(MakeAndAdd("Blur"), "Blur_3");
    table.RemoveElement("Blur_1");
    table.RemoveElement("Blur_2");
    EXPECT_EQ(MakeAndAdd("Blur"), "Blur_1");
    table.Clear();
    EXPECT_EQ(MakeAndAdd("Blur"), "Blur_0");
    // An id that only looks like a made one counts as taken.
    EXPECT_EQ(MakeAndAdd("Blur", "Blur_1"), "Blur_1");
    EXPECT_EQ(MakeAndAdd("Blur"), "Blur_2");
}

// The table keeps each name's first free number as ids join and leave, whoever names them.
TEST_F(ElementFactoryTest, FirstFreeNumberFollowsIdsThatJoinAndLeave)
{
    MakeAndAdd("Blur", "Blur_1");
    MakeAndAdd("Blur", "Blur_3");
    EXPECT_EQ(MakeAndAdd("Blur"), "Blur_0");
    EXPECT_EQ(MakeAndAdd("Blur"), "Blur_2");
    EXPECT_EQ(MakeAndAdd("Blur"), "Blur_4");
    table.RemoveElement("Blur_3");
    table.RemoveElement("Blur_1");
    EXPECT_EQ(MakeAndAdd("Blur"), "Blur_1");
    EXPECT_EQ(MakeAndAdd("Blur"), "Blur_3");
    EXPECT_EQ(MakeAndAdd("Blur"), "Blur_5");

    // Ids no maker would make take no number: a leading zero, no digits, other text.
    for (const char* id : {"Tee Two_00", "Tee Two_01", "Tee Two_", "Tee Two_x", "Tee Two", "Tee Two_-1"})
        MakeAndAdd("Tee Two", id);
    EXPECT_EQ(MakeAndAdd("Tee Two"), "Tee Two_0");
    table.RemoveElement("Tee Two_00");
    EXPECT_EQ(MakeAndAdd("Tee Two"), "Tee Two_1");

    // The number is read after the last "_": a base may hold "_" and digits itself.
    MakeAndAdd("Blur", "x_1_0");
    EXPECT_EQ(table.FirstFreeNumber("x_1"), 1u);
    EXPECT_EQ(table.FirstFreeNumber("x"), 0u);
    // Every element of an id goes at once; two of one id free their number once.
    MakeAndAdd("Blur", "x_1_0");
    MakeAndAdd("Blur", "x_1_1");
    EXPECT_EQ(table.FirstFreeNumber("x_1"), 2u);
    table.RemoveElement("x_1_0");
    EXPECT_EQ(table.FirstFreeNumber("x_1"), 0u);
    table.Clear();
    EXPECT_EQ(table.FirstFreeNumber("Blur"), 0u);
    EXPECT_EQ(MakeAndAdd("Blur"), "Blur_0");
}

// A made id costs as much in a full table as in an almost empty one, so loading a large
// file without ids takes time in proportion to its elements, not to their square.
TEST_F(ElementFactoryTest, MakingAnIdCostsNoMoreInAFullTable)
{
    const ElementIdMaker maker(&table);
    auto fill_to = [&](int count) {
        for (int number = static_cast<int>(table.GetIds().size()); number < count; ++number)
            MakeAndAdd("Blur", "Blur_" + std::to_string(number));
        ASSERT_EQ(maker.MakeUniqueId("Blur"), "Blur_" + std::to_string(count));
    };
    auto lookups_of_100_ids = [&] {
        const unsigned long long before = table.IdLookups();
        for (int i = 0; i < 100; ++i)
            maker.MakeUniqueId("Blur");
        return table.IdLookups() - before;
    };
    fill_to(100);
    const unsigned long long nearly_empty = lookups_of_100_ids();
    fill_to(4000);
    // Trying every taken number first looked up 40 times as many ids.
    EXPECT_LE(lookups_of_100_ids(), nearly_empty);
}

TEST_F(ElementFactoryTest, GivenIdIsUsedUnchanged)
{
    MakeAndAdd("Blur", "x");
    std::string id = "x";
    EXPECT_EQ(factory.MakeElement("Blur", id)->GetId(), "x");
    EXPECT_EQ(id, "x");
    id = "with space";
    EXPECT_EQ(factory.MakeElement("Tee Two", id)->GetId(), "with space");
}

TEST_F(ElementFactoryTest, WithoutAnIdTableEveryNumberIsFree)
{
    // No commander behind the hub: nothing to look ids up in, and nothing crashes.
    ASSERT_EQ(hub->GetCommander(), nullptr);
    ElementFactory lone(nullptr);
    for (int i = 0; i < 2; ++i) {
        std::string id;
        EXPECT_EQ(lone.MakeElement("Blur", id)->GetId(), "Blur_0");
        EXPECT_EQ(id, "Blur_0");
    }
}

TEST_F(ElementFactoryTest, UnknownNamesAndFailingConstructorsThrow)
{
    for (const std::string name : {"blur", "BlurElement", "Blur ", "", "Busy"}) {
        LogCapture capture;
        std::string id;
        try {
            factory.MakeElement(name, id);
            ADD_FAILURE() << "made " << name;
        } catch (const CustomException& e) {
            EXPECT_EQ(std::string(e.what()), "Could not make element : " + name);
        }
        EXPECT_EQ(id, "") << name;
        const std::string log = capture.Text();
        const bool busy_line =
            log.find("Exception thrown when constructing element Busy is this resource in use?") !=
            std::string::npos;
        // The walk ends at the first maker of the name, even when it fails.
        EXPECT_EQ(busy_line, name == "Busy") << log;
    }
}

}  // namespace
