// Reads an image file for a frame: the file is opened once (see core/RegularFile.h) and the
// picture decoded from the bytes of what was opened, so the file that was checked is
// the file that is decoded.
#pragma once

#include <cstddef>
#include <string>

#include <opencv2/core/mat.hpp>

#include "core/RegularFile.h"

// Far above any picture file the system plays (a 16-bit four-channel 8000 by 8000
// picture is 512 MiB uncompressed); bounds the memory one read can take.
constexpr std::size_t kMaxImageFileBytes = std::size_t(1) << 30;

// The picture decoded with the imread flags (cv::IMREAD_COLOR, cv::IMREAD_UNCHANGED);
// empty when the outcome is not Ok or when the bytes are not a picture OpenCV decodes.
cv::Mat ReadImageFile(const std::string& path, int flags, FileOutcome& outcome);
