// The bridge between libjpeg's error handling and C++ exceptions. libjpeg reports
// fatal errors by calling error_exit, which must not return; we leave libjpeg by
// longjmp back to the one setjmp in RunStep and only then throw, so no exception
// ever passes through libjpeg's C frames.
#pragma once

#include <csetjmp>
#include <cstdio>
#include <exception>
#include <type_traits>

#include "image/JpegLib.h"
#include "platform/framework/Exception.h"

LOUPIX_DECLARE_ERROR(EJPEG, EInvalidGraphic);

inline constexpr const char* kJpegErrorText = "JPEG error #%d";

class TJpegGuard {
 public:
  TJpegGuard();
  TJpegGuard(const TJpegGuard&) = delete;
  TJpegGuard& operator=(const TJpegGuard&) = delete;

  // Installs the error manager on a decompressor or compressor (before it is created).
  void Attach(j_common_ptr info);
  static TJpegGuard& Of(j_common_ptr info);

  // Runs step, which may call libjpeg. The step and everything it calls below libjpeg
  // must keep only trivially destructible locals, since a fatal error skips them.
  // A libjpeg error comes back as EJPEG; a failure caught in a callback is rethrown.
  template <typename Step>
  void Run(Step&& step) {
    if (!RunStep(&Invoke<std::remove_reference_t<Step>>, &step)) RaiseFailure();
  }

  // For callbacks running inside libjpeg: calls action, and when it throws keeps the
  // exception for Run to rethrow and leaves libjpeg at once.
  template <typename Action>
  void CallFromLibrary(Action&& action) {
    if (!CallCatching(&Invoke<std::remove_reference_t<Action>>, &action)) Leave();
  }

  // Leaves libjpeg at once, as its own error exit would; Run then reports the error.
  [[noreturn]] void Leave();

 private:
  template <typename F>
  static void Invoke(void* f) {
    (*static_cast<F*>(f))();
  }
  bool RunStep(void (*step)(void*), void* arg);
  bool CallCatching(void (*action)(void*), void* arg);
  [[noreturn]] void RaiseFailure();

  static void ErrorExit(j_common_ptr info);
  static void EmitMessage(j_common_ptr info, int level);
  static void OutputMessage(j_common_ptr info);
  static void FormatMessage(j_common_ptr info, char* buffer);
  static void ResetErrorManager(j_common_ptr info);

  jpeg_error_mgr FManager{};
  std::jmp_buf FJump{};
  std::exception_ptr FPending;
};

// Raises the error libjpeg would raise for code, from C++ code outside libjpeg.
[[noreturn]] void RaiseJpegError(int code);
