// Decoding and encoding options of a JPEG picture.
#pragma once

struct TJPEGOptions {
  int CompressQuality = 90;  // 1..100
  bool GrayOutput = false;
  bool FastDecode = false;
  bool Palettized = false;
  bool IncrementalDisplay = false;
  bool ProgressiveSave = false;
  int ScaleShift = 0;  // output is 1 / (1 << ScaleShift) of the full size, 0..3
  bool BlockSmoothing = true;
  bool operator==(const TJPEGOptions&) const = default;
};
