#include "image/JpegDecoder.h"

#include <jerror.h>

#include <algorithm>

#include "image/PixelLimits.h"

namespace {

// libjpeg's own working memory (progressive coefficient buffers above all) stays
// within twice the pixel storage bound: a picture at the bound with full-resolution
// colour still decodes, a hostile header cannot reserve more.
constexpr long kLibraryMemoryLimit = static_cast<long>(kMaxPixelStorageBytes * 2);

constexpr size_t kSourcePiece = 4096;
const JOCTET kFakeEndOfImage[2] = {0xFF, JPEG_EOI};

// Hands the encoded bytes to libjpeg 4096 bytes at a time.
struct TMemorySource {
  jpeg_source_mgr Manager;  // first, so libjpeg's pointer is ours
  const uint8_t* Data;
  size_t Size;
  size_t Position;
  bool AtStart;
};

TMemorySource& SourceOf(j_decompress_ptr info) {
  return *reinterpret_cast<TMemorySource*>(info->src);
}

void InitSource(j_decompress_ptr info) {
  TMemorySource& source = SourceOf(info);
  source.Position = 0;
  source.AtStart = true;
}

boolean FillInputBuffer(j_decompress_ptr info) {
  TMemorySource& source = SourceOf(info);
  const size_t count = std::min(kSourcePiece, source.Size - source.Position);
  if (count == 0) {
    if (source.AtStart) ERREXIT(info, JERR_INPUT_EMPTY);
    // A file cut short ends as if its end-of-image marker had been there.
    WARNMS(info, JWRN_JPEG_EOF);
    source.Manager.next_input_byte = kFakeEndOfImage;
    source.Manager.bytes_in_buffer = sizeof kFakeEndOfImage;
  } else {
    source.Manager.next_input_byte = source.Data + source.Position;
    source.Manager.bytes_in_buffer = count;
    source.Position += count;
  }
  source.AtStart = false;
  return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  jpeg_source_mgr& manager = *info->src;
  while (static_cast<size_t>(count) > manager.bytes_in_buffer) {
    count -= static_cast<long>(manager.bytes_in_buffer);
    FillInputBuffer(info);
  }
  manager.next_input_byte += count;
  manager.bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

void AttachSource(j_decompress_ptr info, const uint8_t* data, size_t size) {
  auto* source = static_cast<TMemorySource*>(info->mem->alloc_small(
      reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, sizeof(TMemorySource)));
  source->Manager.init_source = &InitSource;
  source->Manager.fill_input_buffer = &FillInputBuffer;
  source->Manager.skip_input_data = &SkipInputData;
  source->Manager.resync_to_restart = &jpeg_resync_to_restart;
  source->Manager.term_source = &TermSource;
  source->Manager.next_input_byte = nullptr;
  source->Manager.bytes_in_buffer = 0;
  source->Data = data;
  source->Size = data ? size : 0;
  source->Position = 0;
  source->AtStart = true;
  info->src = &source->Manager;
}

// Four-component output (CMYK, or YCCK turned into CMYK by libjpeg) to blue, green,
// red. Files with an Adobe marker store the inks inverted, as Adobe's software writes them.
template <bool Inverted>
void CmykRowToBgr(const JSAMPLE* cmyk, uint8_t* bgr, JDIMENSION width) {
  for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    const unsigned c = Inverted ? cmyk[0] : 255u - cmyk[0];
    const unsigned m = Inverted ? cmyk[1] : 255u - cmyk[1];
    const unsigned y = Inverted ? cmyk[2] : 255u - cmyk[2];
    const unsigned k = Inverted ? cmyk[3] : 255u - cmyk[3];
    bgr[0] = static_cast<uint8_t>((y * k + 127) / 255);
    bgr[1] = static_cast<uint8_t>((m * k + 127) / 255);
    bgr[2] = static_cast<uint8_t>((c * k + 127) / 255);
  }
}

using TCmykConverter = void (*)(const JSAMPLE*, uint8_t*, JDIMENSION);

}  // namespace

void CheckJpegPictureSize(int64_t width, int64_t height, int bitCount) {
  if (!PixelStorageFits(width, height, bitCount)) RaiseJpegError(JERR_IMAGE_TOO_BIG);
}

TJpegDecoder::TJpegDecoder(const uint8_t* data, size_t size) {
  FGuard.Attach(reinterpret_cast<j_common_ptr>(&FInfo));
  FGuard.Run([this] { jpeg_create_decompress(&FInfo); });
  FCreated = true;
  FInfo.mem->max_memory_to_use = kLibraryMemoryLimit;
  FGuard.Run([&] { AttachSource(&FInfo, data, size); });
}

TJpegDecoder::~TJpegDecoder() {
  if (FCreated) jpeg_destroy_decompress(&FInfo);
}

void TJpegDecoder::ReadHeader() {
  FGuard.Run([this] { jpeg_read_header(&FInfo, TRUE); });
}

