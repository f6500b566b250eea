#include "core/OwnTypeTextForms.h"

#include "core/CustomException.h"
#include "core/Utilities.h"
#include "core/ValueText.h"

#include <vector>

namespace {

// Every "[", "]" and space removed, then split at the commas.
std::vector<std::string> ListPieces(const std::string& text)
{
    return Split(RemoveCharacter(RemoveCharacter(RemoveCharacter(text, '['), ']'), ' '), ',');
}

template <typename T>
std::string Bracketed(const std::vector<T>& values)
{
    std::string text = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            text += ", ";
        text += ValueToText(values[i]);
    }
    return text + "]";
}

// The first count pieces as numbers; too few pieces throw std::out_of_range.
template <typename T>
std::vector<T> ReadNumbers(const std::string& text, std::size_t count)
{
    const std::vector<std::string> pieces = ListPieces(text);
    std::vector<T> numbers;
    for (std::size_t i = 0; i < count; ++i)
        numbers.push_back(ValueFromText<T>(pieces.at(i)));
    return numbers;
}

}  // namespace

const std::map<VideoFormat::ColourSpace, std::string>& ColourSpaceNames()
{
    static const auto* const names = new std::map<VideoFormat::ColourSpace, std::string>{
        {VideoFormat::BGR, "BGR"},   {VideoFormat::RGB, "RGB"},     {VideoFormat::HSV, "HSV"},
        {VideoFormat::GREY, "GREY"}, {VideoFormat::YCrCb, "YCrCb"}, {VideoFormat::UNSET, "UNSET"}};
    return *names;
}

std::string ScalarToString(const ThreadSafeVariable<cv::Scalar>& colour)
{
    const cv::Scalar value = colour.Get();
    return Bracketed(std::vector<double>{value[0], value[1], value[2], value[3]});
}

void ScalarFromString(ThreadSafeVariable<cv::Scalar>& colour, const std::string& text)
{
    const std::vector<double> v = ReadNumbers<double>(text, 4);
    colour.Set(cv::Scalar(v[0], v[1], v[2], v[3]));
}

std::string BoxToString(const ThreadSafeVariable<cv::Rect>& box)
{
    const cv::Rect value = box.Get();
    return Bracketed(std::vector<int>{value.x, value.y, value.width, value.height});
}

void BoxFromString(ThreadSafeVariable<cv::Rect>& box, const std::string& text)
{
    if (text.empty())
        return;
    const std::vector<int> v = ReadNumbers<int>(text, 4);
    box.Set(cv::Rect(v[0], v[1], v[2], v[3]));
}

std::string VectorToString(const cv::Vec3d& vector)
{
    return Bracketed(std::vector<double>{vector[0], vector[1], vector[2]});
}

void VectorFromString(cv::Vec3d& vector, const std::string& text)
{
    const std::vector<double> v = ReadNumbers<double>(text, 3);
    vector = cv::Vec3d(v[0], v[1], v[2]);
}

std::string PointToString(const QPoint& point)
{
    return Bracketed(std::vector<int>{point.x(), point.y()});
}

void PointFromString(QPoint& point, const std::string& text)
{
    const std::vector<int> v = ReadNumbers<int>(text, 2);
    point = QPoint(v[0], v[1]);
}

std::string RectToString(const QRect& rect)
{
    return PointToString(rect.topLeft()) + " " + PointToString(rect.bottomRight());
}

void RectFromString(QRect& rect, const std::string& text)
{
    const std::vector<std::string> items = ParseItemList(text);
    QPoint top_left;
    QPoint bottom_right;
    PointFromString(top_left, items.at(0));
    PointFromString(bottom_right, items.at(1));
    rect = QRect(top_left, bottom_right);
}

std::string ColourSpaceToString(VideoFormat::ColourSpace colour_space)
{
    const auto found = ColourSpaceNames().find(colour_space);
    return found == ColourSpaceNames().end() ? "NOT IMPLEMENTED" : found->second;
}

void ColourSpaceFromString(VideoFormat::ColourSpace& colour_space, const std::string& text)
{
    colour_space = VideoFormat::UNSET;
    for (const auto& entry : ColourSpaceNames()) {
        if (entry.second == text)
            colour_space = entry.first;
    }
}

std::string FrameRateToString(const FrameRate& rate)
{
    return ValueToText(rate.Get());
}

void FrameRateFromString(FrameRate& rate, const std::string& text)
{
    rate.Set(ValueFromText<double>(text));
}

std::string ControlToString(ControlBaseClass& control)
{
    return control.settings.loader.ToString();
}

void ControlFromString(ControlBaseClass& control, const std::string& text)
{
    if (text.empty())
        return;
    if (!control.settings.loader.FromString(text))
        throw CustomException("Could not read the settings of " + control.name + " from " + text);
}
