// File information with its thumbnail, and the frame grabber.
#pragma once

#include "tranzel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tz {

// Fills the record and keeps a thumbnail frame for the next takeThumbnail.
// False when the file cannot be read as media.
bool readFileInfo(const std::string& path, TzFileInfo& info);
// The kept thumbnail scaled to RGB24; false when none is waiting. Takes it.
bool takeThumbnail(int width, int height, std::vector<uint8_t>& pixels);

int grabberOpen(const QuiloWindowPort* window, const std::string& path, int startSecond);
int grabberRequest(int second);
int grabberClose();
// The grabber's last frame scaled to RGB24 and its second; false when none.
bool grabberFrame(int width, int height, std::vector<uint8_t>& pixels, int& second);

// The last grabbed frame (else the last thumbnail) written as a JPEG file.
bool writeJpeg(int width, int height, const std::string& path);

} // namespace tz
