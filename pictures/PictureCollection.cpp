#include "pictures/PictureCollection.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "device/DXErrors.h"
#include "display/DXDraw.h"
#include "image/DIB.h"
#include "image/DIBPixelLayout.h"
#include "pictures/PatternLayout.h"
#include "platform/framework/Bitmap.h"
#include "platform/framework/Filer.h"
#include "platform/framework/Stream.h"
#include "platform/gdi/Gdi.h"
#include "surface/DirectDrawSurface.h"

// --- Stored form of an item ----------------------------------------------------------

namespace {

template <typename T>
void DefineValue(TFiler& filer, const std::string& name, T& value, bool stored) {
  // Read whole before storing, so a short property leaves the value as it was.
  filer.DefineBinaryProperty(
      name,
      [&value](TStream& s) {
        T read{};
        s.ReadBuffer(&read, sizeof(T));
        value = read;
      },
      [&value](TStream& s) { s.WriteBuffer(&value, sizeof(T)); }, stored);
}

}  // namespace

void TPictureCollectionItem::DefineProperties(TFiler& filer) {
  THashCollectionItem::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "Name",
      [this](TStream& s) {
        std::string name(static_cast<size_t>(std::max<int64_t>(s.Size() - s.Position(), 0)), '\0');
        s.ReadBuffer(name.data(), static_cast<int64_t>(name.size()));
        SetName(name);
      },
      [this](TStream& s) { s.WriteBuffer(Name().data(), static_cast<int64_t>(Name().size())); },
      !Name().empty());
  DefineValue(filer, "PatternHeight", FPatternHeight, true);
  DefineValue(filer, "PatternWidth", FPatternWidth, true);
  filer.DefineBinaryProperty(
      "Picture", [this](TStream& s) { TReader(s).ReadProperties(*FPicture); },
      [this](TStream& s) { TWriter(s).WriteProperties(*FPicture); },
      FPicture->Graphic() != nullptr);
  DefineValue(filer, "SkipHeight", FSkipHeight, FSkipHeight != 0);
  DefineValue(filer, "SkipWidth", FSkipWidth, FSkipWidth != 0);
  DefineValue(filer, "SystemMemory", FSystemMemory, true);
  DefineValue(filer, "Transparent", FTransparent, true);
  DefineValue(filer, "TransparentColor", FTransparentColor, true);
}

// --- TPictureCollectionItem ------------------------------------------------------------

TPictureCollectionItem::TPictureCollectionItem(TCollection* collection)
    : THashCollectionItem(collection),
      FPicture(std::make_unique<TPicture>()),
      FPatterns(std::make_unique<TCollection>(
          TCollectionItemClass::Of<TPictureCollectionItemPattern>())) {}

TPictureCollectionItem::~TPictureCollectionItem() { Finalize(); }

TPictureCollection* TPictureCollectionItem::PictureCollection() const {
  return dynamic_cast<TPictureCollection*>(Collection());
}

TPictureCollectionItemPattern& TPictureCollectionItem::Patterns(int32_t index) const {
  return static_cast<TPictureCollectionItemPattern&>(*FPatterns->Items(index));
}

void TPictureCollectionItem::Initialize() {
  Finalize();
  const TPictureCollection* owner = PictureCollection();
  FInitialized = owner && owner->Initialized();
}

void TPictureCollectionItem::Finalize() {
  if (!FInitialized) return;
  FInitialized = false;
  ClearSurfaces();
}

void TPictureCollectionItem::ClearSurfaces() {
  FPatterns->Clear();
  FSurfaceList.clear();
}

void TPictureCollectionItem::SetPreparedSurface(TSurfacePixels pixels, HBITMAP picture) {
  FPrepared = std::move(pixels);
  FPreparedFor = picture;
}

TSurfacePixels TPictureCollectionItem::TakePreparedSurface(const TRect& pictureRect) {
  TSurfacePixels pixels = std::move(FPrepared);
  const HBITMAP preparedFor = FPreparedFor;
  DropPreparedSurface();
  // Bitmap handles are never reused, so the handle names the very picture prepared.
  auto* bitmap = dynamic_cast<TBitmap*>(FPicture->Graphic());
  const bool same = bitmap && preparedFor && bitmap->HandleAllocated() &&
                    bitmap->Handle() == preparedFor && pictureRect.Left == 0 &&
                    pictureRect.Top == 0 && pictureRect.Right == pixels.Width &&
                    pictureRect.Bottom == pixels.Height;
  return same ? std::move(pixels) : TSurfacePixels{};
}

