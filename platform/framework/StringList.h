// An ordered list of strings; index errors raise EStringListError.
#pragma once

#include <string>
#include <vector>

#include "platform/framework/Object.h"

class TStringList : public TObject {
 public:
  LOUPIX_CLASS(TStringList, TObject)

  int Count() const { return static_cast<int>(FStrings.size()); }
  const std::string& Strings(int index) const;
  void SetStrings(int index, const std::string& value);
  int Add(const std::string& value);
  void Insert(int index, const std::string& value);
  void Delete(int index);
  void Clear() { FStrings.clear(); }
  // ASCII case is ignored unless CaseSensitive; -1 when absent.
  int IndexOf(const std::string& value) const;
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool value) { FCaseSensitive = value; }
  // Every string followed by a line break; setting splits at "\r\n", "\n" or "\r".
  std::string Text() const;
  void SetText(const std::string& text);
  void Assign(const TStringList& source) { FStrings = source.FStrings; }

 private:
  void CheckIndex(int index, int limit) const;
  std::vector<std::string> FStrings;
  bool FCaseSensitive = false;
};
