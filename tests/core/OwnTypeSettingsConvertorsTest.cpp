#include "core/ControlAndStatus.h"
#include "core/CustomException.h"
#include "core/FrameNumber.h"
#include "core/FrameRate.h"
#include "core/MainDisplayControls.h"
#include "core/OwnTypeTextForms.h"
#include "core/ParameterContainer.h"
#include "core/PreviewControls.h"
#include "core/SettingsConvertors.h"
#include "core/SubImageControls.h"
#include "core/ThreadSafeVariable.h"
#include "core/VideoFormat.h"

#include "support/TestSupport.h"

#include <QPoint>
#include <QRect>
#include <boost/lexical_cast/bad_lexical_cast.hpp>
#include <boost/make_shared.hpp>
#include <gtest/gtest.h>
#include <opencv2/core.hpp>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The index of the first registry row that converts the container's setting.
int RowOf(ParameterContainer& container, const std::string& name)
{
    const SettingsConvertorList& rows = GetSettingsConvertors();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i]->CanConvert(container.FindItem(name)))
            return static_cast<int>(i);
    }
    return -1;
}

std::string ToText(ParameterContainer& container, const std::string& name)
{
    ParameterItem& item = container.FindItem(name);
    return ParameterContainer::GetConvertor(item)->ToString(item, -1);
}

bool FromText(ParameterContainer& container, const std::string& name, const std::string& text)
{
    ParameterItem& item = container.FindItem(name);
    return ParameterContainer::GetConvertor(item)->FromString(item, text);
}

TEST(OwnTypeSettingsConvertorsTest, RowsFollowThePlainRowsInOrder)
{
    testsupport::ScopedHome home;
    auto hub = boost::make_shared<ControlAndStatus>();
    FrameNumber frame_number;
    QRect rect;
    QPoint point;
    SettingsLoader loader(nullptr);
    ControlBaseClass control("control");
    VideoFormat::ColourSpace colour_space = VideoFormat::BGR;
    cv::Vec3d vector;
    ThreadSafeVariable<cv::Scalar> colour;
    FrameRate rate;
    PreviewControls preview(hub);
    auto main_display = boost::make_shared<MainDisplayControls>();
    auto sub_image_record = boost::make_shared<SubImageControls>();
    ThreadSafeVariable<cv::Rect> box;
    SubImageControls sub_image;

    ParameterContainer container;
    container.AddSetting("29", &frame_number, "");
    container.AddSetting("30", &rect, "");
    container.AddSetting("31", &point, "");
    container.AddSetting("32", &loader, "");
    container.AddSetting("33", &control, "");
    container.AddSetting("34", &colour_space, "");
    container.AddSetting("35", &vector, "");
    container.AddSetting("36", &colour, "");
    container.AddSetting("37", &rate, "");
    container.AddSetting("38", &preview, "");
    container.AddSetting("39", &main_display, "");
    container.AddSetting("40", &sub_image_record, "");
    container.AddSetting("41", &box, "");
    container.AddSetting("42", &sub_image, "");

    ASSERT_EQ(GetSettingsConvertors().size(), 42u);
    for (int row = 29; row <= 42; ++row)
        EXPECT_EQ(RowOf(container, std::to_string(row)), row - 1) << "row " << row;
}

TEST(OwnTypeSettingsConvertorsTest, ColourReadsFourNumbersInAnyBracketing)
{
    struct Case {
        std::string text;
        cv::Scalar expected;
    };
    const std::vector<Case> cases = {
        {"[1, 2, 3, 4]", cv::Scalar(1, 2, 3, 4)},    {"[1,2,3,4]", cv::Scalar(1, 2, 3, 4)},
        {"1,2,3,4", cv::Scalar(1, 2, 3, 4)},         {"[0.5, -2, 1e3, 4] ", cv::Scalar(0.5, -2, 1000, 4)},
        {"[1, 2, 3, 4, 5]", cv::Scalar(1, 2, 3, 4)},
    };
    for (const Case& c : cases) {
        ThreadSafeVariable<cv::Scalar> colour(cv::Scalar(9, 9, 9, 9));
        ScalarFromString(colour, c.text);
        EXPECT_EQ(colour.Get(), c.expected) << c.text;
    }
    ThreadSafeVariable<cv::Scalar> blue(cv::Scalar(255, 0, 0, 0));
    EXPECT_EQ(ScalarToString(blue), "[255, 0, 0, 0]");
    ThreadSafeVariable<cv::Scalar> fractions(cv::Scalar(0.25, -1.5, 1e-7, 3));
    ScalarFromString(fractions, ScalarToString(fractions));
    EXPECT_EQ(fractions.Get(), cv::Scalar(0.25, -1.5, 1e-7, 3));
}

