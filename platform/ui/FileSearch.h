// Directory enumeration in the desktop system's style: FindFirst / FindNext /
// FindClose over a "folder/mask" pattern. Entries come in natural, case-insensitive
// name order ("IMG_2.jpg" before "IMG_10.jpg"), as a file manager lists them, since
// the order the file system keeps is arbitrary.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

inline constexpr int32_t faReadOnly = 1;
inline constexpr int32_t faHidden = 2;
inline constexpr int32_t faSysFile = 4;
inline constexpr int32_t faVolumeID = 8;
inline constexpr int32_t faDirectory = 16;
inline constexpr int32_t faArchive = 32;
inline constexpr int32_t faAnyFile = 63;

struct TSearchState;

struct TSearchRec {
  std::string Name;
  int32_t Attr = 0;
  std::unique_ptr<TSearchState> FindHandle;

  TSearchRec();
  TSearchRec(TSearchRec&&) noexcept;
  TSearchRec& operator=(TSearchRec&&) noexcept;
  ~TSearchRec();
};

// Starts an enumeration of `path` ("folder/mask", mask with * and ?; "*.*" matches
// every name). Entries whose hidden, system or directory bits are not in `attr`
// are left out. Returns 0 and fills `rec` with the first entry, or an errno value
// (the folder is missing or unreadable, or nothing matched).
int FindFirst(const std::string& path, int32_t attr, TSearchRec& rec);
// Moves to the next entry: 0, or non-zero when there is none.
int FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);

// Natural order: ASCII letters compared without case, runs of digits by value.
// Negative, zero or positive like strcmp; equal only for identical names.
int NaturalCompare(std::string_view a, std::string_view b);
