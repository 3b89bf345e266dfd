#include "image/JpegEncoder.h"

#include <algorithm>

#include "image/JpegGuard.h"

namespace {

constexpr size_t kOutputPiece = 4096;

// Collects the compressed bytes in a vector, 4096 bytes at a time.
struct TVectorDestination {
  jpeg_destination_mgr Manager;  // first, so libjpeg's pointer is ours
  std::vector<uint8_t>* Output;
  JOCTET Buffer[kOutputPiece];
};

TVectorDestination& DestinationOf(j_compress_ptr info) {
  return *reinterpret_cast<TVectorDestination*>(info->dest);
}

void InitDestination(j_compress_ptr info) {
  TVectorDestination& destination = DestinationOf(info);
  destination.Manager.next_output_byte = destination.Buffer;
  destination.Manager.free_in_buffer = kOutputPiece;
}

// Appends count bytes of the buffer; a failed allocation leaves libjpeg through the guard.
void Flush(j_compress_ptr info, size_t count) {
  TVectorDestination& destination = DestinationOf(info);
  TJpegGuard::Of(reinterpret_cast<j_common_ptr>(info)).CallFromLibrary([&] {
    destination.Output->insert(destination.Output->end(), destination.Buffer,
                               destination.Buffer + count);
  });
}

boolean EmptyOutputBuffer(j_compress_ptr info) {
  Flush(info, kOutputPiece);
  InitDestination(info);
  return TRUE;
}

void TermDestination(j_compress_ptr info) {
  Flush(info, kOutputPiece - DestinationOf(info).Manager.free_in_buffer);
}

void AttachDestination(j_compress_ptr info, std::vector<uint8_t>& output) {
  auto* destination = static_cast<TVectorDestination*>(info->mem->alloc_small(
      reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, sizeof(TVectorDestination)));
  destination->Manager.init_destination = &InitDestination;
  destination->Manager.empty_output_buffer = &EmptyOutputBuffer;
  destination->Manager.term_destination = &TermDestination;
  destination->Output = &output;
  info->dest = &destination->Manager;
}

class TCompressor {
 public:
  TCompressor() {
    FGuard.Attach(reinterpret_cast<j_common_ptr>(&FInfo));
    FGuard.Run([this] { jpeg_create_compress(&FInfo); });
    FCreated = true;
  }
  ~TCompressor() {
    if (FCreated) jpeg_destroy_compress(&FInfo);
  }
  TCompressor(const TCompressor&) = delete;
  TCompressor& operator=(const TCompressor&) = delete;

  TJpegGuard& Guard() { return FGuard; }
  jpeg_compress_struct& Info() { return FInfo; }

 private:
  TJpegGuard FGuard;
  jpeg_compress_struct FInfo{};
  bool FCreated = false;
};

}  // namespace

std::vector<uint8_t> EncodeJpeg(const uint8_t* firstRow, ptrdiff_t pitch, uint32_t width,
                                uint32_t height, const TJpegEncodeSettings& settings) {
  std::vector<uint8_t> output;
  TCompressor compressor;
  compressor.Guard().Run([&] {
    jpeg_compress_struct& info = compressor.Info();
    AttachDestination(&info, output);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    info.dct_method = JDCT_FLOAT;
    jpeg_set_quality(&info, std::clamp(settings.Quality, 1, 100), TRUE);
    if (settings.Grayscale) jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    if (settings.Progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
      JSAMPROW row =
          const_cast<JSAMPROW>(firstRow + static_cast<ptrdiff_t>(info.next_scanline) * pitch);
      jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
  });
  return output;
}