TDirectDrawSurface* TPictureCollectionItem::AddSurface(const TRect& pictureRect) {
  TSurfacePixels prepared = TakePreparedSurface(pictureRect);
  TDirectDraw* device = PictureCollection()->DXDraw()->Device();
  FSurfaceList.push_back(std::make_unique<TDirectDrawSurface>(*device));
  TDirectDrawSurface& surface = *FSurfaceList.back();
  surface.SetSystemMemory(FSystemMemory);
  if (!surface.AdoptPixels(prepared))
    surface.LoadGraphicPart(FPicture->Graphic(), 0, 0, pictureRect);
  surface.SetTransparentColor(surface.ColorToPixel(FTransparentColor));
  return &surface;
}

TPictureCollectionItemPattern& TPictureCollectionItem::AddPattern(const TRect& rect,
                                                                  TDirectDrawSurface* surface) {
  auto& pattern = static_cast<TPictureCollectionItemPattern&>(*FPatterns->Add());
  pattern.SetRect(rect);
  pattern.SetSurface(surface);
  return pattern;
}

void TPictureCollectionItem::Restore() {
  // Prepared pixels serve this Restore or none.
  try {
    RestoreSurfaces();
  } catch (...) {
    DropPreparedSurface();
    throw;
  }
  DropPreparedSurface();
}

void TPictureCollectionItem::DropPreparedSurface() {
  FPrepared = TSurfacePixels{};
  FPreparedFor = nullptr;
}

void TPictureCollectionItem::RestoreSurfaces() {
  TGraphic* graphic = FPicture->Graphic();
  if (!graphic) return;  // surfaces built earlier stay
  if (!FInitialized) {
    if (const TPictureCollection* owner = PictureCollection(); owner && owner->Initialized())
      Initialize();
    if (!FInitialized) return;
  }
  ClearSurfaces();
  const TPatternLayout layout =
      LayOutPatterns({graphic->Width(), graphic->Height(), FPatternWidth, FPatternHeight,
                      FSkipWidth, FSkipHeight, FSystemMemory});
  if (layout.WholePicture) {
    // The pattern exists first, so a surface that cannot be made leaves it without one.
    AddPattern(layout.Patterns[0].Rect, nullptr).SetSurface(AddSurface(layout.Surfaces[0]));
    return;
  }
  for (const TRect& part : layout.Surfaces) AddSurface(part);
  for (const TPatternPlace& place : layout.Patterns)
    AddPattern(place.Rect, FSurfaceList[static_cast<size_t>(place.SurfaceIndex)].get());
}

void TPictureCollectionItem::Draw(TDirectDrawSurface* dest, int32_t x, int32_t y,
                                  int32_t patternIndex) {
  if (!dest || !FInitialized || patternIndex < 0 || patternIndex >= PatternCount()) return;
  const TPictureCollectionItemPattern& pattern = Patterns(patternIndex);
  dest->Draw(x, y, pattern.Rect(), pattern.Surface(), FTransparent);
}

void TPictureCollectionItem::StretchDraw(TDirectDrawSurface* dest, const TRect& destRect,
                                         int32_t patternIndex) {
  if (!dest || !FInitialized || patternIndex < 0 || patternIndex >= PatternCount()) return;
  const TPictureCollectionItemPattern& pattern = Patterns(patternIndex);
  dest->StretchDraw(destRect, pattern.Rect(), pattern.Surface(), FTransparent);
}

void TPictureCollectionItem::SetTransparentColor(TColor value) {
  if (value == FTransparentColor) return;
  FTransparentColor = value;
  for (const auto& surface : FSurfaceList) {
    try {
      surface->SetTransparentColor(surface->ColorToPixel(value));
    } catch (const Exception&) {
      // One surface that cannot be keyed must not stop the others.
    }
  }
}

void TPictureCollectionItem::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TPictureCollectionItem*>(source);
  if (!other) {
    THashCollectionItem::Assign(source);
    return;
  }
  if (other == this) return;
  const bool wasInitialized = FInitialized;
  Finalize();
  FPatternHeight = other->FPatternHeight;
  FPatternWidth = other->FPatternWidth;
  FSkipHeight = other->FSkipHeight;
  FSkipWidth = other->FSkipWidth;
  FSystemMemory = other->FSystemMemory;
  FTransparent = other->FTransparent;
  FTransparentColor = other->FTransparentColor;
  FPicture->Assign(other->FPicture.get());
  if (wasInitialized) Restore();
}

// --- TPictureCollection ------------------------------------------------------------------

TPictureCollection::TPictureCollection(TPersistent* owner)
    : THashCollection(TCollectionItemClass::Of<TPictureCollectionItem>()), FOwner(owner) {}

