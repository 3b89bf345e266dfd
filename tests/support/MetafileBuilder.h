// Builds Windows and enhanced metafile bytes for tests, record by record.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/support/DibBuilder.h"

// Windows metafile records: size in 16-bit words, function, parameters.
inline void WmfRecord(std::vector<uint8_t>& out, uint16_t function,
                      const std::vector<int16_t>& params) {
  PutValue<uint32_t>(out, static_cast<uint32_t>(3 + params.size()));
  PutValue<uint16_t>(out, function);
  for (int16_t p : params) PutValue<int16_t>(out, p);
}

inline std::vector<uint8_t> Wmf(bool placeable, const std::vector<uint8_t>& records,
                                uint16_t headerWords = 9) {
  std::vector<uint8_t> out;
  if (placeable) {
    PutValue<uint32_t>(out, 0x9AC6CDD7);
    PutValue<uint16_t>(out, 0);
    for (int16_t v : {0, 0, 100, 50}) PutValue<int16_t>(out, v);  // bounding box
    PutValue<uint16_t>(out, 96);                                  // units per inch
    PutValue<uint32_t>(out, 0);
    PutValue<uint16_t>(out, 0);
  }
  PutValue<uint16_t>(out, 1);
  PutValue<uint16_t>(out, headerWords);
  PutValue<uint16_t>(out, 0x300);
  PutValue<uint32_t>(out, 0);
  PutValue<uint16_t>(out, 4);  // objects
  PutValue<uint32_t>(out, 0);
  PutValue<uint16_t>(out, 0);
  Put(out, records.data(), records.size());
  WmfRecord(out, 0, {});
  return out;
}

// Enhanced metafiles: an 88-byte header (bounds 100 x 50 pixels), the records, the end record.
inline std::vector<uint8_t> Emf(const std::vector<uint8_t>& records,
                                uint32_t signature = 0x464D4520) {
  std::vector<uint8_t> out;
  PutValue<uint32_t>(out, 1);
  PutValue<uint32_t>(out, 88);
  for (int32_t v : {0, 0, 99, 49}) PutValue<int32_t>(out, v);      // bounds in pixels
  for (int32_t v : {0, 0, 2646, 1323}) PutValue<int32_t>(out, v);  // frame in 0.01 mm
  PutValue<uint32_t>(out, signature);
  PutValue<uint32_t>(out, 0x10000);
  PutValue<uint32_t>(out, 0);
  PutValue<uint32_t>(out, 0);
  PutValue<uint16_t>(out, 4);  // handles
  out.resize(88, 0);
  Put(out, records.data(), records.size());
  for (uint32_t v : {14u, 20u, 0u, 0u, 20u}) PutValue(out, v);  // end of file
  return out;
}

inline void EmfRecord(std::vector<uint8_t>& out, uint32_t type,
                      const std::vector<uint32_t>& params) {
  PutValue<uint32_t>(out, type);
  PutValue<uint32_t>(out, static_cast<uint32_t>(8 + 4 * params.size()));
  for (uint32_t p : params) PutValue(out, p);
}
