#include "platform/framework/Metafile.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/framework/Canvas.h"
#include "platform/framework/Exception.h"
#include "platform/framework/Stream.h"

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr uint32_t kEmfSignature = 0x464D4520;
constexpr size_t kPlaceableBytes = 22;
constexpr size_t kWmfHeaderBytes = 18;
constexpr size_t kEmfHeaderBytes = 88;
constexpr int32_t kMaxSide = 65535;
constexpr int32_t kMaxCoordinate = 1 << 28;

[[noreturn]] void Invalid() { throw EInvalidGraphic(FrameworkText::kInvalidMetafile); }

// Little-endian reads from a record whose size has been checked.
struct TRecord {
  const uint8_t* Data;
  size_t Size;
  uint16_t U16(size_t at) const {
    return at + 2 <= Size ? static_cast<uint16_t>(Data[at] | Data[at + 1] << 8) : 0;
  }
  int32_t S16(size_t at) const { return static_cast<int16_t>(U16(at)); }
  uint32_t U32(size_t at) const { return U16(at) | static_cast<uint32_t>(U16(at + 2)) << 16; }
  int32_t S32(size_t at) const { return static_cast<int32_t>(U32(at)); }
  // Coordinates are kept small enough that sums and spans never overflow.
  int32_t C32(size_t at) const { return std::clamp(S32(at), -kMaxCoordinate, kMaxCoordinate); }
};

struct TMetaObject {
  enum { kPen, kBrush, kOther } Kind = kOther;
  bool Visible = true;
  COLORREF Color = 0;
  int32_t Width = 1;
};

// The drawing state while records are read: selected pen and brush, frame,
// current position, object table.
struct TMetaState {
  TMetaShape Style;  // pen, brush and frame for the next shape
  TPoint Origin, Extent;
  bool ExtentSet = false;
  TPoint Position;
  std::map<uint32_t, TMetaObject> Objects;
  uint32_t ObjectLimit = 0;
  std::vector<TMetaShape> Shapes;

  void Select(const TMetaObject& object) {
    if (object.Kind == TMetaObject::kPen) {
      Style.PenVisible = object.Visible;
      Style.PenColor = object.Color;
      Style.PenWidth = object.Width;
    } else if (object.Kind == TMetaObject::kBrush) {
      Style.BrushVisible = object.Visible;
      Style.BrushColor = object.Color;
    }
  }
  void Add(TMetaShapeKind kind, std::vector<TPoint> points) {
    TMetaShape shape = Style;
    shape.Kind = kind;
    shape.Points = std::move(points);
    if (ExtentSet) shape.Frame = Rect(Origin.X, Origin.Y, Origin.X + Extent.X, Origin.Y + Extent.Y);
    Shapes.push_back(std::move(shape));
  }
  void Store(uint32_t index, const TMetaObject& object) {
    if (index < ObjectLimit) Objects[index] = object;
  }
  // WMF objects take the lowest free slot.
  void StoreInFreeSlot(const TMetaObject& object) {
    uint32_t slot = 0;
    while (Objects.count(slot)) ++slot;
    Store(slot, object);
  }
};

// Stock objects of enhanced metafiles (index with the top bit set).
TMetaObject StockObject(uint32_t index) {
  static constexpr COLORREF kBrushColors[] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000};
  TMetaObject object;
  if (index <= 5) {
    object.Kind = TMetaObject::kBrush;
    object.Visible = index != 5;
    object.Color = index < 5 ? kBrushColors[index] : 0;
  } else if (index <= 8) {
    object.Kind = TMetaObject::kPen;
    object.Visible = index != 8;
    object.Color = index == 6 ? 0xFFFFFF : 0;
  }
  return object;
}

TMetaObject Pen(uint32_t style, int32_t width, COLORREF color) {
  return {TMetaObject::kPen, (style & 0xF) != 5, color & 0xFFFFFF, std::clamp(width, 1, 1000)};
}

TMetaObject Brush(uint32_t style, COLORREF color) {
  return {TMetaObject::kBrush, style != 1, color & 0xFFFFFF, 1};
}

std::vector<TPoint> Corners(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return {{left, top}, {right, bottom}};
}

