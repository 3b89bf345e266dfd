// Metafiles: Windows metafiles (.wmf, with or without the placeable header) and
// enhanced metafiles (.emf). The headers are checked and the simple drawing
// records are kept and replayed, scaled into the target rectangle: window origin
// and extent, solid pens and brushes (and the stock ones), object selection and
// deletion, rectangles, ellipses, polygons, polylines, move-to and line-to.
// Other records are skipped. Bad data raises EInvalidGraphic "Metafile is not valid"
// and leaves the metafile as it was.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/framework/Graphic.h"

enum TMetaShapeKind { mkRectangle, mkEllipse, mkPolygon, mkPolyline };

// One drawing record with the pen, brush and logical frame in force when it ran.
struct TMetaShape {
  TMetaShapeKind Kind = mkRectangle;
  std::vector<TPoint> Points;  // two corners for rectangles and ellipses
  bool PenVisible = true;
  COLORREF PenColor = 0;
  int32_t PenWidth = 1;
  bool BrushVisible = true;
  COLORREF BrushColor = 0xFFFFFF;
  TRect Frame;  // logical rectangle that maps onto the target rectangle
};

class TMetafile : public TGraphic {
 public:
  LOUPIX_CLASS(TMetafile, TGraphic)

  std::unique_ptr<TGraphic> CreateNew() const override { return std::make_unique<TMetafile>(); }
  void AssignFrom(TPersistent* source) override;
  bool Empty() const override { return FData.empty(); }
  int32_t Width() const override { return FWidth; }
  int32_t Height() const override { return FHeight; }
  void SetWidth(int32_t value) override;
  void SetHeight(int32_t value) override;
  void ReadFromStream(TStream& stream) override;
  // Writes the metafile data as it was read.
  void WriteToStream(TStream& stream) override;

  bool Enhanced() const { return FEnhanced; }
  const std::vector<TMetaShape>& Shapes() const { return FShapes; }

 protected:
  void Draw(TCanvas& canvas, const TRect& rect) override;

 private:
  std::vector<uint8_t> FData;
  std::vector<TMetaShape> FShapes;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  bool FEnhanced = false;
};
