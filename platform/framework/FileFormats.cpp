#include "platform/framework/FileFormats.h"

#include <algorithm>
#include <cctype>

#include "platform/framework/Bitmap.h"
#include "platform/framework/Icon.h"
#include "platform/framework/Metafile.h"

namespace {
std::string LowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}
}  // namespace

TFileFormatsList& TFileFormatsList::Instance() {
  static TFileFormatsList list;
  return list;
}

TFileFormatsList::TFileFormatsList() {
  RegisterFileFormat("wmf", "Metafiles", TGraphicClass::Of<TMetafile>());
  RegisterFileFormat("emf", "Enhanced Metafiles", TGraphicClass::Of<TMetafile>());
  RegisterFileFormat("ico", "Icons", TGraphicClass::Of<TIcon>());
  RegisterFileFormat("bmp", "Bitmaps", TGraphicClass::Of<TBitmap>());
}

void TFileFormatsList::RegisterFileFormat(const std::string& extension,
                                          const std::string& description,
                                          TGraphicClass graphicClass) {
  FFormats.push_back({LowerCase(extension), description, graphicClass, 0});
}

void TFileFormatsList::RemoveClass(const TClass& graphicClass) {
  std::erase_if(FFormats, [&](const TFileFormat& f) {
    return f.GraphicClass.Class->InheritsFrom(graphicClass);
  });
}

const TFileFormat* TFileFormatsList::FindExt(const std::string& extension) const {
  const std::string wanted = LowerCase(extension);
  for (auto it = FFormats.rbegin(); it != FFormats.rend(); ++it)
    if (it->Extension == wanted) return &*it;
  return nullptr;
}

const TFileFormat* TFileFormatsList::FindClassName(const std::string& className) const {
  for (auto it = FFormats.rbegin(); it != FFormats.rend(); ++it)
    if (className == it->GraphicClass.Class->ClassName()) return &*it;
  return nullptr;
}

TClipboardFormats& TClipboardFormats::Instance() {
  static TClipboardFormats formats;
  return formats;
}

void TClipboardFormats::RegisterClipboardFormat(UINT format, TGraphicClass graphicClass) {
  FFormats.emplace_back(format, graphicClass);
}

void TClipboardFormats::RemoveClass(const TClass& graphicClass) {
  std::erase_if(FFormats,
                [&](const auto& f) { return f.second.Class->InheritsFrom(graphicClass); });
}

const TGraphicClass* TClipboardFormats::Find(UINT format) const {
  for (auto it = FFormats.rbegin(); it != FFormats.rend(); ++it)
    if (it->first == format) return &it->second;
  return nullptr;
}
