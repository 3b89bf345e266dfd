// How the viewer shows a JPEG file: through a TJPEGImage decoded into a 24-bit
// bitmap that becomes the picture's bitmap.
#pragma once

#include <string>

#include "image/JpegPixels.h"
#include "image/LoadTimes.h"
#include "platform/framework/Picture.h"
#include "platform/gdi/WinTypes.h"

// True when the upper-cased extension of the file name is ".JPEG" or ".JPG".
bool IsJpegFileName(const std::string& fileName);

// Reads and decodes the file and makes the result the picture's bitmap, sharing
// the decoded pixels; a photo whose EXIF orientation is 2 to 8 is turned upright
// first. A picture shown in a grid cell (cell not 0 x 0) is decoded at the scale
// CellScaleShift gives. The temporary image and bitmap are freed whatever happens;
// when a step fails the picture keeps what it had. The time of reading and of
// decoding is added to times when given.
void LoadJpegIntoPicture(TPicture& picture, const std::string& fileName, TSize cell = {},
                         TLoadTimes* times = nullptr);

// The last step of the route for a picture decoded (and turned upright) elsewhere:
// the pixels become a bitmap (no copy) that the picture's bitmap then shares.
// Returns that bitmap's handle; none, with the picture as it was, when no bitmap can
// be made of them.
HBITMAP LoadJpegPixelsIntoPicture(TPicture& picture, TJpegPixels pixels);
