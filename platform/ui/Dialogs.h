// The file chooser with a picture preview and the folder chooser. Both are
// modal and each sits behind a replaceable function so tests can answer them.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/framework/Component.h"

// One choice of a filter text "description|patterns|description|patterns...":
// the description shown and the patterns (separated by ";") that select files.
struct TFilterChoice {
  std::string Description;
  std::vector<std::string> Patterns;
};
// Splits a filter text; a trailing description without patterns is dropped.
std::vector<TFilterChoice> ParseFilter(const std::string& filter);

class TOpenPictureDialog : public TComponent {
 public:
  LOUPIX_CLASS(TOpenPictureDialog, TComponent)
  explicit TOpenPictureDialog(TComponent* owner) : TComponent(owner) {}

  const std::string& Filter() const { return FFilter; }
  void SetFilter(const std::string& value) { FFilter = value; }
  // 1-based number of the choice selected when the dialog opens.
  int32_t FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(int32_t value) { FFilterIndex = value; }
  // The last chosen file; kept when the dialog is cancelled.
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& value) { FFileName = value; }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& value) { FTitle = value; }

  // Shows the chooser; true when a file was chosen (FileName holds it).
  bool Execute();

 private:
  std::string FFilter;
  int32_t FFilterIndex = 1;
  std::string FFileName;
  std::string FTitle;
};

// Answers Execute instead of the real chooser (nullptr restores it): returns
// whether a file was chosen and sets the dialog's FileName if so.
void SetOpenDialogHandler(std::function<bool(TOpenPictureDialog& dialog)> handler);

// The modal folder chooser: true when a folder was chosen; `directory` then holds
// its full path without a trailing "/".
bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory);
// Answers SelectDirectory instead of the real chooser (nullptr restores it).
void SetSelectDirectoryHandler(std::function<bool(std::string& directory)> handler);