TEST(OwnTypeSettingsConvertorsTest, UnreadableListsThrowAndKeepTheOldValue)
{
    const cv::Scalar old_colour(9, 8, 7, 6);
    for (const std::string text : {"[1, 2, 3]", "", "[]"}) {
        ThreadSafeVariable<cv::Scalar> colour(old_colour);
        EXPECT_THROW(ScalarFromString(colour, text), std::out_of_range) << text;
        EXPECT_EQ(colour.Get(), old_colour);
    }
    for (const std::string text : {"[1,,3,4]", "[a, 2, 3, 4]", "[1, 2, 3, 4x]"}) {
        ThreadSafeVariable<cv::Scalar> colour(old_colour);
        EXPECT_THROW(ScalarFromString(colour, text), boost::bad_lexical_cast) << text;
        EXPECT_EQ(colour.Get(), old_colour);
    }

    cv::Vec3d vector(1, 2, 3);
    EXPECT_THROW(VectorFromString(vector, "[4, 5]"), std::out_of_range);
    QPoint point(1, 2);
    EXPECT_THROW(PointFromString(point, "[4]"), std::out_of_range);
    EXPECT_THROW(PointFromString(point, "[4.5, 1]"), boost::bad_lexical_cast);
    EXPECT_EQ(point, QPoint(1, 2));
    QRect rect(QPoint(1, 2), QPoint(3, 4));
    EXPECT_THROW(RectFromString(rect, "[5, 6]"), std::out_of_range);
    EXPECT_THROW(RectFromString(rect, "[5, 6] [7]"), std::out_of_range);
    EXPECT_EQ(rect, QRect(QPoint(1, 2), QPoint(3, 4)));
    FrameRate rate(25.0);
    EXPECT_THROW(FrameRateFromString(rate, "fast"), boost::bad_lexical_cast);
    EXPECT_EQ(rate.Get(), 25.0);
}

TEST(OwnTypeSettingsConvertorsTest, VectorPointRectAndFrameRateTextForms)
{
    cv::Vec3d vector(1.5, -2, 0);
    EXPECT_EQ(VectorToString(vector), "[1.5, -2, 0]");
    VectorFromString(vector, "4,5,6,7");
    EXPECT_EQ(vector, cv::Vec3d(4, 5, 6));

    QPoint point(3, -4);
    EXPECT_EQ(PointToString(point), "[3, -4]");
    PointFromString(point, "[7 ,8, 9]");
    EXPECT_EQ(point, QPoint(7, 8));

    QRect rect(QPoint(10, 20), QPoint(109, 219));
    EXPECT_EQ(RectToString(rect), "[10, 20] [109, 219]");
    QRect read;
    RectFromString(read, "[10, 20] [109, 219]");
    EXPECT_EQ(read, rect);
    EXPECT_EQ(read.width(), 100);
    RectFromString(read, "from [1,2] to [3, 4] and [5, 6]");
    EXPECT_EQ(read, QRect(QPoint(1, 2), QPoint(3, 4)));

    FrameRate rate;
    EXPECT_EQ(FrameRateToString(rate), "-1");
    FrameRateFromString(rate, "29.97");
    EXPECT_DOUBLE_EQ(rate.Get(), 29.97);
    EXPECT_EQ(FrameRateToString(rate), "29.97");
}

