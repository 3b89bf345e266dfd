// How the viewer shows a JPEG file: through a TJPEGImage decoded into a 24-bit
// bitmap that becomes the picture's bitmap.
#pragma once

#include <string>

#include "platform/framework/Picture.h"

// True when the upper-cased extension of the file name is ".JPEG" or ".JPG".
bool IsJpegFileName(const std::string& fileName);

// Reads and decodes the file and makes the result the picture's bitmap, sharing
// the decoded pixels; a photo whose EXIF orientation is 2 to 8 is turned upright
// first. The temporary image and bitmap are freed whatever happens; when a step
// fails the picture keeps what it had.
void LoadJpegIntoPicture(TPicture& picture, const std::string& fileName);
