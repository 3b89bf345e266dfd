// Icons read from .ico data. The largest image of the file is loaded (ties go to
// the deeper one): uncompressed 1, 4, 8, 24 and 32-bit images with their AND
// masks; PNG-compressed images are refused. Every size is checked against the
// data before use; bad data raises EInvalidGraphic "Icon image is not valid" and
// leaves the icon as it was. Drawing blends the icon over the canvas.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/framework/Graphic.h"

class TIcon : public TGraphic {
 public:
  LOUPIX_CLASS(TIcon, TGraphic)

  std::unique_ptr<TGraphic> CreateNew() const override { return std::make_unique<TIcon>(); }
  void AssignFrom(TPersistent* source) override;
  bool Empty() const override { return FData.empty(); }
  int32_t Width() const override { return FWidth; }
  int32_t Height() const override { return FHeight; }
  // Icons keep their size: EInvalidGraphicOperation "Cannot change the size of an icon".
  void SetWidth(int32_t value) override;
  void SetHeight(int32_t value) override;
  bool Transparent() const override { return true; }
  void ReadFromStream(TStream& stream) override;
  // Writes the .ico data as it was read.
  void WriteToStream(TStream& stream) override;

  // The loaded image, top row first, as blue, green, red, alpha bytes.
  const std::vector<uint32_t>& Pixels() const { return FPixels; }

 protected:
  void Draw(TCanvas& canvas, const TRect& rect) override;

 private:
  std::vector<uint8_t> FData;
  std::vector<uint32_t> FPixels;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
};
