// The picture file formats known by extension, and the graphic classes known by
// clipboard format. Both registries are process-wide and created on first use;
// the file formats start with wmf, emf, ico and bmp, in that order.
#pragma once

#include <string>
#include <vector>

#include "platform/framework/Graphic.h"

struct TFileFormat {
  std::string Extension;  // lower case, without the dot
  std::string Description;
  TGraphicClass GraphicClass;
  int DescriptionResource = 0;
};

class TFileFormatsList {
 public:
  static TFileFormatsList& Instance();

  // Appends; a later registration of an extension wins over earlier ones.
  void RegisterFileFormat(const std::string& extension, const std::string& description,
                          TGraphicClass graphicClass);
  // Drops every entry whose class is graphicClass or derives from it.
  void RemoveClass(const TClass& graphicClass);
  // Lower-cased exact match, scanning from the last entry; nullptr when unknown.
  const TFileFormat* FindExt(const std::string& extension) const;
  // The entry of a class by its name (for stored pictures); nullptr when unknown.
  const TFileFormat* FindClassName(const std::string& className) const;

  int Count() const { return static_cast<int>(FFormats.size()); }
  const TFileFormat& Formats(int index) const { return FFormats.at(static_cast<size_t>(index)); }

 private:
  TFileFormatsList();
  std::vector<TFileFormat> FFormats;
};

class TClipboardFormats {
 public:
  static TClipboardFormats& Instance();

  void RegisterClipboardFormat(UINT format, TGraphicClass graphicClass);
  void RemoveClass(const TClass& graphicClass);
  // The class of the latest registration of format; nullptr when unknown.
  const TGraphicClass* Find(UINT format) const;

 private:
  std::vector<std::pair<UINT, TGraphicClass>> FFormats;
};
