// The command line: `loupix [OPTION]... [FILE | FOLDER]`. The program's own
// options and path are read here; the toolkit's own options (-platform,
// -display, -style ...) are kept aside for the toolkit, which starts later.
#pragma once

#include <string>
#include <vector>

enum class TCommandRequest { Run, Help, Version, Error };
enum class TPathKind { None, File, Folder };

struct TCommandLine {
  TCommandRequest Request = TCommandRequest::Run;
  // For Run: the path given, absolute and without a trailing "/", and what it is.
  std::string Path;
  TPathKind PathKind = TPathKind::None;
  // The value of --scale, empty when not given.
  std::string Scale;
  // The program name followed by the toolkit's options, in the order given.
  std::vector<std::string> ToolkitArguments;
  // For Error: one line naming what is wrong, and whether the usage hint follows.
  std::string Error;
  bool ShowUsageHint = false;
};

// Reads arguments[1...]; arguments[0] is the program name. A path that does not
// exist, or is neither a regular file nor a folder, is an Error.
TCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// Prepares the process for a Run: --scale sets LOUPIX_SCALE, and the toolkit
// will start with ToolkitArguments. Call before the application object is made.
void ApplyCommandLine(const TCommandLine& line);
