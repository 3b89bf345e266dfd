// The display control's full-screen mode: the requested mode, the modes the
// driver offers, and switching to the requested mode or the best fallback.
#pragma once

#include <memory>

#include "platform/ddraw/DDraw.h"
#include "platform/framework/Collection.h"

class TDirectDraw;

// What the mode object needs of the display control that owns it.
class TDXDrawDisplayOwner {
 public:
  virtual TDirectDraw* Device() const = 0;
  virtual const GUID* DriverGUID() const = 0;

 protected:
  ~TDXDrawDisplayOwner() = default;
};

// One mode the driver reported.
class TDXDrawDisplayMode : public TCollectionItem {
 public:
  LOUPIX_CLASS(TDXDrawDisplayMode, TCollectionItem)
  explicit TDXDrawDisplayMode(TCollection* collection) : TCollectionItem(collection) {}
  TDXDrawDisplayMode(TCollection* collection, const DDSURFACEDESC& description)
      : TCollectionItem(collection), FModeDescription(description) {}

  const DDSURFACEDESC& ModeDescription() const { return FModeDescription; }
  int32_t Width() const { return static_cast<int32_t>(FModeDescription.dwWidth); }
  int32_t Height() const { return static_cast<int32_t>(FModeDescription.dwHeight); }
  int32_t BitCount() const {
    return static_cast<int32_t>(FModeDescription.ddpfPixelFormat.dwRGBBitCount);
  }

 private:
  DDSURFACEDESC FModeDescription{};
};

class TDXDrawDisplay : public TPersistent {
 public:
  LOUPIX_CLASS(TDXDrawDisplay, TPersistent)
  explicit TDXDrawDisplay(TDXDrawDisplayOwner& owner);
  ~TDXDrawDisplay() override;

  // Copies the six settings of another TDXDrawDisplay (not its modes).
  void Assign(TPersistent* source) override;

  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t value) { FWidth = value < 0 ? 0 : value; }
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t value) { FHeight = value < 0 ? 0 : value; }
  int32_t BitCount() const { return FBitCount; }
  // Only 8, 16, 24 or 32; raises EDirectDrawError otherwise.
  void SetBitCount(int32_t value);
  bool FixedBitCount() const { return FFixedBitCount; }
  void SetFixedBitCount(bool value) { FFixedBitCount = value; }
  bool FixedRatio() const { return FFixedRatio; }
  void SetFixedRatio(bool value) { FFixedRatio = value; }
  bool FixedSize() const { return FFixedSize; }
  void SetFixedSize(bool value) { FFixedSize = value; }

  // The offered modes, enumerated on first use, sorted by width, height, depth.
  int Count();
  TDXDrawDisplayMode& Modes(int index);
  // First mode with exactly these values, or -1.
  int IndexOf(int32_t width, int32_t height, int32_t bitCount);
  void EnumerateModes();
  // Forgets the modes, so they are enumerated afresh next time.
  void ClearModes() { FModes->Clear(); }

  // Sets exactly this mode; on success the three values are kept.
  bool ApplyMode(int32_t width, int32_t height, int32_t bitCount);
  // The requested mode, or the best fallback the Fixed* settings allow.
  bool SelectMode(int32_t width, int32_t height, int32_t bitCount);

 private:
  void EnsureModes();
  void EnumerateOn(TDirectDraw& device);
  bool SearchMode(int32_t width, int32_t height, int32_t bitCount, bool sameRatio);
  void SortModes();

  int32_t FBitCount = 8;
  TDXDrawDisplayOwner& FOwner;
  int32_t FHeight = 480;
  std::unique_ptr<TCollection> FModes;
  int32_t FWidth = 640;
  bool FFixedBitCount = true;
  bool FFixedRatio = true;
  bool FFixedSize = false;
};
