// The readers' guard against a path whose open would block or mislead them (a FIFO,
// a device, a folder): only a regular file, after links, is read.
#pragma once

#include <string>

// Asks the file system about the path without opening it.
bool IsRegularFile(const std::string& path);