bool TJpegDecoder::HasMultipleScans() {
  bool multiple = false;
  FGuard.Run([&] { multiple = jpeg_has_multiple_scans(&FInfo); });
  return multiple;
}

void TJpegDecoder::SetUp(const TJPEGOptions& options) {
  FInfo.scale_num = 1;
  FInfo.scale_denom = 1u << std::clamp(options.ScaleShift, 0, 3);
  FInfo.do_block_smoothing = options.BlockSmoothing;
  if (FInfo.out_color_space == JCS_CMYK) {
    // Four components are converted to 24 bits here; libjpeg quantizes only three.
    FInfo.quantize_colors = FALSE;
  } else {
    if (options.GrayOutput) FInfo.out_color_space = JCS_GRAYSCALE;
    if (options.Palettized || FInfo.out_color_space == JCS_GRAYSCALE) {
      FInfo.quantize_colors = TRUE;
      FInfo.desired_number_of_colors = 236;
    }
  }
  ApplyQuality(options);
  // The colour quantizer works on red, green, blue; unquantized colour comes out
  // directly in the bitmap's blue, green, red order.
  if (!FInfo.quantize_colors && FInfo.out_color_space == JCS_RGB)
    FInfo.out_color_space = JCS_EXT_BGR;
  FGuard.Run([this] { jpeg_calc_output_dimensions(&FInfo); });
  CheckOutput();
}

void TJpegDecoder::ApplyQuality(const TJPEGOptions& options) {
  if (options.FastDecode) {
    FInfo.dct_method = JDCT_IFAST;
    FInfo.two_pass_quantize = FALSE;
    FInfo.dither_mode = JDITHER_ORDERED;
  } else {
    FInfo.dct_method = JDCT_FLOAT;
  }
  FFinal = {FInfo.dct_method, FInfo.two_pass_quantize, FInfo.dither_mode};
  if (options.IncrementalDisplay && HasMultipleScans()) {
    // Fast settings for every pass but the last.
    FInfo.enable_2pass_quant = FInfo.two_pass_quantize;
    FInfo.dct_method = JDCT_IFAST;
    FInfo.two_pass_quantize = FALSE;
    FInfo.dither_mode = JDITHER_ORDERED;
    FInfo.buffered_image = TRUE;
  }
}

void TJpegDecoder::CheckOutput() {
  // The colour components really produced, also when they are then quantized to one
  // palette index: rows and palettes are built for grey, for red, green and blue, and
  // for unquantized CMYK only (a two-component file would otherwise get a palette
  // read from a colour map of two rows).
  const int colours = FInfo.out_color_components;
  const bool cmyk = colours == 4 && FInfo.out_color_space == JCS_CMYK && !FInfo.quantize_colors;
  if (colours != 1 && colours != 3 && !cmyk) RaiseJpegError(JERR_CONVERSION_NOTIMPL);
  CheckJpegPictureSize(FInfo.output_width, FInfo.output_height, OutputBitCount());
}

int TJpegDecoder::OutputBitCount() const { return FInfo.output_components == 1 ? 8 : 24; }

void TJpegDecoder::StartDecompress() {
  FGuard.Run([this] { jpeg_start_decompress(&FInfo); });
}

void TJpegDecoder::ReadRows(const TJpegRowTarget& target) {
  const bool fourComponents = FInfo.output_components == 4;
  const size_t written =
      size_t{FInfo.output_width} * (fourComponents ? 3u : unsigned(FInfo.output_components));
  if (written > target.RowBytes || !target.FirstRow) RaiseJpegError(JERR_CONVERSION_NOTIMPL);
  TCmykConverter convert = nullptr;
  if (fourComponents) convert = FInfo.saw_Adobe_marker ? &CmykRowToBgr<true> : &CmykRowToBgr<false>;
  FGuard.Run([&] {
    jpeg_decompress_struct& info = FInfo;
    JSAMPARRAY scratch = nullptr;
    if (convert)
      scratch = info.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                       info.output_width * 4, 1);
    while (info.output_scanline < info.output_height) {
      const JDIMENSION rowIndex = info.output_scanline;
      uint8_t* row = target.FirstRow + static_cast<ptrdiff_t>(rowIndex) * target.Pitch;
      JSAMPROW destination = convert ? scratch[0] : row;
      if (jpeg_read_scanlines(&info, &destination, 1) != 1) break;
      if (convert) convert(scratch[0], row, info.output_width);
    }
  });
}

int TJpegDecoder::ConsumeInput() {
  int result = JPEG_SUSPENDED;
  FGuard.Run([&] { result = jpeg_consume_input(&FInfo); });
  return result;
}

void TJpegDecoder::StartOutput(int scanNumber) {
  FGuard.Run([&] { jpeg_start_output(&FInfo, scanNumber); });
}

void TJpegDecoder::FinishOutput() {
  FGuard.Run([this] { jpeg_finish_output(&FInfo); });
}

void TJpegDecoder::FinishDecompress() {
  FGuard.Run([this] { jpeg_finish_decompress(&FInfo); });
}