TPictureCollection::~TPictureCollection() { Finalize(); }

TPictureCollectionItem* TPictureCollection::Items(int index) const {
  return static_cast<TPictureCollectionItem*>(THashCollection::Items(index));
}

bool TPictureCollection::Initialized() const { return FDXDraw && FDXDraw->Initialized(); }

void TPictureCollection::Initialize(TCustomDXDraw* dxDraw) {
  Finalize();
  FDXDraw = dxDraw;
  if (!Initialized()) throw EPictureCollectionError(DXText::kCannotInitialize, ClassName());
  for (int i = 0; i < Count(); ++i) Items(i)->Initialize();
}

void TPictureCollection::Finalize() {
  try {
    for (int i = 0; i < Count(); ++i) Items(i)->Finalize();
  } catch (...) {
    FDXDraw = nullptr;
    throw;
  }
  FDXDraw = nullptr;
}

void TPictureCollection::Restore() {
  for (int i = 0; i < Count(); ++i) Items(i)->Restore();
}

namespace {

// Fills a colour table slot by slot: fixed colours in their slots, then each offered
// colour not yet present in the lowest free slot.
class TColorTableBuilder {
 public:
  explicit TColorTableBuilder(TColorTable& table) : FTable(table) {
    std::fill(std::begin(FTable), std::end(FTable), RGBQUAD{});
  }
  void Fix(int slot, BYTE red, BYTE green, BYTE blue) {
    FTable[slot] = MakeQuad(red, green, blue);
    FUsed[static_cast<size_t>(slot)] = true;
    ++FCount;
  }
  void Offer(const RGBQUAD& colour) {
    int freeSlot = -1;
    for (int slot = 0; slot < 256; ++slot) {
      if (FUsed[static_cast<size_t>(slot)] && FTable[slot] == colour) return;
      if (!FUsed[static_cast<size_t>(slot)] && freeSlot < 0) freeSlot = slot;
    }
    if (freeSlot < 0) return;
    FTable[freeSlot] = colour;
    FUsed[static_cast<size_t>(freeSlot)] = true;
    ++FCount;
  }
  // A DIB of 8 bits or less offers its whole table; another graphic its palette.
  void OfferGraphic(TGraphic& graphic) {
    if (auto* dib = dynamic_cast<TDIB*>(&graphic)) {
      if (dib->BitCount() <= 8)
        for (const RGBQUAD& colour : dib->ColorTable) Offer(colour);
      return;
    }
    HPALETTE palette = graphic.Palette();
    if (!palette) return;
    PALETTEENTRY entries[256];
    const UINT count = std::min<UINT>(GetPaletteEntries(palette, 0, 256, entries), 256);
    for (UINT i = 0; i < count; ++i) Offer(PaletteEntryToQuad(entries[i]));
  }
  bool Full() const { return FCount == 256; }

 private:
  TColorTable& FTable;
  std::array<bool, 256> FUsed{};
  int FCount = 0;
};

struct TFixedColor {
  int Slot;
  BYTE Red, Green, Blue;
};

constexpr TFixedColor kFixedColors[TPictureCollection::kFixedColorCount] = {
    {0, 0, 0, 0},         {1, 128, 0, 0},     {2, 0, 128, 0},     {3, 128, 128, 0},
    {4, 0, 0, 128},       {5, 128, 0, 128},   {6, 0, 128, 128},   {7, 192, 192, 192},
    {248, 128, 128, 128}, {249, 255, 0, 0},   {250, 0, 255, 0},   {251, 255, 255, 0},
    {252, 0, 0, 255},     {253, 255, 0, 255}, {254, 0, 255, 255}, {255, 255, 255, 255}};

}  // namespace

void TPictureCollection::BuildColorTable() {
  TColorTableBuilder builder(FColorTable);
  for (const TFixedColor& c : kFixedColors) builder.Fix(c.Slot, c.Red, c.Green, c.Blue);
  for (int i = 0; i < Count(); ++i) {
    if (TGraphic* graphic = Items(i)->Picture().Graphic()) builder.OfferGraphic(*graphic);
    if (builder.Full()) break;
  }
}

void TPictureCollection::DefineProperties(TFiler& filer) {
  THashCollection::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "ColorTable",
      [this](TStream& s) {
        TColorTable read;
        s.ReadBuffer(read, sizeof(read));
        std::copy(std::begin(read), std::end(read), FColorTable);
      },
      [this](TStream& s) { s.WriteBuffer(FColorTable, sizeof(FColorTable)); }, true);
}
