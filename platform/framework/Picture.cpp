#include "platform/framework/Picture.h"

#include "platform/framework/Bitmap.h"
#include "platform/framework/Exception.h"
#include "platform/framework/FileFormats.h"
#include "platform/framework/Filer.h"

namespace {
constexpr const char* kClassNotFound = "Class %s not found";

// The text after the last "." of the last path component; empty when there is none.
std::string FileExtension(const std::string& fileName) {
  const size_t slash = fileName.find_last_of('/');
  const std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}
}  // namespace

TPicture::~TPicture() {
  if (FGraphic) FGraphic->OnChange = nullptr;
}

void TPicture::Install(std::unique_ptr<TGraphic> graphic) {
  if (graphic) {
    graphic->OnChange = [this](TObject* sender) { Changed(sender); };
    graphic->OnProgress = [this](TObject* sender, TProgressStage stage, uint8_t percent,
                                 bool redraw, const TRect& rect, const std::string& message) {
      if (OnProgress) OnProgress(sender, stage, percent, redraw, rect, message);
    };
  }
  FGraphic = std::move(graphic);
  Changed(this);
}

void TPicture::SetGraphic(TGraphic* graphic) {
  std::unique_ptr<TGraphic> copy;
  if (graphic) {
    copy = graphic->CreateNew();
    copy->Assign(graphic);
  }
  Install(std::move(copy));
}

TBitmap* TPicture::PictureBitmap() {
  if (!dynamic_cast<TBitmap*>(FGraphic.get())) Install(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(FGraphic.get());
}

int32_t TPicture::Width() const { return FGraphic ? FGraphic->Width() : 0; }
int32_t TPicture::Height() const { return FGraphic ? FGraphic->Height() : 0; }

void TPicture::LoadPictureFile(const std::string& fileName) {
  const std::string extension = FileExtension(fileName);
  const TFileFormat* format = TFileFormatsList::Instance().FindExt(extension);
  if (!format) throw EInvalidGraphic(FrameworkText::kUnknownExtension, extension);
  std::unique_ptr<TGraphic> graphic = format->GraphicClass.Create();
  graphic->OnProgress = [this](TObject* sender, TProgressStage stage, uint8_t percent, bool redraw,
                               const TRect& rect, const std::string& message) {
    if (OnProgress) OnProgress(sender, stage, percent, redraw, rect, message);
  };
  graphic->ReadFromFile(fileName);
  Install(std::move(graphic));
}

void TPicture::SaveToFile(const std::string& fileName) {
  if (FGraphic) FGraphic->SaveToFile(fileName);
}

void TPicture::LoadClipboardData(UINT format, HANDLE data, HPALETTE palette) {
  const TGraphicClass* graphicClass = TClipboardFormats::Instance().Find(format);
  if (!graphicClass) throw EInvalidGraphic(FrameworkText::kUnknownClipboardFormat);
  std::unique_ptr<TGraphic> graphic = graphicClass->Create();
  graphic->LoadClipboardData(format, data, palette);
  Install(std::move(graphic));
}

bool TPicture::SupportsClipboardFormat(UINT format) {
  return TClipboardFormats::Instance().Find(format) != nullptr;
}

void TPicture::RegisterFileFormat(const std::string& extension, const std::string& description,
                                  TGraphicClass graphicClass) {
  TFileFormatsList::Instance().RegisterFileFormat(extension, description, graphicClass);
}

void TPicture::RegisterClipboardFormat(UINT format, TGraphicClass graphicClass) {
  TClipboardFormats::Instance().RegisterClipboardFormat(format, graphicClass);
}

void TPicture::UnregisterGraphicClass(const TClass& graphicClass) {
  TFileFormatsList::Instance().RemoveClass(graphicClass);
  TClipboardFormats::Instance().RemoveClass(graphicClass);
}

void TPicture::Assign(TPersistent* source) {
  if (!source) {
    SetGraphic(nullptr);
  } else if (auto* picture = dynamic_cast<TPicture*>(source)) {
    if (picture != this) SetGraphic(picture->Graphic());
  } else if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
    SetGraphic(graphic);
  } else {
    TPersistent::Assign(source);
  }
}

void TPicture::AssignTo(TPersistent* dest) {
  if (auto* graphic = dynamic_cast<TGraphic*>(dest)) {
    graphic->Assign(FGraphic.get());
    return;
  }
  TPersistent::AssignTo(dest);
}

void TPicture::Changed(TObject*) {
  if (OnChange) OnChange(this);
}

void TPicture::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); },
      FGraphic != nullptr);
}

void TPicture::ReadData(TStream& stream) {
  uint8_t length = 0;
  stream.ReadBuffer(&length, 1);
  std::string className(length, '\0');
  stream.ReadBuffer(className.data(), length);
  if (className.empty()) {
    Install(nullptr);
    return;
  }
  const TFileFormat* format = TFileFormatsList::Instance().FindClassName(className);
  if (!format) throw EReadError(kClassNotFound, className);
  std::unique_ptr<TGraphic> graphic = format->GraphicClass.Create();
  graphic->ReadData(stream);
  Install(std::move(graphic));
}

void TPicture::WriteData(TStream& stream) {
  const std::string className = FGraphic ? FGraphic->ClassName() : "";
  const auto length = static_cast<uint8_t>(className.size());
  stream.WriteBuffer(&length, 1);
  stream.WriteBuffer(className.data(), length);
  if (FGraphic) FGraphic->WriteData(stream);
}
