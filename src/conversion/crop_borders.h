// Black borders found on a grabbed frame, as the crop that removes them.
#pragma once

#include "conversion/crop_geometry.h"
#include "media/clip_record.h"

namespace quilo {

// `frame` is the grabbed picture (grab size); the result is in source pixels.
// Either the sides or the top and bottom are cut, whichever border is larger.
CropRect DetectBlackBorders(const Bitmap24& frame, int sourceWidth, int sourceHeight, double verticalFactor);

} // namespace quilo
