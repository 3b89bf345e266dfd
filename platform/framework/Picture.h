// The picture container: holds one graphic of any class, loads files by their
// extension through the file format registry, and reports changes and progress
// of its graphic as its own.
#pragma once

#include <memory>
#include <string>

#include "platform/framework/Graphic.h"

class TBitmap;

class TPicture : public TPersistent {
 public:
  LOUPIX_CLASS(TPicture, TPersistent)
  TPicture() = default;
  ~TPicture() override;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  TGraphic* Graphic() const { return FGraphic.get(); }
  // Installs a copy of graphic (a new graphic of its class assigned from it), or
  // no graphic for nullptr.
  void SetGraphic(TGraphic* graphic);
  // The graphic as a TBitmap; anything else is replaced by a new empty TBitmap first.
  TBitmap* PictureBitmap();
  TBitmap* Bitmap() { return PictureBitmap(); }
  int32_t Width() const;
  int32_t Height() const;

  // Replaces the graphic with one read from the file, of the class registered
  // for its extension. Unknown extensions raise EInvalidGraphic "Unknown picture
  // file extension (.%s)" with the extension as written. On any error the picture
  // keeps what it had.
  void LoadPictureFile(const std::string& fileName);
  void LoadFromFile(const std::string& fileName) { LoadPictureFile(fileName); }
  void SaveToFile(const std::string& fileName);
  // Replaces the graphic with one of the class registered for the format.
  void LoadClipboardData(UINT format, HANDLE data, HPALETTE palette);
  static bool SupportsClipboardFormat(UINT format);

  // Registration of graphic classes; the units that bring graphics call these.
  static void RegisterFileFormat(const std::string& extension, const std::string& description,
                                 TGraphicClass graphicClass);
  static void RegisterClipboardFormat(UINT format, TGraphicClass graphicClass);
  // Drops the class and the classes derived from it from both registries.
  static void UnregisterGraphicClass(const TClass& graphicClass);

  // Another picture's graphic, a graphic, or nothing (nullptr) is copied in.
  void Assign(TPersistent* source) override;

  TNotifyEvent OnChange;
  TProgressEvent OnProgress;

 protected:
  // A graphic destination receives this picture's graphic.
  void AssignTo(TPersistent* dest) override;
  // Stored property "Data": the graphic's class name (a length byte and the
  // characters), then the graphic's own stored data.
  void DefineProperties(TFiler& filer) override;
  virtual void Changed(TObject* sender);

 private:
  void Install(std::unique_ptr<TGraphic> graphic);
  void ReadData(TStream& stream);
  void WriteData(TStream& stream);
  std::unique_ptr<TGraphic> FGraphic;
};
