// The picture collection: items that own a picture and, while the display control is
// initialized, the surfaces it was copied into, cut into numbered patterns.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "image/SurfacePixels.h"
#include "pictures/HashCollection.h"
#include "platform/framework/Exception.h"
#include "platform/framework/Picture.h"

class TCustomDXDraw;
class TDirectDrawSurface;
class TPictureCollection;

LOUPIX_DECLARE_ERROR(EPictureCollectionError, Exception);

// One pattern: a rectangle of one of its item's surfaces.
class TPictureCollectionItemPattern : public TCollectionItem {
 public:
  LOUPIX_CLASS(TPictureCollectionItemPattern, TCollectionItem)
  using TCollectionItem::TCollectionItem;

  const TRect& Rect() const { return FRect; }
  void SetRect(const TRect& value) { FRect = value; }
  // Belongs to the item's surface list; none when building it failed.
  TDirectDrawSurface* Surface() const { return FSurface; }
  void SetSurface(TDirectDrawSurface* value) { FSurface = value; }

 private:
  TRect FRect;
  TDirectDrawSurface* FSurface = nullptr;
};

class TPictureCollectionItem : public THashCollectionItem {
 public:
  LOUPIX_CLASS(TPictureCollectionItem, THashCollectionItem)

  explicit TPictureCollectionItem(TCollection* collection);
  ~TPictureCollectionItem() override;

  // Another picture item gives its settings and picture (not its name), and the
  // surfaces are rebuilt if this item had been initialized.
  void Assign(TPersistent* source) override;

  // Copy pattern patternIndex onto dest at (x, y), or stretched into destRect.
  // Nothing happens unless initialized and the index names a pattern.
  void Draw(TDirectDrawSurface* dest, int32_t x, int32_t y, int32_t patternIndex);
  void StretchDraw(TDirectDrawSurface* dest, const TRect& destRect, int32_t patternIndex);

  // Rebuilds the surfaces and patterns from the picture. Errors while building
  // surfaces pass to the caller; what was built until then stays.
  void Restore();
  // Pixels the next Restore takes as the whole picture's surface instead of
  // converting the picture again: they must be the picture's bitmap, whose handle is
  // given, drawn into the surface format. Any Restore drops them; one that finds
  // another picture, or patterns, builds the surfaces as always.
  void SetPreparedSurface(TSurfacePixels pixels, HBITMAP picture);
  void Initialize();
  void Finalize();
  void ClearSurfaces();

  TPicture& Picture() const { return *FPicture; }
  // Copies value into this item's picture; the surfaces are not rebuilt.
  void SetPicture(TPicture* value) { FPicture->Assign(value); }
  bool Initialized() const { return FInitialized; }
  int32_t PatternWidth() const { return FPatternWidth; }
  void SetPatternWidth(int32_t value) { FPatternWidth = value; }
  int32_t PatternHeight() const { return FPatternHeight; }
  void SetPatternHeight(int32_t value) { FPatternHeight = value; }
  int32_t SkipWidth() const { return FSkipWidth; }
  void SetSkipWidth(int32_t value) { FSkipWidth = value; }
  int32_t SkipHeight() const { return FSkipHeight; }
  void SetSkipHeight(int32_t value) { FSkipHeight = value; }
  bool SystemMemory() const { return FSystemMemory; }
  void SetSystemMemory(bool value) { FSystemMemory = value; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value) { FTransparent = value; }
  TColor TransparentColor() const { return FTransparentColor; }
  // Re-keys every surface; a surface that fails is skipped.
  void SetTransparentColor(TColor value);

  int32_t PatternCount() const { return FPatterns->Count(); }
  TPictureCollectionItemPattern& Patterns(int32_t index) const;
  int32_t SurfaceCount() const { return static_cast<int32_t>(FSurfaceList.size()); }
  TDirectDrawSurface& Surfaces(int32_t index) const {
    return *FSurfaceList.at(static_cast<size_t>(index));
  }
  TPictureCollection* PictureCollection() const;

 protected:
  // Stored form: the published settings and the picture.
  void DefineProperties(TFiler& filer) override;

 private:
  TDirectDrawSurface* AddSurface(const TRect& pictureRect);
  void RestoreSurfaces();
  // The prepared pixels when they are the picture's whole surface; empty otherwise.
  TSurfacePixels TakePreparedSurface(const TRect& pictureRect);
  void DropPreparedSurface();
  TPictureCollectionItemPattern& AddPattern(const TRect& rect, TDirectDrawSurface* surface);

  std::unique_ptr<TPicture> FPicture;
  bool FInitialized = false;
  int32_t FPatternHeight = 0;
  int32_t FPatternWidth = 0;
  std::unique_ptr<TCollection> FPatterns;
  int32_t FSkipHeight = 0;
  int32_t FSkipWidth = 0;
  std::vector<std::unique_ptr<TDirectDrawSurface>> FSurfaceList;
  bool FSystemMemory = false;
  bool FTransparent = true;
  TColor FTransparentColor = 0;
  TSurfacePixels FPrepared;
  HBITMAP FPreparedFor = nullptr;
};

class TPictureCollection : public THashCollection {
 public:
  LOUPIX_CLASS(TPictureCollection, THashCollection)
  static constexpr int kFixedColorCount = 16;

  // owner is reported as the collection's owner (the image list).
  explicit TPictureCollection(TPersistent* owner);
  ~TPictureCollection() override;

  TPictureCollectionItem* Items(int index) const;
  TPictureCollectionItem* Add() {
    return static_cast<TPictureCollectionItem*>(THashCollection::Add());
  }

  // Binds to dxDraw and initializes every item; raises EPictureCollectionError
  // "%s cannot be initialized" when dxDraw is none or not initialized.
  void Initialize(TCustomDXDraw* dxDraw);
  // Finalizes every item; unbound afterwards in every case.
  void Finalize();
  void Restore();
  // 16 fixed colours in slots 0-7 and 248-255, then the pictures' palettes.
  void BuildColorTable();

  bool Initialized() const;
  TCustomDXDraw* DXDraw() const { return FDXDraw; }
  TColorTable& ColorTable() { return FColorTable; }

 protected:
  TPersistent* GetOwner() override { return FOwner; }
  // The stream property "ColorTable": the 1024 table bytes, always written.
  void DefineProperties(TFiler& filer) override;

 private:
  TCustomDXDraw* FDXDraw = nullptr;
  TPersistent* FOwner;
  TColorTable FColorTable{};
};
