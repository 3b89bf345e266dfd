#include "platform/framework/Graphic.h"

#include <cstring>

#include "platform/framework/Bitmap.h"
#include "platform/framework/Exception.h"
#include "platform/framework/Filer.h"
#include "platform/framework/Stream.h"

uint64_t GraphicPixelBytes(int64_t width, int64_t height, int64_t bitCount) {
  if (width <= 0 || height <= 0 || bitCount <= 0 || width > INT32_MAX || height > INT32_MAX ||
      bitCount > 64)
    return UINT64_MAX;
  const uint64_t row =
      (static_cast<uint64_t>(width) * static_cast<uint64_t>(bitCount) + 31) / 32 * 4;
  if (row > kMaxGraphicPixelBytes / static_cast<uint64_t>(height)) return UINT64_MAX;
  return row * static_cast<uint64_t>(height);
}

void TGraphic::AssignFrom(TPersistent* source) { TPersistent::Assign(source); }

void TGraphic::AssignTo(TPersistent* dest) {
  auto* bitmap = dynamic_cast<TBitmap*>(dest);
  if (!bitmap) {
    TPersistent::AssignTo(dest);
    return;
  }
  bitmap->AssignFrom(nullptr);
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(Width(), Height());
  if (bitmap->Empty()) return;
  TCanvas& canvas = bitmap->Canvas();
  canvas.Brush().SetColor(clWhite);
  canvas.FillRect(Rect(0, 0, Width(), Height()));
  canvas.Draw(0, 0, this);
}

bool TGraphic::Equals(TGraphic* other) {
  if (!other) return false;
  if (other == this) return true;
  if (&ClassType() != &other->ClassType() || Empty() != other->Empty()) return false;
  if (Empty()) return true;
  TMemoryStream mine, theirs;
  WriteData(mine);
  other->WriteData(theirs);
  return mine.Size() == theirs.Size() &&
         std::memcmp(mine.Memory(), theirs.Memory(), static_cast<size_t>(mine.Size())) == 0;
}

void TGraphic::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  Changed(this);
}

void TGraphic::ReadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  ReadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& fileName) {
  TFileStream stream(fileName, fmCreate);
  WriteToStream(stream);
}

void TGraphic::LoadClipboardData(UINT, HANDLE, HPALETTE) {
  throw EInvalidGraphic(FrameworkText::kUnknownClipboardFormat);
}

void TGraphic::SaveClipboardData(UINT&, HANDLE&, HPALETTE&) {
  throw EInvalidGraphic(FrameworkText::kUnknownClipboardFormat);
}

void TGraphic::SetModified(bool value) {
  if (value)
    Changed(this);
  else
    FModified = false;
}

void TGraphic::Changed(TObject*) {
  FModified = true;
  if (OnChange) OnChange(this);
}

void TGraphic::Progress(TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow,
                        const TRect& rect, const std::string& message) {
  if (OnProgress) OnProgress(sender, stage, percentDone, redrawNow, rect, message);
}

void TGraphic::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, !Empty());
}

void TGraphic::ReadData(TStream& stream) { ReadFromStream(stream); }

void TGraphic::WriteData(TStream& stream) { WriteToStream(stream); }
