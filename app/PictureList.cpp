#include "app/PictureList.h"

#include <sys/stat.h>

#include <set>
#include <utility>

#include "platform/ui/FileSearch.h"

namespace {

using TDirectoryId = std::pair<dev_t, ino_t>;

std::string Join(const std::string& folder, const std::string& name) {
  return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string UpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

void ScanOnce(const std::string& folder, TStringList& list, const std::function<bool()>& terminated,
              std::set<TDirectoryId>& scanned) {
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0 || !scanned.insert({info.st_dev, info.st_ino}).second)
    return;
  TSearchRec entry;
  if (FindFirst(Join(folder, "*.*"), faAnyFile, entry) != 0) return;
  do {
    if (entry.Name == "." || entry.Name == "..") continue;
    if (entry.Attr & faDirectory)
      ScanOnce(Join(folder, entry.Name), list, terminated, scanned);
    else if (IsPictureName(entry.Name))
      list.Add(Join(folder, entry.Name));
  } while (!terminated() && FindNext(entry) == 0);
  FindClose(entry);
}

}  // namespace

bool IsPictureName(const std::string& name) {
  size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = UpperAscii(name.substr(dot));
  return extension == ".JPEG" || extension == ".JPG" || extension == ".BMP";
}

void ScanFolder(const std::string& folder, TStringList& list,
                const std::function<bool()>& terminated) {
  std::set<TDirectoryId> scanned;
  ScanOnce(folder, list, terminated, scanned);
}

int32_t AdvanceIndex(int32_t pageIndex, int32_t count) {
  int32_t next = pageIndex + 1;
  return next > count - 1 ? count - 1 : next;
}
