#include "image/JpegGuard.h"

TJpegGuard::TJpegGuard() {
  jpeg_std_error(&FManager);
  FManager.error_exit = &ErrorExit;
  FManager.emit_message = &EmitMessage;
  FManager.output_message = &OutputMessage;
  FManager.format_message = &FormatMessage;
  FManager.reset_error_mgr = &ResetErrorManager;
}

void TJpegGuard::Attach(j_common_ptr info) {
  info->err = &FManager;
  info->client_data = this;
}

TJpegGuard& TJpegGuard::Of(j_common_ptr info) {
  return *static_cast<TJpegGuard*>(info->client_data);
}

bool TJpegGuard::RunStep(void (*step)(void*), void* arg) {
  FPending = nullptr;
  FManager.msg_code = 0;
  if (setjmp(FJump) != 0) return false;
  step(arg);
  return true;
}

bool TJpegGuard::CallCatching(void (*action)(void*), void* arg) {
  try {
    action(arg);
    return true;
  } catch (...) {
    FPending = std::current_exception();
    return false;
  }
}

void TJpegGuard::Leave() { std::longjmp(FJump, 1); }

void TJpegGuard::RaiseFailure() {
  if (FPending) {
    std::exception_ptr pending = std::move(FPending);
    FPending = nullptr;
    std::rethrow_exception(pending);
  }
  RaiseJpegError(FManager.msg_code);
}

void RaiseJpegError(int code) { throw EJPEG(kJpegErrorText, code); }

void TJpegGuard::ErrorExit(j_common_ptr info) { Of(info).Leave(); }

// Warnings (a premature end of data, corrupt entropy data) are not reported.
void TJpegGuard::EmitMessage(j_common_ptr, int) {}
void TJpegGuard::OutputMessage(j_common_ptr) {}
void TJpegGuard::FormatMessage(j_common_ptr, char* buffer) {
  if (buffer) buffer[0] = '\0';
}

void TJpegGuard::ResetErrorManager(j_common_ptr info) {
  info->err->num_warnings = 0;
  info->err->msg_code = 0;
}
