// Small stateless image chores shared by elements and widgets: grey/colour
// conversion, bringing a frame to what an 8-bit operation takes, one colour to
// HSV, rotated-rectangle drawing, keeping a box inside an image and random
// drawing colours. Safe on any thread.
#pragma once

#include <opencv2/core.hpp>

// 8-bit BGR becomes grey; 8-bit grey is shared, not copied; other types leave dst alone.
void ToGrey(const cv::Mat& src, cv::Mat& dst);

// 8-bit grey becomes BGR; 8-bit BGR is shared, not copied; other types leave dst alone.
void ToColour(const cv::Mat& src, cv::Mat& dst);

// The channels an 8-bit operation takes: one, three (BGR), either of the two, or those the
// image has.
enum class ChannelsWanted { Grey, Colour, GreyOrColour, Unchanged };

// Brings src to 8 bits (16-bit values scaled down by 257) with the channels wanted: alpha
// dropped, colour made grey or grey made colour. An image already so is shared, not copied;
// src and dst may be the same. Throws cv::Exception for other depths and for 2 or more than 4
// channels.
void ToEightBit(const cv::Mat& src, cv::Mat& dst, ChannelsWanted wanted);

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
