// Snapshots of the preview: the picture size, the file name the save dialog's
// filter decides, and the JPEG and bitmap writers.
#pragma once

#include "media/clip_record.h"

#include <string>

namespace quilo {

enum class SnapshotFilter { Jpg = 1, Bmp = 2 }; // the save dialog's 1-based filter index

inline constexpr const char* SnapshotDialogFilter = "JPG (*.jpg)|*.jpg|BMP (*.bmp)|*.bmp";
inline constexpr const char* SnapshotDefaultName = "Picture";

// The clip's picture size; with the aspect code in use, the height follows the
// display aspect and is made even.
void SnapshotSize(const TVideoInfo& clip, int& width, int& height);
// Appends ".jpg" or ".bmp" unless the name already ends so (in any case).
std::string SnapshotFileName(const std::string& chosen, SnapshotFilter filter);
// The folder the save dialog starts in.
std::string SnapshotStartFolder();

// Writers of a picture of width * height * 3 RGB bytes, rows top-down.
// False when the file cannot be written.
bool WriteJpeg(const std::string& path, const unsigned char* rgb, int width, int height, int quality = 100);
bool WriteBmp(const std::string& path, const unsigned char* rgb, int width, int height);

} // namespace quilo