TEST(OwnTypeSettingsConvertorsTest, ColourSpaceNamesAreExactAndCaseSensitive)
{
    const std::vector<std::pair<int, std::string>> names = {{0, "BGR"},
                                                            {1, "RGB"},
                                                            {2, "HSV"},
                                                            {3, "GREY"},
                                                            {4, "YCrCb"},
                                                            {5, "UNSET"},
                                                            {7, "NOT IMPLEMENTED"},
                                                            {-1, "NOT IMPLEMENTED"}};
    for (const auto& entry : names)
        EXPECT_EQ(ColourSpaceToString(static_cast<VideoFormat::ColourSpace>(entry.first)), entry.second);

    struct Case {
        std::string text;
        VideoFormat::ColourSpace expected;
    };
    for (const Case& c :
         {Case{"HSV", VideoFormat::HSV}, Case{"YCrCb", VideoFormat::YCrCb}, Case{"BGR", VideoFormat::BGR},
          Case{"Grey", VideoFormat::UNSET}, Case{"NOT IMPLEMENTED", VideoFormat::UNSET},
          Case{"", VideoFormat::UNSET}, Case{" RGB", VideoFormat::UNSET}}) {
        VideoFormat::ColourSpace colour_space = VideoFormat::RGB;
        ColourSpaceFromString(colour_space, c.text);
        EXPECT_EQ(colour_space, c.expected) << c.text;
    }
}

TEST(OwnTypeSettingsConvertorsTest, TypesWithoutTextFormWriteNothingAndAcceptAnything)
{
    testsupport::ScopedHome home;
    auto hub = boost::make_shared<ControlAndStatus>();
    FrameNumber frame_number;
    frame_number.SetFrameCount(10);
    frame_number.SetFrame(4);
    PreviewControls preview(hub);
    SettingsLoader loader(nullptr);
    ParameterContainer container;
    container.AddSetting("_frame_number", &frame_number, "");
    container.AddSetting("_preview", &preview, "");
    container.AddSetting("_loader", &loader, "");
    for (const std::string name : {"_frame_number", "_preview", "_loader"}) {
        EXPECT_EQ(ToText(container, name), "") << name;
        EXPECT_TRUE(FromText(container, name, "7")) << name;
        EXPECT_TRUE(FromText(container, name, "<Loader/>")) << name;
    }
    EXPECT_EQ(frame_number.GetFrame(), 4);
}

TEST(OwnTypeSettingsConvertorsTest, ItemsOfAnotherTypeAreRefused)
{
    int number = 3;
    ParameterContainer container;
    container.AddSetting("_number", &number, "");
    ParameterItem& item = container.FindItem("_number");
    const SettingsConvertorList& rows = GetSettingsConvertors();
    for (std::size_t row = 28; row < rows.size(); ++row) {
        EXPECT_FALSE(rows[row]->CanConvert(item));
        EXPECT_FALSE(rows[row]->FromString(item, "5"));
        try {
            rows[row]->ToString(item, -1);
            ADD_FAILURE() << "row " << row + 1 << " converted an int";
        } catch (const CustomException& e) {
            const std::string expected = (row == 38 || row == 39)
                                             ? "Could not covert control to string"
                                             : "Could not covert thread safe variable to string";
            EXPECT_EQ(std::string(e.what()), expected) << "row " << row + 1;
        }
    }
    EXPECT_EQ(number, 3);
}

TEST(OwnTypeSettingsConvertorsTest, ControlRecordsUseTheControlTextForm)
{
    auto display = boost::make_shared<MainDisplayControls>();
    display->SetWindowGeometry(QByteArray("geometry"));
    ParameterContainer container;
    container.AddSetting("_controls", &display, "");

    const std::string text = ToText(container, "_controls");
    EXPECT_EQ(text, display->settings.loader.ToString());
    EXPECT_NE(text.find("name=\"_windows_geometry\""), std::string::npos);

    auto other = boost::make_shared<MainDisplayControls>();
    ParameterContainer other_container;
    other_container.AddSetting("_controls", &other, "");
    EXPECT_TRUE(FromText(other_container, "_controls", text));
    EXPECT_EQ(other->GetWindowGeometry(), QByteArray("geometry"));

    // An old file's empty value changes nothing; a text that is no control text form is
    // refused, not taken as success.
    EXPECT_TRUE(FromText(other_container, "_controls", ""));
    EXPECT_EQ(other->GetWindowGeometry(), QByteArray("geometry"));
    EXPECT_THROW(FromText(other_container, "_controls", "not a document"), CustomException);
    EXPECT_EQ(other->GetWindowGeometry(), QByteArray("geometry"));
}

