#include "platform/ui/FileSearch.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <vector>

struct TSearchState {
  std::vector<std::pair<std::string, int32_t>> entries;
  size_t next = 0;
};

TSearchRec::TSearchRec() = default;
TSearchRec::TSearchRec(TSearchRec&&) noexcept = default;
TSearchRec& TSearchRec::operator=(TSearchRec&&) noexcept = default;
TSearchRec::~TSearchRec() = default;

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Compares the digit runs starting at a[i] and b[j] by value; advances i and j.
int CompareNumbers(std::string_view a, size_t& i, std::string_view b, size_t& j) {
  while (i < a.size() && a[i] == '0') ++i;
  while (j < b.size() && b[j] == '0') ++j;
  size_t startA = i, startB = j;
  while (i < a.size() && IsDigit(a[i])) ++i;
  while (j < b.size() && IsDigit(b[j])) ++j;
  size_t lengthA = i - startA, lengthB = j - startB;
  if (lengthA != lengthB) return lengthA < lengthB ? -1 : 1;
  return a.substr(startA, lengthA).compare(b.substr(startB, lengthB));
}

int32_t AttributesOf(const std::string& folder, const dirent& entry) {
  bool directory = entry.d_type == DT_DIR;
  if (entry.d_type == DT_LNK || entry.d_type == DT_UNKNOWN) {
    // A link counts as what it leads to; a broken one as a plain file.
    struct stat info {};
    std::string full = folder + "/" + entry.d_name;
    directory = stat(full.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }
  int32_t attr = directory ? faDirectory : faArchive;
  std::string_view name = entry.d_name;
  if (name.size() > 1 && name[0] == '.' && name != "..") attr |= faHidden;
  return attr;
}

bool MaskMatches(const std::string& mask, const char* name) {
  if (mask == "*.*" || mask == "*") return true;
  return fnmatch(mask.c_str(), name, FNM_CASEFOLD) == 0;
}

void FillRecord(TSearchRec& rec) {
  auto& [name, attr] = rec.FindHandle->entries[rec.FindHandle->next++];
  rec.Name = name;
  rec.Attr = attr;
}

}  // namespace

int NaturalCompare(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      if (int byValue = CompareNumbers(a, i, b, j)) return byValue;
      continue;
    }
    char ca = LowerAscii(a[i]), cb = LowerAscii(b[j]);
    if (ca != cb) return static_cast<unsigned char>(ca) < static_cast<unsigned char>(cb) ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
  // Same under the natural rules ("a01" and "A1"): keep a stable, total order.
  return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

int FindFirst(const std::string& path, int32_t attr, TSearchRec& rec) {
  FindClose(rec);
  size_t slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
  if (folder.empty()) folder = "/";
  std::string mask = slash == std::string::npos ? path : path.substr(slash + 1);
  DIR* dir = opendir(folder.c_str());
  if (!dir) return errno ? errno : ENOENT;
  auto state = std::make_unique<TSearchState>();
  constexpr int32_t kUnlistedKinds = faHidden | faSysFile | faVolumeID | faDirectory;
  while (const dirent* entry = readdir(dir)) {
    if (!MaskMatches(mask, entry->d_name)) continue;
    int32_t entryAttr = AttributesOf(folder, *entry);
    if ((entryAttr & ~attr & kUnlistedKinds) != 0) continue;
    state->entries.emplace_back(entry->d_name, entryAttr);
  }
  closedir(dir);
  std::sort(state->entries.begin(), state->entries.end(),
            [](const auto& x, const auto& y) { return NaturalCompare(x.first, y.first) < 0; });
  if (state->entries.empty()) return ENOENT;
  rec.FindHandle = std::move(state);
  FillRecord(rec);
  return 0;
}

int FindNext(TSearchRec& rec) {
  if (!rec.FindHandle || rec.FindHandle->next >= rec.FindHandle->entries.size()) return ENOENT;
  FillRecord(rec);
  return 0;
}

void FindClose(TSearchRec& rec) { rec.FindHandle.reset(); }
