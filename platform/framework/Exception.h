// Errors of the object framework. Every error is an Exception whose message is the
// system's text with "%s" and "%d" filled in.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <type_traits>

// Fills "%s" and "%d" (also "%u", "%x", "%%") of a message text in order.
class FormatArg {
 public:
  FormatArg(const char* text) : FText(text ? text : "") {}
  FormatArg(const std::string& text) : FText(text) {}
  FormatArg(std::string_view text) : FText(text) {}
  template <typename T, typename = std::enable_if_t<std::is_integral_v<T>>>
  FormatArg(T value) : FNumber(static_cast<int64_t>(value)), FIsNumber(true) {}

  std::string Text() const;
  int64_t Number() const { return FNumber; }

 private:
  std::string FText;
  int64_t FNumber = 0;
  bool FIsNumber = false;
};

std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args);

template <typename... Args>
std::string Format(std::string_view format, const Args&... args) {
  return FormatText(format, {FormatArg(args)...});
}

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  template <typename... Args>
  Exception(std::string_view format, const Args&... args) requires(sizeof...(Args) > 0)
      : FMessage(Format(format, args...)) {}

  const std::string& Message() const { return FMessage; }
  const char* what() const noexcept override { return FMessage.c_str(); }
  virtual const char* ClassName() const { return "Exception"; }

 private:
  std::string FMessage;
};

// Declares an error class deriving from Base with the class name reported to users.
// NOLINTBEGIN(bugprone-macro-parentheses): the arguments are class names.
#define LOUPIX_DECLARE_ERROR(Name, Base)                     \
  class Name : public Base {                                 \
   public:                                                   \
    using Base::Base;                                        \
    const char* ClassName() const override { return #Name; } \
  }
// NOLINTEND(bugprone-macro-parentheses)

LOUPIX_DECLARE_ERROR(EAbort, Exception);
LOUPIX_DECLARE_ERROR(EListError, Exception);
LOUPIX_DECLARE_ERROR(EStringListError, Exception);
LOUPIX_DECLARE_ERROR(EConvertError, Exception);
LOUPIX_DECLARE_ERROR(EInvalidOperation, Exception);
LOUPIX_DECLARE_ERROR(EInvalidPointer, Exception);
LOUPIX_DECLARE_ERROR(EIntfCastError, Exception);
LOUPIX_DECLARE_ERROR(EComponentError, Exception);
LOUPIX_DECLARE_ERROR(EOutOfMemory, Exception);
LOUPIX_DECLARE_ERROR(EOutOfResources, Exception);
LOUPIX_DECLARE_ERROR(EStreamError, Exception);
LOUPIX_DECLARE_ERROR(EReadError, EStreamError);
LOUPIX_DECLARE_ERROR(EWriteError, EStreamError);
LOUPIX_DECLARE_ERROR(EFOpenError, EStreamError);
LOUPIX_DECLARE_ERROR(EFCreateError, EStreamError);
LOUPIX_DECLARE_ERROR(EInvalidGraphic, Exception);
LOUPIX_DECLARE_ERROR(EInvalidGraphicOperation, Exception);

// The framework's message texts.
namespace FrameworkText {
inline constexpr const char* kListIndexError = "List index out of bounds (%d)";
inline constexpr const char* kAssignError = "Cannot assign a %s to a %s";
inline constexpr const char* kFOpenError = "Cannot open file %s";
inline constexpr const char* kFCreateError = "Cannot create file %s";
inline constexpr const char* kReadError = "Stream read error";
inline constexpr const char* kWriteError = "Stream write error";
inline constexpr const char* kSeekError = "Stream seek error";
inline constexpr const char* kOutOfMemory = "Out of memory";
inline constexpr const char* kIntfNotSupported = "Interface not supported";
inline constexpr const char* kNoCanvasHandle = "Canvas does not allow drawing";
inline constexpr const char* kInvalidGraphic = "Bitmap image is not valid";
inline constexpr const char* kUnknownExtension = "Unknown picture file extension (.%s)";
inline constexpr const char* kInvalidIcon = "Icon image is not valid";
inline constexpr const char* kInvalidMetafile = "Metafile is not valid";
inline constexpr const char* kScanLine = "Scan line index out of range";
inline constexpr const char* kChangeIconSize = "Cannot change the size of an icon";
inline constexpr const char* kUnknownClipboardFormat = "Unsupported clipboard format";
inline constexpr const char* kOutOfResources =
    "Not enough storage is available to process this command";
}  // namespace FrameworkText
