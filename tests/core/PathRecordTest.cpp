#include "core/ImageConversions.h"
#include "core/PathContainer.h"
#include "core/PathRecord.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

namespace {

PathRecord Square(int left, int top, int side)
{
    PathRecord record;
    record.points = {{left, top}, {left + side, top}, {left + side, top + side}, {left, top + side}};
    return record;
}

int EntriesNamed(const PathRecord& record, const std::string& name)
{
    int count = 0;
    for (const auto& entry : record.feature_cache)
        count += entry->name() == name ? 1 : 0;
    return count;
}

cv::Mat Blank()
{
    return cv::Mat(40, 40, CV_8UC3, cv::Scalar::all(0));
}

TEST(PathRecordTest, NewRecordIsEmpty)
{
    const PathRecord record;
    EXPECT_TRUE(record.feature_cache.empty());
    EXPECT_TRUE(record.points.empty());
    EXPECT_TRUE(record.panic_points.empty());
    EXPECT_EQ(record.GetColour(), cv::Scalar(0, 0, 0, 0));
}

TEST(PathRecordTest, CacheSetOverwritesAndGetLeavesValueWhenMissing)
{
    PathRecord record;
    record.SetCachedValue("box", cv::Rect(1, 2, 3, 4));
    record.SetCachedValue("box", cv::Rect(5, 6, 7, 8));
    EXPECT_EQ(EntriesNamed(record, "box"), 1);

    cv::Rect box;
    ASSERT_TRUE(record.GetCachedValue("box", box));
    EXPECT_EQ(box, cv::Rect(5, 6, 7, 8));

    cv::Rect untouched(9, 9, 9, 9);
    EXPECT_FALSE(record.GetCachedValue("Box", untouched));
    EXPECT_EQ(untouched, cv::Rect(9, 9, 9, 9));
    EXPECT_FALSE(record.HasCachedValue("Box"));
    EXPECT_TRUE(record.HasCachedValue("box"));
}

TEST(PathRecordTest, FeaturesAreComputedOncePerCache)
{
    PathRecord record = Square(10, 10, 8);
    const cv::Rect first = record.GetBoundingBox();
    EXPECT_EQ(first, cv::Rect(10, 10, 9, 9));

    // A second computation would see the moved points.
    record.points = {{0, 0}, {1, 1}};
    EXPECT_EQ(record.GetBoundingBox(), first);
    EXPECT_EQ(EntriesNamed(record, "bounding_box"), 1);
    EXPECT_EQ(record.feature_cache.size(), 1u);
}

TEST(PathRecordTest, CopiesShareCachedEntries)
{
    PathRecord record = Square(10, 10, 8);
    record.GetBoundingBox();
    PathRecord copy = record;
    ASSERT_EQ(copy.feature_cache.size(), 1u);
    EXPECT_EQ(copy.feature_cache[0].get(), record.feature_cache[0].get());

    copy.SetCachedValue("bounding_box", cv::Rect(0, 0, 1, 1));
    EXPECT_EQ(record.GetBoundingBox(), cv::Rect(0, 0, 1, 1));
}

TEST(PathRecordTest, ShapesOfASquare)
{
    PathRecord record = Square(10, 10, 8);
    const cv::RotatedRect rect = record.GetRotatedRect();
    EXPECT_NEAR(rect.center.x, 14.0, 1e-3);
    EXPECT_NEAR(rect.center.y, 14.0, 1e-3);
    EXPECT_NEAR(rect.size.area(), 64.0, 1e-3);
    EXPECT_TRUE(record.HasCachedValue("rotated_rect"));

    PathRecord circle;
    for (int degrees = 0; degrees < 360; degrees += 30) {
        const double angle = degrees * CV_PI / 180.0;
        circle.points.emplace_back(cvRound(20 + 10 * std::cos(angle)), cvRound(20 + 10 * std::sin(angle)));
    }
    const cv::RotatedRect ellipse = circle.GetEllipse();
    EXPECT_NEAR(ellipse.center.x, 20.0, 0.5);
    EXPECT_NEAR(ellipse.center.y, 20.0, 0.5);
    EXPECT_NEAR(ellipse.size.width, 20.0, 1.0);
    EXPECT_TRUE(circle.HasCachedValue("ellipse"));
}

TEST(PathRecordTest, EllipseNeedsFivePoints)
{
    PathRecord record = Square(10, 10, 8);
    EXPECT_THROW(record.GetEllipse(), cv::Exception);
}

TEST(PathRecordTest, HullIsTakenFromThePanicPoints)
{
    PathRecord record = Square(0, 0, 30);
    record.panic_points = {{10, 10}, {30, 10}, {30, 30}, {10, 30}, {20, 20}};
    const std::vector<cv::Point> hull = record.GetHull();
    EXPECT_EQ(hull.size(), 4u);
    EXPECT_TRUE(record.HasCachedValue("hull"));
}

TEST(PathRecordTest, EmptyRecordIsCachedAndDrawsNothing)
{
    PathRecord record;
    EXPECT_TRUE(record.GetHull().empty());
    EXPECT_TRUE(record.HasCachedValue("hull"));
    const cv::RotatedRect rect = record.GetRotatedRect();
    EXPECT_TRUE(record.HasCachedValue("rotated_rect"));

    cv::Mat image = Blank();
    record.colour = cv::Scalar(255, 255, 255, 0);
    EXPECT_NO_THROW(record.DrawConvexHull(image, true));
    EXPECT_NO_THROW(record.DrawConvexHull(image, false));
    EXPECT_NO_THROW(DrawRotatedRect(image, rect, 2, cv::Scalar(255, 255, 255)));
    EXPECT_NO_THROW(record.DrawPath(image, cv::Scalar(255, 255, 255), 1));
    EXPECT_NO_THROW(record.DrawPanicPoints(image));
    EXPECT_EQ(cv::countNonZero(image.reshape(1)), 0);
}

TEST(PathRecordTest, PointsWithoutPanicPointsDrawNoHull)
{
    PathRecord record = Square(10, 10, 8);
    record.colour = cv::Scalar(255, 255, 255, 0);
    cv::Mat image = Blank();
    record.DrawConvexHull(image, true);
    EXPECT_EQ(cv::countNonZero(image.reshape(1)), 0);
}

TEST(PathRecordTest, ConvexHullFilledOrOutlinedInTheRecordColour)
{
    PathRecord record;
    record.panic_points = {{10, 10}, {30, 10}, {30, 30}, {10, 30}};
    record.colour = cv::Scalar(1, 2, 3, 0);

    cv::Mat filled = Blank();
    record.DrawConvexHull(filled, true);
    EXPECT_EQ(filled.at<cv::Vec3b>(20, 20), cv::Vec3b(1, 2, 3));
    EXPECT_EQ(filled.at<cv::Vec3b>(10, 20), cv::Vec3b(1, 2, 3));

    cv::Mat outlined = Blank();
    record.DrawConvexHull(outlined, false);
    EXPECT_EQ(outlined.at<cv::Vec3b>(10, 20), cv::Vec3b(1, 2, 3));
    EXPECT_EQ(outlined.at<cv::Vec3b>(20, 20), cv::Vec3b(0, 0, 0));
}

TEST(PathRecordTest, DrawPathUsesTheRecordColourForZero)
{
    PathRecord record;
    record.points = {{10, 10}, {25, 25}};
    record.colour = cv::Scalar(7, 8, 9, 0);

    cv::Mat own = Blank();
    record.DrawPath(own, cv::Scalar(0, 0, 0, 0), 1);
    EXPECT_EQ(own.at<cv::Vec3b>(9, 10), cv::Vec3b(7, 8, 9));
    EXPECT_EQ(own.at<cv::Vec3b>(24, 25), cv::Vec3b(7, 8, 9));
    EXPECT_EQ(own.at<cv::Vec3b>(17, 17), cv::Vec3b(0, 0, 0));  // dots, not a line

    cv::Mat given = Blank();
    record.DrawPath(given, cv::Scalar(0, 0, 200, 0), 1);
    EXPECT_EQ(given.at<cv::Vec3b>(9, 10), cv::Vec3b(0, 0, 200));
}

TEST(PathRecordTest, PanicPointsAreGreen)
{
    PathRecord record;
    record.panic_points = {{20, 20}};
    cv::Mat image = Blank();
    record.DrawPanicPoints(image);
    EXPECT_EQ(image.at<cv::Vec3b>(18, 20), cv::Vec3b(0, 255, 0));
    EXPECT_EQ(image.at<cv::Vec3b>(10, 10), cv::Vec3b(0, 0, 0));
}

TEST(PathContainerTest, TypeNameAndSharedCachesOnCopy)
{
    EXPECT_EQ(PathContainer::GetTypeName(), "Path");
    PathContainer container;
    EXPECT_TRUE(container.records.empty());
    EXPECT_TRUE(container.texts.empty());

    container.records.push_back(Square(1, 1, 4));
    container.records[0].GetBoundingBox();
    const PathContainer copy = container;
    ASSERT_EQ(copy.records.size(), 1u);
    EXPECT_EQ(copy.records[0].feature_cache[0].get(), container.records[0].feature_cache[0].get());
}

}  // namespace
