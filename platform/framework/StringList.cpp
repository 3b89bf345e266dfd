#include "platform/framework/StringList.h"

#include <strings.h>

#include "platform/framework/Exception.h"

void TStringList::CheckIndex(int index, int limit) const {
  if (index < 0 || index >= limit) throw EStringListError(FrameworkText::kListIndexError, index);
}

const std::string& TStringList::Strings(int index) const {
  CheckIndex(index, Count());
  return FStrings[static_cast<size_t>(index)];
}

void TStringList::SetStrings(int index, const std::string& value) {
  CheckIndex(index, Count());
  FStrings[static_cast<size_t>(index)] = value;
}

int TStringList::Add(const std::string& value) {
  FStrings.push_back(value);
  return Count() - 1;
}

void TStringList::Insert(int index, const std::string& value) {
  CheckIndex(index, Count() + 1);
  FStrings.insert(FStrings.begin() + index, value);
}

void TStringList::Delete(int index) {
  CheckIndex(index, Count());
  FStrings.erase(FStrings.begin() + index);
}

int TStringList::IndexOf(const std::string& value) const {
  for (int i = 0; i < Count(); ++i) {
    const std::string& s = FStrings[static_cast<size_t>(i)];
    const bool same = FCaseSensitive ? s == value
                                     : s.size() == value.size() &&
                                           strncasecmp(s.c_str(), value.c_str(), s.size()) == 0;
    if (same) return i;
  }
  return -1;
}

std::string TStringList::Text() const {
  std::string text;
  for (const std::string& s : FStrings) {
    text += s;
    text += '\n';
  }
  return text;
}

void TStringList::SetText(const std::string& text) {
  FStrings.clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    FStrings.push_back(text.substr(start, end - start));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
      ++end;
    start = end + 1;
  }
}
