// Everything the viewer needs to show a JPEG file, made ahead of time by a worker:
// the file's identity as read, the decoded picture and the surface pixels. A job and
// its result are plain values; nothing here touches a framework object.
#pragma once

#include <optional>
#include <string>

#include "image/JpegOptions.h"
#include "image/JpegPixels.h"
#include "image/LoadTimes.h"
#include "image/SurfacePixels.h"
#include "platform/framework/FileIdentity.h"

struct TJpegJob {
  std::string FileName;
  TSize Cell;  // the grid cell the picture is shown in; 0 x 0 for the single view
  TJPEGOptions Options;
  gdi::TPixelFormat SurfaceFormat;  // the surfaces' format; bit count 0 when not wanted
  bool operator==(const TJpegJob& other) const = default;
};

struct TPreparedJpeg {
  TFileIdentity Identity;
  TJpegPixels Picture;
  TSurfacePixels Surface;  // empty when not wanted or not possible
  TLoadTimes Times;
};

// Reads, decodes and converts the job's file, into memory handed back to recycle
// where it fits. None when it cannot be prepared: the file cannot be read whole,
// libjpeg fails, the picture is not plain 24-bit colour, or its rows would take more
// than maxBytes; the viewer then loads the file itself and reports what is wrong.
std::optional<TPreparedJpeg> PrepareJpeg(const TJpegJob& job, TPixelReclaimer* recycle = nullptr,
                                         size_t maxBytes = SIZE_MAX);