TEST(OwnTypeSettingsConvertorsTest, EmptyRecordPointersWriteNothingAndReadNothing)
{
    boost::shared_ptr<MainDisplayControls> no_display;
    boost::shared_ptr<SubImageControls> no_sub_image;
    ParameterContainer container;
    container.AddSetting("_controls", &no_display, "");
    container.AddSetting("_sub_image", &no_sub_image, "");
    for (const std::string name : {"_controls", "_sub_image"}) {
        EXPECT_EQ(ToText(container, name), "") << name;
        EXPECT_TRUE(
            FromText(container, name, "<Loader><Setting name=\"_box\" value=\"[1, 2, 3, 4]\"/></Loader>"));
        EXPECT_EQ(container.GetValueAsString(name), "");
    }
    EXPECT_FALSE(no_display);
    EXPECT_FALSE(no_sub_image);
}

TEST(OwnTypeSettingsConvertorsTest, InsetBoxAndItsRecordSurviveATextRoundTrip)
{
    SubImageControls written;
    written.box.Set(cv::Rect(10, 20, 30, 40));
    ParameterContainer source;
    source.AddSetting("_sub_image_controls", &written, "");
    source.AddSetting("_box", &written.box, "");
    EXPECT_EQ(source.GetValueAsString("_box"), "[10, 20, 30, 40]");
    const std::string record_text = source.GetValueAsString("_sub_image_controls");
    EXPECT_NE(record_text.find("value=\"[10, 20, 30, 40]\""), std::string::npos);

    SubImageControls read;
    ParameterContainer target;
    target.AddSetting("_sub_image_controls", &read, "");
    target.AddSetting("_box", &read.box, "");
    target.SetValue("_sub_image_controls", record_text, "");
    EXPECT_EQ(read.box.Get(), cv::Rect(10, 20, 30, 40));

    // What files held before these settings had a text form: no change.
    target.SetValue("_sub_image_controls", "", "");
    target.SetValue("_box", "", "");
    EXPECT_EQ(read.box.Get(), cv::Rect(10, 20, 30, 40));

    target.SetValue("_box", "[1,2, 3 ,4]", "");
    EXPECT_EQ(read.box.Get(), cv::Rect(1, 2, 3, 4));
    for (const std::string text : {"[5, 6, 7]", "[5, 6, 7.5, 8]", "[a, 6, 7, 8]"}) {
        target.SetValue("_box", text, "");
        EXPECT_EQ(read.box.Get(), cv::Rect(1, 2, 3, 4)) << text;
    }
    EXPECT_THROW(FromText(target, "_box", "[5, 6, 7]"), std::out_of_range);
}

TEST(OwnTypeSettingsConvertorsTest, RawVideoHeaderRoundTripKeepsTheColourSpace)
{
    for (VideoFormat::ColourSpace colour_space :
         {VideoFormat::BGR, VideoFormat::RGB, VideoFormat::HSV, VideoFormat::GREY, VideoFormat::YCrCb,
          VideoFormat::UNSET}) {
        VideoFormat written(640, 480, 3, 16, colour_space);
        const std::string text = written.settings.loader.ToString();
        EXPECT_NE(text.find("name=\"_type\" value=\"" + ColourSpaceToString(colour_space) + "\""),
                  std::string::npos)
            << text;
        ASSERT_LT(text.size(), static_cast<std::size_t>(VideoFormat::GetHeaderSize()));

        // A raw video header: the text, then NUL bytes up to the header size; it is read
        // up to its first NUL.
        std::string header = text;
        header.resize(VideoFormat::GetHeaderSize(), '\0');
        VideoFormat read(1, 1, 1, 8, VideoFormat::GREY);
        read.FromString(std::string(header.c_str()));
        EXPECT_EQ(read.GetWidth(), 640);
        EXPECT_EQ(read.GetHeight(), 480);
        EXPECT_EQ(read.GetChannels(), 3);
        EXPECT_EQ(read.GetBitsPerPixel(), 16);
        EXPECT_EQ(read.GetColourSpace(), colour_space);
    }
}

}  // namespace
