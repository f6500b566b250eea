// Text forms of the setting types the system defines itself or takes from its libraries,
// one pair of functions per type, and the OwnTypeText<T> table through which the
// functional convertor reaches the pair of its type. Numbers are written and read in the
// classic "C" locale; bracketed lists are separated by ", ". Readers throw on a text they
// cannot read (std::out_of_range for too few pieces, boost::bad_lexical_cast for a piece
// that is not a number) and then leave the value as it was.
#pragma once

#include "core/ControlBaseClass.h"
#include "core/FrameNumber.h"
#include "core/FrameRate.h"
#include "core/PreviewControls.h"
#include "core/SettingsLoader.h"
#include "core/SubImageControls.h"
#include "core/ThreadSafeVariable.h"
#include "core/VideoFormat.h"

#include <QPoint>
#include <QRect>
#include <opencv2/core.hpp>

#include <map>
#include <string>

// The names of the colour spaces, in key order. Never destroyed, so a conversion during
// process exit still finds it.
const std::map<VideoFormat::ColourSpace, std::string>& ColourSpaceNames();

// "[b, g, r, a]", from one copy taken under the variable's lock.
std::string ScalarToString(const ThreadSafeVariable<cv::Scalar>& colour);
// Brackets and spaces removed, split at commas; four numbers, further pieces ignored;
// all four stored together under the lock once all are read.
void ScalarFromString(ThreadSafeVariable<cv::Scalar>& colour, const std::string& text);

// "[x, y, width, height]" in whole pixels, from one copy taken under the lock.
std::string BoxToString(const ThreadSafeVariable<cv::Rect>& box);
// Read like the colour, four integers, stored under the lock. An empty text (what files
// written before the box had a text form hold) changes nothing.
void BoxFromString(ThreadSafeVariable<cv::Rect>& box, const std::string& text);

std::string VectorToString(const cv::Vec3d& vector);
void VectorFromString(cv::Vec3d& vector, const std::string& text);

std::string PointToString(const QPoint& point);
void PointFromString(QPoint& point, const std::string& text);

// "[x1, y1] [x2, y2]": the top-left and the (inclusive) bottom-right corner.
std::string RectToString(const QRect& rect);
// The first two bracketed items, each a point; stored only after both were read.
void RectFromString(QRect& rect, const std::string& text);

// The name; "NOT IMPLEMENTED" for a value without one.
std::string ColourSpaceToString(VideoFormat::ColourSpace colour_space);
// Exact, case-sensitive name match; any other text gives UNSET. Never fails.
void ColourSpaceFromString(VideoFormat::ColourSpace& colour_space, const std::string& text);

// Frames per second as a double; -1 for a rate never set.
std::string FrameRateToString(const FrameRate& rate);
void FrameRateFromString(FrameRate& rate, const std::string& text);

// The control text form of the object's settings.
std::string ControlToString(ControlBaseClass& control);
// Applies a control text form. An empty text (what files written before a record had a
// text form hold) changes nothing; any other text that is not a control text form
// throws CustomException and changes nothing.
void ControlFromString(ControlBaseClass& control, const std::string& text);

// Per-type pair used by SettingConvertorFunctional<T>.
template <typename T>
struct OwnTypeText;

// Types that have no text form: written as "", and any text is accepted and ignored.
template <typename T>
struct NoTextForm {
    static std::string Write(T&) { return ""; }
    static void Read(T&, const std::string&) {}
};

template <>
struct OwnTypeText<FrameNumber> : NoTextForm<FrameNumber> {
};
template <>
struct OwnTypeText<PreviewControls> : NoTextForm<PreviewControls> {
};
template <>
struct OwnTypeText<SettingsLoader> : NoTextForm<SettingsLoader> {
};

template <>
struct OwnTypeText<QRect> {
    static std::string Write(QRect& value) { return RectToString(value); }
    static void Read(QRect& value, const std::string& text) { RectFromString(value, text); }
};

template <>
struct OwnTypeText<QPoint> {
    static std::string Write(QPoint& value) { return PointToString(value); }
    static void Read(QPoint& value, const std::string& text) { PointFromString(value, text); }
};

// Configurable objects: their settings in the control text form.
template <typename T>
struct ControlTextForm {
    static std::string Write(T& value) { return ControlToString(value); }
    static void Read(T& value, const std::string& text) { ControlFromString(value, text); }
};

template <>
struct OwnTypeText<ControlBaseClass> : ControlTextForm<ControlBaseClass> {
};
template <>
struct OwnTypeText<SubImageControls> : ControlTextForm<SubImageControls> {
};

template <>
struct OwnTypeText<VideoFormat::ColourSpace> {
    static std::string Write(VideoFormat::ColourSpace& value) { return ColourSpaceToString(value); }
    static void Read(VideoFormat::ColourSpace& value, const std::string& text)
    {
        ColourSpaceFromString(value, text);
    }
};

template <>
struct OwnTypeText<cv::Vec3d> {
    static std::string Write(cv::Vec3d& value) { return VectorToString(value); }
    static void Read(cv::Vec3d& value, const std::string& text) { VectorFromString(value, text); }
};

template <>
struct OwnTypeText<ThreadSafeVariable<cv::Scalar>> {
    static std::string Write(ThreadSafeVariable<cv::Scalar>& value) { return ScalarToString(value); }
    static void Read(ThreadSafeVariable<cv::Scalar>& value, const std::string& text)
    {
        ScalarFromString(value, text);
    }
};

template <>
struct OwnTypeText<ThreadSafeVariable<cv::Rect>> {
    static std::string Write(ThreadSafeVariable<cv::Rect>& value) { return BoxToString(value); }
    static void Read(ThreadSafeVariable<cv::Rect>& value, const std::string& text)
    {
        BoxFromString(value, text);
    }
};

template <>
struct OwnTypeText<FrameRate> {
    static std::string Write(FrameRate& value) { return FrameRateToString(value); }
    static void Read(FrameRate& value, const std::string& text) { FrameRateFromString(value, text); }
};