// --- Windows metafiles ----------------------------------------------------------

void WmfRecord(TMetaState& s, uint16_t function, const TRecord& r) {
  const size_t p = 6;  // parameters follow the size and the function
  switch (function) {
    case 0x020B:
      s.Origin = {r.S16(p + 2), r.S16(p)};
      break;
    case 0x020C:
      s.Extent = {r.S16(p + 2), r.S16(p)};
      s.ExtentSet = true;
      break;
    case 0x02FA:
      s.StoreInFreeSlot(Pen(r.U16(p), r.S16(p + 2), r.U32(p + 6)));
      break;
    case 0x02FC:
      s.StoreInFreeSlot(Brush(r.U16(p), r.U32(p + 2)));
      break;
    case 0x00F7:
    case 0x01F9:
    case 0x02FB:
    case 0x06FF:
    case 0x0142:
      s.StoreInFreeSlot(TMetaObject{});
      break;
    case 0x012D: {
      const auto it = s.Objects.find(r.U16(p));
      if (it != s.Objects.end()) s.Select(it->second);
      break;
    }
    case 0x01F0:
      s.Objects.erase(r.U16(p));
      break;
    case 0x041B:
      s.Add(mkRectangle, Corners(r.S16(p + 6), r.S16(p + 4), r.S16(p + 2), r.S16(p)));
      break;
    case 0x0418:
      s.Add(mkEllipse, Corners(r.S16(p + 6), r.S16(p + 4), r.S16(p + 2), r.S16(p)));
      break;
    case 0x0214:
      s.Position = {r.S16(p + 2), r.S16(p)};
      break;
    case 0x0213: {
      const TPoint to{r.S16(p + 2), r.S16(p)};
      s.Add(mkPolyline, {s.Position, to});
      s.Position = to;
      break;
    }
    case 0x0324:
    case 0x0325: {
      const size_t count = std::min<size_t>(r.U16(p), (r.Size - p - 2) / 4);
      std::vector<TPoint> points(count);
      for (size_t i = 0; i < count; ++i) points[i] = {r.S16(p + 2 + 4 * i), r.S16(p + 4 + 4 * i)};
      s.Add(function == 0x0324 ? mkPolygon : mkPolyline, std::move(points));
      break;
    }
    default:
      break;
  }
}

void ReadWmf(const std::vector<uint8_t>& data, TMetaState& s, int32_t& width, int32_t& height) {
  size_t pos = 0;
  TRect bounds;
  int32_t inch = 0;
  const TRecord all{data.data(), data.size()};
  if (all.U32(0) == kPlaceableKey) {
    if (data.size() < kPlaceableBytes) Invalid();
    bounds = Rect(all.S16(6), all.S16(8), all.S16(10), all.S16(12));
    inch = all.U16(14);
    pos = kPlaceableBytes;
  }
  const TRecord header{data.data() + pos, data.size() - pos};
  if (header.Size < kWmfHeaderBytes || (header.U16(0) != 1 && header.U16(0) != 2) ||
      header.U16(2) != 9)
    Invalid();
  s.ObjectLimit = header.U16(10);
  for (pos += kWmfHeaderBytes; pos + 6 <= data.size();) {
    const TRecord r{data.data() + pos, data.size() - pos};
    const uint64_t size = uint64_t{r.U32(0)} * 2;
    const uint16_t function = r.U16(4);
    if (function == 0) break;
    if (size < 6 || size > r.Size) Invalid();
    WmfRecord(s, function, TRecord{r.Data, static_cast<size_t>(size)});
    pos += size;
  }
  if (!bounds.IsEmpty()) {
    const int64_t units = inch > 0 ? inch : 1440;
    width = static_cast<int32_t>(std::min<int64_t>(int64_t{bounds.Width()} * 96 / units, kMaxSide));
    height =
        static_cast<int32_t>(std::min<int64_t>(int64_t{bounds.Height()} * 96 / units, kMaxSide));
    for (TMetaShape& shape : s.Shapes)
      if (shape.Frame.Width() == 0) shape.Frame = bounds;
  } else if (s.ExtentSet) {
    width = std::min(std::abs(s.Extent.X), kMaxSide);
    height = std::min(std::abs(s.Extent.Y), kMaxSide);
  }
}

