// Graphics: pictures that can draw themselves on a canvas, load and save
// themselves, copy themselves into one another and report changes and progress.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/framework/Persistent.h"
#include "platform/gdi/WinTypes.h"

class TCanvas;
class TStream;

enum TProgressStage { psStarting, psRunning, psEnding };
using TProgressEvent =
    std::function<void(TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow,
                       const TRect& rect, const std::string& message)>;

// Pictures larger than this many bytes of pixels are refused before anything is
// allocated: 1 GiB holds 256 megapixels at 24 bits.
inline constexpr uint64_t kMaxGraphicPixelBytes = uint64_t{1} << 30;
// Bytes of pixel storage for width x height at bitCount (rows padded to 32 bits),
// or UINT64_MAX when a dimension is not positive or the size is beyond the bound.
uint64_t GraphicPixelBytes(int64_t width, int64_t height, int64_t bitCount);

class TGraphic : public TPersistent {
 public:
  LOUPIX_CLASS(TGraphic, TPersistent)

  // Assign is AssignFrom for graphics; override AssignFrom. The default lets the
  // source copy itself (AssignTo) or raises "Cannot assign a %s to a %s".
  void Assign(TPersistent* source) final { AssignFrom(source); }
  virtual void AssignFrom(TPersistent* source);
  // A new empty graphic of this object's class (the virtual constructor).
  virtual std::unique_ptr<TGraphic> CreateNew() const = 0;
  // Same class and the same stored data (both empty counts as equal).
  virtual bool Equals(TGraphic* other);

  virtual bool Empty() const = 0;
  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
  virtual void SetWidth(int32_t value) = 0;
  virtual void SetHeight(int32_t value) = 0;
  // The palette handle stays the graphic's; none by default.
  virtual HPALETTE Palette() { return nullptr; }
  // Graphics that keep palettes take ownership of the handle.
  virtual void SetPalette(HPALETTE) {}
  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool value);

  // Opens the file for reading, denying writers, and always closes it.
  virtual void ReadFromFile(const std::string& fileName);
  virtual void SaveToFile(const std::string& fileName);
  // Reads from the stream's position to its end.
  virtual void ReadFromStream(TStream& stream) = 0;
  virtual void WriteToStream(TStream& stream) = 0;
  // Clipboard exchange; the default refuses with "Unsupported clipboard format".
  virtual void LoadClipboardData(UINT format, HANDLE data, HPALETTE palette);
  virtual void SaveClipboardData(UINT& format, HANDLE& data, HPALETTE& palette);

  bool Modified() const { return FModified; }
  // Setting true signals a change.
  void SetModified(bool value);
  bool PaletteModified() const { return FPaletteModified; }
  void SetPaletteModified(bool value) { FPaletteModified = value; }

  TNotifyEvent OnChange;
  TProgressEvent OnProgress;

 protected:
  // Marks the graphic modified and runs OnChange.
  virtual void Changed(TObject* sender);
  // Paints the whole graphic scaled into rect.
  virtual void Draw(TCanvas& canvas, const TRect& rect) = 0;
  virtual void Progress(TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow,
                        const TRect& rect, const std::string& message);
  // The stored property "Data" (written when not empty) goes through these.
  void DefineProperties(TFiler& filer) override;
  virtual void ReadData(TStream& stream);
  virtual void WriteData(TStream& stream);
  // A graphic that is not a bitmap copies itself into a TBitmap by drawing.
  void AssignTo(TPersistent* dest) override;

 protected:
  bool FTransparent = false;

 private:
  friend class TCanvas;
  friend class TPicture;
  bool FModified = false;
  bool FPaletteModified = false;
};

// A class reference for graphics: the class and how to make an empty one.
struct TGraphicClass {
  const TClass* Class = nullptr;
  std::unique_ptr<TGraphic> (*Create)() = nullptr;

  template <typename T>
  static TGraphicClass Of() {
    return {&T::StaticClass(), []() -> std::unique_ptr<TGraphic> { return std::make_unique<T>(); }};
  }
};
