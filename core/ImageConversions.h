// Small stateless image chores shared by elements and widgets: grey/colour
// conversion, one colour to HSV, rotated-rectangle drawing, keeping a box
// inside an image and random drawing colours. Safe on any thread.
#pragma once

#include <opencv2/core.hpp>

// 8-bit BGR becomes grey; 8-bit grey is shared, not copied; other types leave dst alone.
void ToGrey(const cv::Mat& src, cv::Mat& dst);

// 8-bit grey becomes BGR; 8-bit BGR is shared, not copied; other types leave dst alone.
void ToColour(const cv::Mat& src, cv::Mat& dst);

// One BGR colour in the scale of 8-bit HSV frames: hue 0..180, saturation 0..255,
// value the largest of the three inputs; the fourth component is 0.
cv::Scalar BgrToHsv(const cv::Scalar& bgr);

// The outline of the rectangle; a rectangle without extent draws nothing.
void DrawRotatedRect(cv::Mat& image, const cv::RotatedRect& rect, int thickness, const cv::Scalar& colour);

// Moves and shrinks the box (in place) until it lies inside the image, keeping
// each side at least min_side where it can; returns the fitted box.
cv::Rect FitRectInImage(cv::Rect& box, const cv::Size& image_size, int min_side);

// Each of B, G, R from the C library's rand(), 0..254; the fourth component is 0.
cv::Scalar RandomColour();
