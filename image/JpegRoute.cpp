#include "image/JpegRoute.h"

#include <cctype>
#include <memory>

#include "image/JpegImage.h"

bool IsJpegFileName(const std::string& fileName) {
  const size_t slash = fileName.find_last_of('/');
  const size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  std::string extension = fileName.substr(dot);
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return extension == ".JPEG" || extension == ".JPG";
}

void LoadJpegIntoPicture(TPicture& picture, const std::string& fileName) {
  auto image = std::make_unique<TJPEGImage>();
  auto bitmap = std::make_unique<TBitmap>();
  image->ReadFromFile(fileName);
  bitmap->SetWidth(image->Width());
  bitmap->SetHeight(image->Height());
  bitmap->AssignFrom(image.get());
  picture.PictureBitmap()->AssignFrom(bitmap.get());
}