// --- Enhanced metafiles -----------------------------------------------------------

void EmfRecord(TMetaState& s, uint32_t type, const TRecord& r) {
  const size_t p = 8;  // parameters follow the type and the size
  switch (type) {
    case 9:
      s.Extent = {r.C32(p), r.C32(p + 4)};
      s.ExtentSet = true;
      break;
    case 10:
      s.Origin = {r.C32(p), r.C32(p + 4)};
      break;
    case 38:
      s.Store(r.U32(p), Pen(r.U32(p + 4), r.C32(p + 8), r.U32(p + 16)));
      break;
    case 95:
      s.Store(r.U32(p), Pen(r.U32(p + 20), r.C32(p + 24), r.U32(p + 32)));
      break;
    case 39:
      s.Store(r.U32(p), Brush(r.U32(p + 4), r.U32(p + 8)));
      break;
    case 37: {
      const uint32_t index = r.U32(p);
      if (index & 0x80000000u) {
        s.Select(StockObject(index & 0x7FFFFFFFu));
      } else if (const auto it = s.Objects.find(index); it != s.Objects.end()) {
        s.Select(it->second);
      }
      break;
    }
    case 40:
      s.Objects.erase(r.U32(p));
      break;
    case 43:
      s.Add(mkRectangle, Corners(r.C32(p), r.C32(p + 4), r.C32(p + 8), r.C32(p + 12)));
      break;
    case 42:
      s.Add(mkEllipse, Corners(r.C32(p), r.C32(p + 4), r.C32(p + 8), r.C32(p + 12)));
      break;
    case 27:
      s.Position = {r.C32(p), r.C32(p + 4)};
      break;
    case 54: {
      const TPoint to{r.C32(p), r.C32(p + 4)};
      s.Add(mkPolyline, {s.Position, to});
      s.Position = to;
      break;
    }
    case 3:
    case 4:
    case 86:
    case 87: {
      const bool small = type >= 86;
      const size_t step = small ? 4 : 8, first = p + 20;
      const size_t count =
          std::min<size_t>(r.U32(p + 16), r.Size > first ? (r.Size - first) / step : 0);
      std::vector<TPoint> points(count);
      for (size_t i = 0; i < count; ++i)
        points[i] = small ? TPoint{r.S16(first + 4 * i), r.S16(first + 4 * i + 2)}
                          : TPoint{r.C32(first + 8 * i), r.C32(first + 8 * i + 4)};
      s.Add(type == 3 || type == 86 ? mkPolygon : mkPolyline, std::move(points));
      break;
    }
    default:
      break;
  }
}

void ReadEmf(const std::vector<uint8_t>& data, TMetaState& s, int32_t& width, int32_t& height) {
  const TRecord header{data.data(), data.size()};
  const uint32_t headerSize = header.U32(4);
  if (data.size() < kEmfHeaderBytes || header.U32(0) != 1 || header.U32(40) != kEmfSignature ||
      headerSize < kEmfHeaderBytes || headerSize > data.size())
    Invalid();
  const TRect bounds = Rect(header.C32(8), header.C32(12), header.C32(16), header.C32(20));
  const TRect frame = Rect(header.C32(24), header.C32(28), header.C32(32), header.C32(36));
  s.ObjectLimit = header.U16(56);
  for (size_t pos = headerSize; pos + 8 <= data.size();) {
    const TRecord r{data.data() + pos, data.size() - pos};
    const uint32_t type = r.U32(0), size = r.U32(4);
    if (size < 8 || size % 4 != 0 || size > r.Size) Invalid();
    if (type == 14) break;
    EmfRecord(s, type, TRecord{r.Data, size});
    pos += size;
  }
  // The frame is in hundredths of a millimetre; 96 pixels to the inch.
  const int64_t frameWidth = (int64_t{frame.Right} - frame.Left) * 96 / 2540;
  const int64_t frameHeight = (int64_t{frame.Bottom} - frame.Top) * 96 / 2540;
  width = static_cast<int32_t>(std::clamp<int64_t>(
      frameWidth > 0 ? frameWidth : int64_t{bounds.Right} - bounds.Left + 1, 0, kMaxSide));
  height = static_cast<int32_t>(std::clamp<int64_t>(
      frameHeight > 0 ? frameHeight : int64_t{bounds.Bottom} - bounds.Top + 1, 0, kMaxSide));
  const TRect device = Rect(bounds.Left, bounds.Top, bounds.Right + 1, bounds.Bottom + 1);
  for (TMetaShape& shape : s.Shapes)
    if (shape.Frame.Width() == 0) shape.Frame = device;
}

