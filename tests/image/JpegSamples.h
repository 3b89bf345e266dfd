// JPEG files for the tests, made with libjpeg's compressor.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "image/JpegLib.h"

// Photo: fine noise over soft shades with the colour at half resolution (4:2:0), as
// cameras write them, so every filter of the decoder shows in the pixels.
// TwoComponent: two channels of no known colour space (red and green of the sample).
enum class TSampleKind {
  Colour,
  Grey,
  Progressive,
  Restart,
  Cmyk,
  CmykNoAdobe,
  Ycck,
  Photo,
  TwoComponent
};

struct TSampleRecipe {
  TSampleKind Kind = TSampleKind::Colour;
  int Width = 32;
  int Height = 16;
  bool Subsampled = false;  // libjpeg's default chroma subsampling instead of full resolution
  bool Arithmetic = false;  // arithmetic instead of Huffman coding
};

// The picture: the top half is red, the bottom half blue; the right quarter of each
// row is green instead, so channel order, row order and column order all show.
void SampleColour(int x, int y, int width, int height, uint8_t& r, uint8_t& g, uint8_t& b);

std::vector<uint8_t> MakeSampleJpeg(const TSampleRecipe& recipe);

// A header claiming width x height with only a tiny picture's data behind it.
std::vector<uint8_t> MakeHugeHeaderJpeg(int width, int height, bool progressive = false);

// "JPEG error #code", as EJPEG reports libjpeg's message codes.
std::string JpegErrorText(int code);

// The message of the Error that action raises, or "no error".
template <typename Error, typename Action>
std::string MessageOf(Action&& action) {
  try {
    action();
  } catch (const Error& e) {
    return e.Message();
  }
  return "no error";
}
