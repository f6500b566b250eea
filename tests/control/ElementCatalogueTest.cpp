#include "control/ElementFactory.h"
#include "control/ElementRegistry.h"
#include "control/RegsteredTypesTest.h"
#include "control/UserRegisteredTypes.h"
#include "core/ControlAndStatus.h"
#include "core/CustomException.h"
#include "elements/EdgeDetect.h"
#include "engine/ElementBase.h"

#include "support/LogCapture.h"
#include "support/TestSupport.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Entry {
    std::string name, category, description;
};

const std::vector<Entry> kCatalogue = {
    {"Camera", "Camera", "Records video from the webcam"},
    {"Video Read", "Input", "Reads video from a file"},
    {"Image Read", "Input", "Reads an image from a file"},
    {"Tee", "Tees", "Splits the video into two channels"},
    {"False Colour", "Colour", "Converts image using false colour maps"},
    {"Blur", "Bluring", "Basic block blur"},
    {"Dilation", "Morphilogical", "Increases the width of bright areas"},
    {"Erosion", "Morphilogical", "Decreases the width of bright areas"},
    {"Snap Shot", "Snap Shot", "Saves single images to disk"},
    {"Canny", "Edge Detections", "Edge detection, Canny operator"},
    {"Threshold", "Thresholding", "Outputs a thresholded image"},
    {"In Range Threshold", "Thresholding", "Thresholds based on whether pixels are within a certain range"},
    {"Colour Space Conversion", "Colour", "Converts image to a different colour space"},
    {"Contour Detector", "Contour", "Extracts contours in an image"},
    {"Path Drawer", "Contour", "Different options for drawing paths"},
    {"Video In Video", "Video", "Adds a video box on top of another video"},
    {"Frame Syncronizer", "Video", "Syncronises two video streams"},
    {"Main Display", "Main Display", "Big front display"},
};

class ElementCatalogueTest : public ::testing::Test {
protected:
    ElementCatalogueTest() : hub(boost::make_shared<ControlAndStatus>()) {}
    ~ElementCatalogueTest() override { SetElementRegistry({}); }

    testsupport::ScopedHome home;
    boost::shared_ptr<ControlAndStatus> hub;
};

TEST_F(ElementCatalogueTest, EighteenMakersInCatalogueOrder)
{
    LogCapture capture;
    const UserRegisteredTypes catalogue(hub);
    EXPECT_NE(capture.Text().find("Found 18 elements"), std::string::npos);
    const ElementMakerList makers = catalogue.GetMakers();
    ASSERT_EQ(makers.size(), kCatalogue.size());
    for (std::size_t i = 0; i < makers.size(); ++i) {
        EXPECT_EQ(makers[i]->GetName(), kCatalogue[i].name) << i;
        EXPECT_EQ(makers[i]->GetCategory(), kCatalogue[i].category) << i;
        EXPECT_EQ(makers[i]->GetDescription(), kCatalogue[i].description) << i;
    }
    EXPECT_TRUE(RegsteredTypesTest(hub).GetMakers().empty());
}

TEST_F(ElementCatalogueTest, EveryMakerMakesAnElementOfItsType)
{
    const UserRegisteredTypes catalogue(hub);
    for (const boost::shared_ptr<ElementMakerInterface>& maker : catalogue.GetMakers()) {
        // The camera needs a device; without one its constructor throws.
        if (maker->GetName() == "Camera")
            continue;
        const boost::shared_ptr<ElementBase> element = maker->Make();
        EXPECT_EQ(element->GetType(), maker->GetName());
        EXPECT_EQ(element->name, maker->GetName());
        EXPECT_EQ(element->category.Get(), maker->GetCategory());
        EXPECT_EQ(element->GetDescription(), maker->GetDescription());
        EXPECT_EQ(element->GetId(), "");
    }
}

// Every setting of every element reaches files, commands and the variable table as text.
TEST_F(ElementCatalogueTest, EverySettingOfEveryElementHasAConvertor)
{
    const UserRegisteredTypes catalogue(hub);
    for (const boost::shared_ptr<ElementMakerInterface>& maker : catalogue.GetMakers()) {
        if (maker->GetName() == "Camera")
            continue;
        const boost::shared_ptr<ElementBase> element = maker->Make();
        for (ParameterContainer* container : {&element->settings, &element->controls->settings}) {
            for (const ParameterItem& copy : container->GetItems()) {
                ParameterItem& item = container->FindItem(copy.name);
                EXPECT_NO_THROW(ParameterContainer::GetConvertor(item))
                    << maker->GetName() << " " << item.name << " " << item.GetTypeName();
            }
        }
    }
}

TEST_F(ElementCatalogueTest, RegisteringAgainReplacesTheRegistry)
{
    const UserRegisteredTypes catalogue(hub);
    EXPECT_TRUE(GetElementRegistry().empty());
    SetElementRegistry(catalogue.GetMakers());
    SetElementRegistry(catalogue.GetMakers());
    const ElementMakerList registry = GetElementRegistry();
    ASSERT_EQ(registry.size(), 18u);
    for (std::size_t i = 0; i < registry.size(); ++i)
        EXPECT_EQ(registry[i]->GetName(), kCatalogue[i].name);
}

TEST_F(ElementCatalogueTest, FactoryMatchesCatalogueNamesExactly)
{
    const UserRegisteredTypes catalogue(hub);
    SetElementRegistry(catalogue.GetMakers());
    ElementFactory factory(nullptr);
    std::string id;
    const boost::shared_ptr<ElementBase> canny = factory.MakeElement("Canny", id);
    EXPECT_TRUE(boost::dynamic_pointer_cast<EdgeDetect>(canny));
    EXPECT_EQ(id, "Canny_0");
    for (const std::string name : {"canny", "EdgeDetect", "Canny "}) {
        std::string none;
        EXPECT_THROW(factory.MakeElement(name, none), CustomException) << name;
    }
}

// "register" on the GUI thread while the test thread copies the registry.
TEST_F(ElementCatalogueTest, RegistryIsReadWhileItIsReplaced)
{
    const UserRegisteredTypes catalogue(hub);
    const ElementMakerList makers = catalogue.GetMakers();
    std::atomic<bool> done{false};
    std::atomic<int> copies{0};
    std::thread reader([&] {
        while (!done) {
            const ElementMakerList copy = GetElementRegistry();
            EXPECT_TRUE(copy.empty() || copy.size() == 18u);
            for (const boost::shared_ptr<ElementMakerInterface>& maker : copy)
                EXPECT_FALSE(maker->GetName().empty());
            ++copies;
        }
    });
    for (int round = 0; round < 200; ++round) {
        SetElementRegistry(round % 2 == 0 ? makers : ElementMakerList());
        if (round % 20 == 0) {
            const int seen = copies;
            EXPECT_TRUE(testsupport::WaitFor([&] { return copies > seen; }));
        }
    }
    done = true;
    reader.join();
}

}  // namespace