// Maps a logical coordinate of frame [from, from + span) onto [to, to + length).
int32_t Map(int32_t v, int32_t from, int32_t span, int32_t to, int32_t length) {
  if (span == 0) return to;
  return static_cast<int32_t>(to + (int64_t{v} - from) * length / span);
}

}  // namespace

void TMetafile::AssignFrom(TPersistent* source) {
  auto* metafile = dynamic_cast<TMetafile*>(source);
  if (!metafile) {
    TGraphic::AssignFrom(source);
    return;
  }
  FData = metafile->FData;
  FShapes = metafile->FShapes;
  FWidth = metafile->FWidth;
  FHeight = metafile->FHeight;
  FEnhanced = metafile->FEnhanced;
  Changed(this);
}

void TMetafile::SetWidth(int32_t value) {
  FWidth = std::clamp(value, 0, kMaxSide);
  Changed(this);
}

void TMetafile::SetHeight(int32_t value) {
  FHeight = std::clamp(value, 0, kMaxSide);
  Changed(this);
}

void TMetafile::ReadFromStream(TStream& stream) {
  const int64_t size = stream.Remaining();
  if (size > static_cast<int64_t>(kMaxGraphicPixelBytes)) Invalid();
  std::vector<uint8_t> data(static_cast<size_t>(size));
  stream.ReadBuffer(data.data(), size);
  TMetaState state;
  int32_t width = 0, height = 0;
  const TRecord start{data.data(), data.size()};
  const bool enhanced = start.U32(0) == 1 && start.U32(40) == kEmfSignature;
  if (enhanced)
    ReadEmf(data, state, width, height);
  else if (!data.empty())
    ReadWmf(data, state, width, height);
  FData = std::move(data);
  FShapes = std::move(state.Shapes);
  FWidth = width;
  FHeight = height;
  FEnhanced = enhanced;
  Changed(this);
}

void TMetafile::WriteToStream(TStream& stream) {
  stream.WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void TMetafile::Draw(TCanvas& canvas, const TRect& rect) {
  const TBrush brush = canvas.Brush();
  const TPen pen = canvas.Pen();
  for (const TMetaShape& shape : FShapes) {
    const TRect& f = shape.Frame;
    std::vector<TPoint> points(shape.Points.size());
    for (size_t i = 0; i < points.size(); ++i)
      points[i] = {Map(shape.Points[i].X, f.Left, f.Width(), rect.Left, rect.Width()),
                   Map(shape.Points[i].Y, f.Top, f.Height(), rect.Top, rect.Height())};
    canvas.Pen().SetStyle(shape.PenVisible ? psSolid : psClear);
    canvas.Pen().SetColor(shape.PenColor);
    const int64_t penWidth =
        f.Width() ? int64_t{shape.PenWidth} * std::abs(rect.Width()) / std::abs(f.Width()) : 1;
    canvas.Pen().SetWidth(static_cast<int>(std::clamp<int64_t>(penWidth, 1, 1000)));
    canvas.Brush().SetStyle(shape.BrushVisible ? bsSolid : bsClear);
    canvas.Brush().SetColor(shape.BrushColor);
    switch (shape.Kind) {
      case mkRectangle:
        canvas.Rectangle(points[0].X, points[0].Y, points[1].X, points[1].Y);
        break;
      case mkEllipse:
        canvas.Ellipse(points[0].X, points[0].Y, points[1].X, points[1].Y);
        break;
      case mkPolygon:
        canvas.Polygon(points);
        break;
      case mkPolyline:
        canvas.Polyline(points);
        break;
    }
  }
  canvas.Brush() = brush;
  canvas.Pen() = pen;
}
