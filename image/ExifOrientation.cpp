#include "image/ExifOrientation.h"

#include <libexif/exif-data.h>

#include <climits>
#include <memory>

namespace {

struct TExifDataRelease {
  void operator()(ExifData* data) const { exif_data_unref(data); }
};

}  // namespace

int32_t ReadExifOrientation(const uint8_t* jpeg, size_t size) {
  if (!jpeg || size == 0 || size > UINT_MAX) return 1;
  std::unique_ptr<ExifData, TExifDataRelease> data(exif_data_new());
  if (!data) return 1;
  // Only read: libexif is not to add the tags it thinks are missing.
  exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
  exif_data_load_data(data.get(), jpeg, static_cast<unsigned>(size));
  // The main picture's directory; the thumbnail's has an orientation of its own.
  const ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
  if (!entry || entry->format != EXIF_FORMAT_SHORT || entry->components < 1 || !entry->data ||
      entry->size < 2)
    return 1;
  const int32_t value = exif_get_short(entry->data, exif_data_get_byte_order(data.get()));
  return value >= 1 && value <= 8 ? value : 1;
}
