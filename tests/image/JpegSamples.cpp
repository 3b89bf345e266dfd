#include "tests/image/JpegSamples.h"

#include <stdexcept>

void SampleColour(int x, int y, int width, int height, uint8_t& r, uint8_t& g, uint8_t& b) {
  const bool right = x >= width - width / 4;
  const bool top = y < height / 2;
  r = (!right && top) ? 255 : 0;
  g = right ? 255 : 0;
  b = (!right && !top) ? 255 : 0;
}

namespace {

void FillRow(const TSampleRecipe& recipe, int y, std::vector<uint8_t>& row) {
  const bool cmyk = recipe.Kind == TSampleKind::Cmyk || recipe.Kind == TSampleKind::CmykNoAdobe ||
                    recipe.Kind == TSampleKind::Ycck;
  const bool inverted = recipe.Kind != TSampleKind::CmykNoAdobe;
  for (int x = 0; x < recipe.Width; ++x) {
    uint8_t r, g, b;
    SampleColour(x, y, recipe.Width, recipe.Height, r, g, b);
    if (recipe.Kind == TSampleKind::Photo) {
      const uint32_t noise = (uint32_t(x) * 2654435761u ^ uint32_t(y) * 40503u) >> 27;
      row[x * 3] = static_cast<uint8_t>(r / 2 + x * 97 / recipe.Width + noise);
      row[x * 3 + 1] = static_cast<uint8_t>(g / 2 + y * 89 / recipe.Height + noise);
      row[x * 3 + 2] = static_cast<uint8_t>(b / 2 + 40 + noise);
    } else if (recipe.Kind == TSampleKind::Grey) {
      row[x] = static_cast<uint8_t>((r * 77 + g * 150 + b * 29) >> 8);
    } else if (recipe.Kind == TSampleKind::TwoComponent) {
      row[x * 2] = r;
      row[x * 2 + 1] = g;
    } else if (cmyk) {
      // No black ink; cyan, magenta, yellow are the complements of red, green, blue.
      const uint8_t ink[4] = {uint8_t(255 - r), uint8_t(255 - g), uint8_t(255 - b), 0};
      for (int c = 0; c < 4; ++c) row[x * 4 + c] = inverted ? uint8_t(255 - ink[c]) : ink[c];
    } else {
      row[x * 3] = r;
      row[x * 3 + 1] = g;
      row[x * 3 + 2] = b;
    }
  }
}

void SetUpCompressor(jpeg_compress_struct& info, const TSampleRecipe& recipe) {
  info.image_width = recipe.Width;
  info.image_height = recipe.Height;
  switch (recipe.Kind) {
    case TSampleKind::Grey:
      info.input_components = 1;
      info.in_color_space = JCS_GRAYSCALE;
      break;
    case TSampleKind::Cmyk:
    case TSampleKind::CmykNoAdobe:
    case TSampleKind::Ycck:
      info.input_components = 4;
      info.in_color_space = JCS_CMYK;
      break;
    case TSampleKind::TwoComponent:
      info.input_components = 2;
      info.in_color_space = JCS_UNKNOWN;
      break;
    default:
      info.input_components = 3;
      info.in_color_space = JCS_RGB;
  }
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  // Full-resolution colour so the colour edges stay sharp (photos keep the default 4:2:0).
  if (!recipe.Subsampled && recipe.Kind != TSampleKind::Photo)
    for (int c = 0; c < info.num_components; ++c)
      info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
  info.arith_code = recipe.Arithmetic;
  if (recipe.Kind == TSampleKind::Progressive) jpeg_simple_progression(&info);
  if (recipe.Kind == TSampleKind::Restart) info.restart_interval = 1;
  if (recipe.Kind == TSampleKind::Ycck) jpeg_set_colorspace(&info, JCS_YCCK);
  if (recipe.Kind == TSampleKind::CmykNoAdobe) info.write_Adobe_marker = FALSE;
}

}  // namespace

std::vector<uint8_t> MakeSampleJpeg(const TSampleRecipe& recipe) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  SetUpCompressor(info, recipe);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(recipe.Width) * info.input_components);
  for (int y = 0; y < recipe.Height; ++y) {
    FillRow(recipe, y, row);
    JSAMPROW pointer = row.data();
    jpeg_write_scanlines(&info, &pointer, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

std::vector<uint8_t> MakeHugeHeaderJpeg(int width, int height, bool progressive) {
  // A tiny real file supplies valid tables; only the frame size is rewritten.
  std::vector<uint8_t> bytes =
      MakeSampleJpeg({progressive ? TSampleKind::Progressive : TSampleKind::Colour, 8, 8});
  const uint8_t frameMarker = progressive ? 0xC2 : 0xC0;
  for (size_t i = 0; i + 8 < bytes.size(); ++i) {
    if (bytes[i] == 0xFF && bytes[i + 1] == frameMarker) {
      bytes[i + 5] = uint8_t(height >> 8);
      bytes[i + 6] = uint8_t(height);
      bytes[i + 7] = uint8_t(width >> 8);
      bytes[i + 8] = uint8_t(width);
      return bytes;
    }
  }
  throw std::runtime_error("no frame header");
}

std::string JpegErrorText(int code) { return "JPEG error #" + std::to_string(code); }
