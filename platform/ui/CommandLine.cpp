#include "platform/ui/CommandLine.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/ui/Toolkit.h"

namespace {

constexpr std::array<std::string_view, 3> kScaleModes{"integer", "smooth", "nearest"};

struct TToolkitOption {
  std::string_view Name;
  bool TakesValue;
};

// The toolkit's documented options. Each may be written with one dash or two,
// and one that takes a value also as "-name=value".
constexpr std::array<TToolkitOption, 17> kToolkitOptions{{
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"plugin", true},
    {"qwindowgeometry", true},
    {"qwindowicon", true},
    {"qwindowtitle", true},
    {"session", true},
    {"display", true},
    {"geometry", true},
    {"style", true},
    {"stylesheet", true},
    {"reverse", false},
    {"widgetcount", false},
    {"nograb", false},
    {"dograb", false},
    {"sync", false},
}};

// An option word split up: "--name=value" gives name and value.
struct TOptionWord {
  std::string_view Name;
  std::optional<std::string_view> Attached;
  bool TwoDashes = false;
};

TOptionWord SplitOption(std::string_view argument) {
  TOptionWord word;
  word.TwoDashes = argument.starts_with("--");
  argument.remove_prefix(word.TwoDashes ? 2 : 1);
  const size_t equals = argument.find('=');
  word.Name = argument.substr(0, equals);
  if (equals != std::string_view::npos) word.Attached = argument.substr(equals + 1);
  return word;
}

const TToolkitOption* FindToolkitOption(std::string_view name) {
  for (const TToolkitOption& option : kToolkitOptions)
    if (option.Name == name) return &option;
  return nullptr;
}

void Fail(TCommandLine& line, const std::string& message, bool hint) {
  line.Request = TCommandRequest::Error;
  line.Error = "loupix: " + message;
  line.ShowUsageHint = hint;
}

// Reads the option at arguments[i]; returns the index of the last argument it used.
class TOptionReader {
 public:
  TOptionReader(const std::vector<std::string>& arguments, TCommandLine& line)
      : FArguments(arguments), FLine(line) {}

  size_t Read(size_t i) {
    const std::string& argument = FArguments[i];
    if (argument == "-h" || argument == "--help") {
      FLine.Request = TCommandRequest::Help;
      return i;
    }
    if (argument == "--version") {
      FLine.Request = TCommandRequest::Version;
      return i;
    }
    const TOptionWord word = SplitOption(argument);
    if (word.TwoDashes && word.Name == "scale") return ReadScale(word, i);
    if (const TToolkitOption* option = FindToolkitOption(word.Name))
      return ReadToolkitOption(*option, word, i);
    Fail(FLine, "unknown option '" + argument + "'", true);
    return i;
  }

 private:
  // The value attached with "=", else the next argument.
  std::optional<std::string> Value(const TOptionWord& word, size_t& i) const {
    if (word.Attached) return std::string(*word.Attached);
    if (i + 1 < FArguments.size()) return FArguments[++i];
    return std::nullopt;
  }

  size_t ReadScale(const TOptionWord& word, size_t i) {
    const std::optional<std::string> mode = Value(word, i);
    if (!mode)
      Fail(FLine, "option '--scale' needs a value (integer, smooth or nearest)", true);
    else if (std::find(kScaleModes.begin(), kScaleModes.end(), *mode) == kScaleModes.end())
      Fail(FLine, "unknown scale '" + *mode + "' (integer, smooth or nearest)", true);
    else
      FLine.Scale = *mode;
    return i;
  }

  // The toolkit gets its option in the one form it always understands: "-name [value]".
  size_t ReadToolkitOption(const TToolkitOption& option, const TOptionWord& word, size_t i) {
    const std::string dashed = "-" + std::string(option.Name);
    if (!option.TakesValue) {
      if (word.Attached)
        Fail(FLine, "option '" + dashed + "' takes no value", true);
      else
        FLine.ToolkitArguments.push_back(dashed);
      return i;
    }
    const std::optional<std::string> value = Value(word, i);
    if (!value) {
      Fail(FLine, "option '" + dashed + "' needs a value", true);
      return i;
    }
    FLine.ToolkitArguments.push_back(dashed);
    FLine.ToolkitArguments.push_back(*value);
    return i;
  }

  const std::vector<std::string>& FArguments;
  TCommandLine& FLine;
};

// The form a chooser returns: absolute, without "." parts or a trailing "/".
std::string ChooserForm(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error) return path;
  std::string text = absolute.lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

void TakePath(const std::string& path, TCommandLine& line) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    Fail(line, "cannot open '" + path + "': " + std::strerror(errno), false);
  } else if (S_ISREG(info.st_mode) || S_ISDIR(info.st_mode)) {
    line.Path = ChooserForm(path);
    line.PathKind = S_ISDIR(info.st_mode) ? TPathKind::Folder : TPathKind::File;
  } else {
    Fail(line, "cannot open '" + path + "': neither a file nor a folder", false);
  }
}

}  // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  TCommandLine line;
  line.ToolkitArguments.push_back(arguments.empty() ? std::string("loupix") : arguments[0]);
  TOptionReader reader(arguments, line);
  std::vector<std::string> paths;
  bool optionsEnded = false;
  for (size_t i = 1; i < arguments.size() && line.Request == TCommandRequest::Run; ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.size() < 2 || argument[0] != '-')
      paths.push_back(argument);
    else if (argument == "--")
      optionsEnded = true;
    else
      i = reader.Read(i);
  }
  if (line.Request != TCommandRequest::Run) return line;
  if (paths.size() > 1)
    Fail(line, "only one FILE or FOLDER may be given", true);
  else if (paths.size() == 1)
    TakePath(paths[0], line);
  return line;
}

void ApplyCommandLine(const TCommandLine& line) {
  if (!line.Scale.empty()) setenv("LOUPIX_SCALE", line.Scale.c_str(), 1);
  SetToolkitArguments(line.ToolkitArguments);
}
